#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

// Code page 932 (Windows-31J) for every text file both programs read and
// write. Conversions are strict: a character that code page 932 cannot hold,
// or a byte sequence that is not valid code page 932, is an error with its
// position; nothing is replaced by '?' and nothing is dropped.
namespace cp932 {

struct EncodeResult {
    QByteArray bytes;       // the encoded text; empty on failure
    bool ok = true;
    qsizetype position = -1;  // UTF-16 index of the first character that failed
    char32_t character = 0;   // that character (a whole code point)

    // "character U+1F600 (😀) at position 12 cannot be stored in code page 932"
    QString errorText() const;
};

struct DecodeResult {
    QString text;           // the decoded text; empty on failure
    bool ok = true;
    qsizetype offset = -1;  // byte offset of the first invalid or incomplete sequence

    QString errorText() const;
};

EncodeResult encode(QStringView text);
DecodeResult decode(QByteArrayView bytes);

}  // namespace cp932
