#pragma once

#include <QByteArray>
#include <QCache>
#include <QDateTime>
#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>

class QIODevice;

namespace velreader {

// Decodes the picture `device` holds from where it stands, in a format
// taken from its content, never from a name: only PNG, JPEG, BMP and GIF
// (the first picture of an animation). With a valid `size` it is decoded
// to fit it: stretched to it, or when `keepShape` scaled to the largest size
// of its own shape within it. Null when it is no readable picture of those
// formats.
QImage decodePicture(QIODevice* device, QSize size = {}, bool keepShape = false);
// `image` as the bytes of a PNG file.
QByteArray pngBytes(const QImage& image);

// The page pictures in the picture folders ("E/" in the application folder;
// for an installed copy the user's own "E/" first, then the installed one).
// Names come from users and from book files, so only a plain file name that
// stays inside a folder is looked up; decoded pictures are kept so that a
// picture shown again costs no decoding.
class PictureStore {
public:
    // Larger files are not read as pictures.
    static constexpr qint64 MaxFileSize = 64 * 1024 * 1024;

    // `folders` end in "/" and are searched in order: the first that holds a
    // file of the name gives the picture.
    explicit PictureStore(QStringList folders);

    const QStringList& folders() const { return m_folders; }

    // True for the formats pictures are decoded in ("png", "jpeg", "jpg",
    // "bmp", "gif"), as QImageReader names them from a file's content.
    static bool isDecodedFormat(const QByteArray& format);

    // The path `load` reads for `name`: the first folder that holds
    // something of that name. Empty when the name is not a plain file name
    // or no folder holds it.
    QString locate(const QString& name) const;

    // The picture `name` decoded at `size`, or a null image when the name is
    // not a plain file name, the file is missing, not a regular file, larger
    // than MaxFileSize, or not a readable PNG, JPEG, BMP or GIF picture.
    QImage load(const QString& name, QSize size);

    // A stamp of the file `name` finds: its path, size and time of change,
    // so that a caller can tell when it changed; empty when there is none.
    QString stamp(const QString& name) const;

    // Forgets every decoded picture.
    void clearCache() { m_cache.clear(); }

private:
    struct Entry {
        QDateTime modified;
        qint64 size = 0;
        QSize decodedSize;
        QImage image;
    };

    QStringList m_folders;
    QCache<QString, Entry> m_cache;  // by path
};

}  // namespace velreader
