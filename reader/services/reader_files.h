#pragma once

#include <QByteArray>
#include <QString>

namespace velreader {

// Reads a book or a text file of at most MaxBookFileSize. On failure the
// bytes are empty and `why` says in Japanese what is wrong.
QByteArray readReaderFile(const QString& path, QString& why);

}  // namespace velreader
