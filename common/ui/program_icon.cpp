#include "common/ui/program_icon.h"

#include <QImageReader>
#include <QPixmap>

namespace common {

QIcon programIcon(const QString& appId) {
    return iconOf(programIconImages(appId));
}

QList<QImage> programIconImages(const QString& appId) {
    QList<QImage> images;
    for (const int size : {16, 32, 48, 64}) {
        // Read as PNG by name: a reader left to guess the format loads every
        // image format plugin (GIF, ICO, JPEG) to ask each one, milliseconds
        // of the first frame for pictures that are all PNG.
        QImageReader reader(QStringLiteral(":/icons/%1/%2.png").arg(size).arg(appId), "png");
        reader.setAutoDetectImageFormat(false);
        QImage image = reader.read();
        if (!image.isNull()) images.append(std::move(image));
    }
    return images;
}

QIcon iconOf(const QList<QImage>& images) {
    QIcon icon;
    for (const QImage& image : images) icon.addPixmap(QPixmap::fromImage(image));
    return icon;
}

}  // namespace common
