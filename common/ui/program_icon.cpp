#include "common/ui/program_icon.h"

namespace common {

QIcon programIcon(const QString& appId) {
    QIcon icon;
    for (const int size : {16, 32, 48, 64})
        icon.addFile(QStringLiteral(":/icons/%1/%2.png").arg(size).arg(appId), QSize(size, size));
    return icon;
}

}  // namespace common
