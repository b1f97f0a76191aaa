#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringView>

// Code page 932 (Windows-31J) for every text file both programs read and
// write. Conversions are strict: a character that code page 932 cannot hold
// as itself, or a byte sequence that is not valid code page 932, is an error
// with its position; nothing is replaced by '?' and nothing is dropped.
//
// "Hold as itself" means a round trip: a character is written only when its
// bytes decode back to the same character. Some characters have bytes that
// read back as a look-alike ("〜" U+301C is written as 81 60, which reads
// as "～" U+FF5E); those are refused like characters without any bytes.
namespace cp932 {

// A character that cannot be written as itself, and where it first stands.
struct Unencodable {
    char32_t character = 0;   // a whole code point (or a lone surrogate)
    qsizetype position = -1;  // UTF-16 index of its first occurrence
    bool operator==(const Unencodable&) const = default;
};

struct EncodeResult {
    QByteArray bytes;       // the encoded text; empty on failure
    bool ok = true;
    qsizetype position = -1;  // UTF-16 index of the first character that failed
    char32_t character = 0;   // that character (a whole code point)
    // Every distinct character that failed, in the order of first occurrence.
    QList<Unencodable> unencodable;

    // "character U+1F600 (😀) at position 12 cannot be stored in code page 932"
    QString errorText() const;
};

// The look-alike that code page 932 writes for `c` and reads back, for the
// characters whose bytes decode to another character: 〜→～, −→－, —→―,
// ‖→∥, ¢→￠, £→￡, ¬→￢, ¥→￥, ‾→￣. 0 for every other character.
char16_t lookAlike(char16_t c);

// How often one character was replaced by its look-alike.
struct Replacement {
    char16_t from = 0;
    char16_t to = 0;
    qsizetype count = 0;
    bool operator==(const Replacement&) const = default;
};

// Replaces every character of `text` that has a look-alike by it, adding
// the counts to `counts` (one entry per character, in a fixed order).
// Returns true when anything was replaced.
bool replaceLookAlikes(QString& text, QList<Replacement>& counts);

// "U+301C": a code point as people write it.
QString codePointName(char32_t c);

struct DecodeResult {
    QString text;           // the decoded text; empty on failure
    bool ok = true;
    qsizetype offset = -1;  // byte offset of the first invalid or incomplete sequence

    QString errorText() const;
};

EncodeResult encode(QStringView text);
DecodeResult decode(QByteArrayView bytes);

}  // namespace cp932
