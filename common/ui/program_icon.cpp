#include "common/ui/program_icon.h"

#include <QImageReader>
#include <QPixmap>

namespace common {

QIcon programIcon(const QString& appId) {
    QIcon icon;
    for (const int size : {16, 32, 48, 64}) {
        // Read as PNG by name: a reader left to guess the format loads every
        // image format plugin (GIF, ICO, JPEG) to ask each one, milliseconds
        // of the first frame for pictures that are all PNG.
        QImageReader reader(QStringLiteral(":/icons/%1/%2.png").arg(size).arg(appId), "png");
        reader.setAutoDetectImageFormat(false);
        const QImage image = reader.read();
        if (!image.isNull()) icon.addPixmap(QPixmap::fromImage(image));
    }
    return icon;
}

}  // namespace common
