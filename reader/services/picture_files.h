#pragma once

#include <QImage>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

namespace velreader {

// Why a picture file of this name cannot be named in a designation and kept
// in a book, in Japanese, or an empty text when it can: empty, a folder
// separator ("/" or "\"), a leading "." (a hidden file) or space (dropped
// when a book is read back), a "＞" (which starts the colour), a line break
// or other control character, or a character code page 932 cannot hold as
// itself.
QString pictureNameProblem(const QString& name);

// A picture the designation dialog offers.
struct PictureFile {
    QString name;     // what a designation names
    QString path;     // the file playback shows for that name
    int folder = 0;   // index of its picture folder
};

// The pictures in `folders` (searched in order, each ending in "/") that a
// designation can name: regular files of a usable name, at most
// PictureStore::MaxFileSize, whose content starts like a PNG, JPEG, BMP or
// GIF picture. A name in several folders is listed once, from the first, as
// playback finds it. Sorted by name; at most `limit` pictures.
QList<PictureFile> listPictures(const QStringList& folders, int limit = 2000);

// The picture at `path` decoded to fit `size` (keeping its shape when
// `keepShape`, else stretched to it, as the page shows it); null when it is
// no readable picture.
QImage pictureThumbnail(const QString& path, QSize size, bool keepShape = false);

// The outcome of adding a picture file to the user's picture folder.
struct PictureImport {
    enum class Outcome {
        Added,    // copied; `name` and `path` say where
        Exists,   // a picture of the name is already there: nothing written
        Refused,  // `error` says why; nothing written
    };
    Outcome outcome = Outcome::Refused;
    QString name;
    QString path;   // the new file, or the one that exists
    QString error;  // in Japanese
};

// Copies the picture file `source` under its own name into the first of
// `folders` (made when missing). Refuses a name pictureNameProblem() finds
// fault with, a file that is not a regular file, is larger than
// PictureStore::MaxFileSize or is no readable PNG, JPEG, BMP or GIF picture.
// When any of `folders` already holds the name, nothing is written unless
// `replace` is set. The copy goes through a temporary file and a rename, so
// a failure (a read-only folder, a full disk) leaves nothing half-written.
PictureImport importPicture(const QString& source, const QStringList& folders, bool replace);

}  // namespace velreader
