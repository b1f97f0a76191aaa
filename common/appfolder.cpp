#include "common/appfolder.h"

#include <QCoreApplication>

namespace common {

QString withTrailingSeparator(const QString& dir) {
    if (dir.isEmpty()) return {};
    if (dir.endsWith(u'/')) return dir;
    return dir + u'/';
}

QString applicationFolder() {
    // Qt reads the program's own path (/proc/self/exe on Linux), whatever
    // the current folder is and however the program was started.
    return withTrailingSeparator(QCoreApplication::applicationDirPath());
}

}  // namespace common
