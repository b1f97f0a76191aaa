#pragma once

#include <array>

#include <QString>
#include <QStringList>

namespace velreader {

// Capacities of the fixed tables.
inline constexpr int PageRowSlots = 31;    // rows a page can hold
inline constexpr int PageLines = 12;       // display lines a page holds
inline constexpr int WordSlots = 51;       // WordTable / PictureTable, indices 0 to 50
inline constexpr int MaxWordCount = 50;    // designations fill slots 0 to 49
inline constexpr int BookWordSlots = 21;   // slots 0 to 20 go into book files

// The reader's state: everything the handlers read and change besides the
// controls and the page. Counters are plain ints rather than 16-bit values so
// that a text of more than 32767 display lines cannot overflow them.
struct ReaderState {
    int PageRowIndex = 0;      // next free slot of PageRows
    int PageLineCount = 0;     // display lines on the current page
    int CurrentLine = 0;       // index of the line the next play step shows
    std::array<QString, PageRowSlots> PageRows;  // rows printed on the page, for reprinting
    QStringList DisplayLines;  // lines 0 to LineCount of the text
    QStringList ChunkTable;    // 30-character chunks of the last reading, in order
    std::array<QString, WordSlots> WordTable;
    std::array<QString, WordSlots> PictureTable;
    QString SourceText;        // normalised text of the last reading
    int WordCount = 0;         // next free slot of WordTable and PictureTable
    int LineCount = 0;         // upper index of the playable lines; 0 means no text
    QString BookFileName = QStringLiteral("*None");

    bool operator==(const ReaderState&) const = default;
};

}  // namespace velreader
