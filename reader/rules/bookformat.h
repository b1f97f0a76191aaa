#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

#include "reader/state/reader_state.h"

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

// A text field of a book, named for messages the way the reader shows it:
// designations by the number "単語指定" gives them, display lines counted
// from 1.
struct BookField {
    enum class Kind { Word, Entry, Line };
    Kind kind = Kind::Line;
    int index = 0;  // designation slot, or display line from 0

    // "指定 3 の単語", "指定 3 の絵ファイル名", "表示行 12"
    QString label() const;
};

// A character that the book file cannot hold as itself.
struct BookProblem {
    char32_t character = 0;
    BookField field;
    qsizetype column = 0;  // from 1, in characters of the field (a surrogate pair is one)
};

struct BookBytes {
    QByteArray bytes;  // the file content; empty when `error` is set
    QString error;     // why the book cannot be stored, in Japanese
    // Every distinct character that stopped the save, at its first place.
    QList<BookProblem> problems;
    bool ok() const { return error.isEmpty(); }
};

// Writes `book` in the file format. Fails, writing nothing, when a field
// holds a line break (which would shift every following line of the file)
// or characters that code page 932 cannot hold as themselves; the error
// names each such character (up to ten, then how many more) with its code
// point and first place.
//
// A large book is encoded a piece at a time; `between`, when given, is
// called between the pieces (to let a window breathe).
BookBytes serialiseBook(const Book& book, const std::function<void()>& between = {});

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
//
// The work is done in steps, so that a caller can let its window breathe
// between them while a large book is read.
class BookReader {
public:
    // Bytes decoded per step: a few milliseconds of work.
    static constexpr qsizetype StepBytes = 256 * 1024;

    explicit BookReader(QByteArray bytes);

    // Does the next step; true once the book is read (or refused).
    bool step();
    // The book or the reason it is refused, once step() has returned true.
    ParsedBook result() const { return m_result; }

private:
    bool finish();

    QByteArray m_bytes;
    qsizetype m_next = 0;  // first byte not decoded yet
    QStringList m_lines;
    bool m_done = false;
    ParsedBook m_result;
};

// Reads a book in one go.
ParsedBook parseBook(QByteArrayView bytes);

// " 12 ": a number as the platform's text output prints it, a space before
// the digits of a non-negative number and one after.
QByteArray printedNumber(int value);

}  // namespace velreader
