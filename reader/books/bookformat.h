#pragma once

#include <array>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "reader/window/reader_state.h"

namespace velreader {

// The content of a ".vln" book file: code page 932 text with CR LF line ends,
//   line 1            the line count n, printed as " n "
//   lines 2 to 43     21 pairs: word i, then picture entry i
//   lines 44 to 44+n  only when n is not 0: display lines 0 to n
//   last line         the word count, printed as " c "
struct Book {
    int lineCount = 0;
    std::array<QString, BookWordSlots> words;
    std::array<QString, BookWordSlots> entries;
    QStringList lines;  // n + 1 lines when lineCount is not 0, else none
    int wordCount = 0;

    bool operator==(const Book&) const = default;
};

// Larger files are refused without being read.
inline constexpr qint64 MaxBookFileSize = 64 * 1024 * 1024;

struct BookBytes {
    QByteArray bytes;  // the file content; empty when `error` is set
    QString error;     // why the book cannot be stored, in Japanese
    bool ok() const { return error.isEmpty(); }
};

// Writes `book` in the file format. Fails, writing nothing, when a field
// holds a character that code page 932 cannot store or a line break (which
// would shift every following line of the file); the error names the field,
// the character and its position.
BookBytes serialiseBook(const Book& book);

struct ParsedBook {
    std::optional<Book> book;
    QString error;  // what is wrong with the file, in Japanese
};

// Reads a whole book file and checks it completely: the bytes must be code
// page 932 text without NUL bytes, both counts must be numbers, the line
// count not negative and not more than the lines that follow, the word count
// 0 to 50, and nothing but empty lines may follow the word count. Lines may
// end in CR LF or LF. Words and picture entries are whole lines without
// their leading spaces; display lines are whole lines.
ParsedBook parseBook(QByteArrayView bytes);

// " 12 ": a number as the platform's text output prints it, a space before
// the digits of a non-negative number and one after.
QByteArray printedNumber(int value);

}  // namespace velreader
