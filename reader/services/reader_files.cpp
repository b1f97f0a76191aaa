#include "reader/services/reader_files.h"

#include "common/fileio.h"
#include "reader/rules/bookformat.h"

namespace velreader {

QByteArray readReaderFile(const QString& path, QString& why) {
    const common::ReadResult read = common::readFile(path, MaxBookFileSize);
    if (read.ok()) return read.bytes;
    why = read.error.kind == common::FileError::Kind::TooLarge ? QStringLiteral("ファイルが大きすぎます（64 MB まで）")
                                                               : read.error.japaneseReason();
    return {};
}

}  // namespace velreader
