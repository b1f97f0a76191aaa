#include "reader/services/pictures.h"

#include "reader/rules/designation_text.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace velreader {
namespace {

// Decoded pictures kept at once; a 400 x 200 picture takes 320 KB.
constexpr int CachedPictures = 32;

// A picture file decoded for the page, in the formats the page paints fast.
QImage decodeFile(const QString& path, QSize size) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QImage image = decodePicture(&file, size);
    if (image.isNull()) return {};
    return image.hasAlphaChannel() ? image.convertToFormat(QImage::Format_ARGB32_Premultiplied)
                                   : image.convertToFormat(QImage::Format_RGB32);
}

}  // namespace

QImage decodePicture(QIODevice* device, QSize size, bool keepShape) {
    const qint64 start = device->pos();
    const QByteArray format = QImageReader::imageFormat(device);
    if (!PictureStore::isDecodedFormat(format)) return {};
    device->seek(start);
    QImageReader reader(device, format);
    reader.setAutoTransform(true);
    // Decoding at the size wanted lets JPEG skip most of the work for big photos.
    if (size.isValid()) {
        const QSize natural = keepShape ? reader.size() : QSize();
        reader.setScaledSize(natural.isValid() ? natural.scaled(size, Qt::KeepAspectRatio) : size);
    }
    QImage image = reader.read();
    if (image.isNull() || !size.isValid()) return image;
    const QSize wanted = keepShape ? image.size().scaled(size, Qt::KeepAspectRatio) : size;
    if (image.size() != wanted) image = image.scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return image;
}

QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

PictureStore::PictureStore(QStringList folders) : m_folders(std::move(folders)), m_cache(CachedPictures) {}

QString PictureStore::stamp(const QString& name) const {
    const QString found = locate(name);
    if (found.isEmpty()) return {};
    const QFileInfo info(found);
    return QStringLiteral("%1|%2|%3").arg(found).arg(info.size()).arg(info.lastModified().toMSecsSinceEpoch());
}

bool PictureStore::isDecodedFormat(const QByteArray& format) {
    return format == "png" || format == "jpeg" || format == "jpg" || format == "bmp" || format == "gif";
}

QString PictureStore::locate(const QString& name) const {
    if (!isPlainFileName(name)) return {};
    for (const QString& folder : m_folders) {
        if (QFileInfo::exists(folder + name)) return folder + name;
    }
    return {};
}

QImage PictureStore::load(const QString& name, QSize size) {
    const QString found = locate(name);
    if (found.isEmpty()) return {};
    const QFileInfo info(found);
    // isFile() follows a link to its target and is false for folders, pipes
    // and devices, whose reading could block or never end.
    if (!info.isFile() || info.size() > MaxFileSize) return {};
    const QDateTime modified = info.lastModified();
    const QString path = info.filePath();
    if (const Entry* hit = m_cache.object(path)) {
        if (hit->modified == modified && hit->size == info.size() && hit->decodedSize == size) return hit->image;
    }
    QImage image = decodeFile(info.filePath(), size);
    if (image.isNull()) {
        m_cache.remove(path);
        return {};
    }
    m_cache.insert(path, new Entry{modified, info.size(), size, image});
    return image;
}

}  // namespace velreader
