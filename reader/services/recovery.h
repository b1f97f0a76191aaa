#pragma once

#include <array>
#include <functional>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "common/fileio.h"
#include "reader/state/reader_state.h"

namespace velreader {

// Unsaved work the reader keeps as it goes, so that a reader that ends
// without saving (killed, stopped, a power cut) loses nothing: the display
// lines and every designation slot, in UTF-8, so that every character stays
// as it was, also those a book file cannot hold. A file is two parts: a
// first line, a small JSON object that says what the work is (read alone
// to list the files quickly),
//   {"format": "Velin-Reader recovery", "version": 2, "written": ISO time,
//    "title": first display line, "lines": LineCount, "designations": slots in use}
// and after it one JSON object with the work itself:
//   {"bookFileName": text, "lineCount": n, "displayLines": [texts],
//    "words": [51 texts], "entries": [51 texts], "wordCount": c}
// Version 1 (one indented object holding both) is still read.
struct RecoveredBook {
    int lineCount = 0;
    QStringList displayLines;
    std::array<QString, WordSlots> words;
    std::array<QString, WordSlots> entries;
    int wordCount = 0;
    QString bookFileName = QStringLiteral("*None");
    QDateTime written;

    static RecoveredBook of(const ReaderState& state, const QDateTime& now);
    // Puts the recovered text and designations into `state`, the fields of()
    // takes, as they were.
    void restoreInto(ReaderState& state) const;
    // The slots that hold a word or a picture entry.
    int designations() const;
    bool operator==(const RecoveredBook&) const = default;
};

// What the list of recovered work shows of one file.
struct RecoverySummary {
    QString title;
    QDateTime written;
    int lines = 0;
    int designations = 0;
};

// One file of the list of "復元": its path and summary, or why it cannot be read.
struct RecoveryListEntry {
    QString path;
    RecoverySummary summary;  // only `written` (the file's time) when unreadable
    QString problem;          // why it cannot be read, in Japanese; empty when it can
};

inline constexpr int RecoveryVersion = 2;
// Larger recovery files are not read.
inline constexpr qint64 MaxRecoveryFileSize = 256 * 1024 * 1024;

// The bytes of a recovery file, handed to `put` in pieces as they are made;
// the first failure `put` answers ends the writing and is the answer.
using RecoveryBytesSink = std::function<common::FileError(QByteArrayView)>;
common::FileError writeRecovery(const RecoveredBook& book, const RecoveryBytesSink& put);
// The same bytes, whole.
QByteArray serialiseRecovery(const RecoveredBook& book);

struct ParsedRecovery {
    enum class Problem { None, Missing, Malformed, OtherVersion };
    std::optional<RecoveredBook> book;
    Problem problem = Problem::None;
    QString error;  // what is wrong, in Japanese
};

// Checks the whole content before anything is taken: the format and
// version above, counts in range (the line count at most the last index of
// the display lines, the word count 0 to 50), exactly 51 words and entries,
// every text a text.
ParsedRecovery parseRecovery(QByteArrayView bytes);
// Reads and checks the recovery file at `path` (Missing when there is none).
ParsedRecovery readRecoveryFile(const QString& path);

struct SummaryResult {
    std::optional<RecoverySummary> summary;
    QString error;  // why there is none, in Japanese
};
// Reads only what the list shows: the first line of a version 2 file (the
// whole file for version 1).
SummaryResult readRecoverySummary(const QString& path);

}  // namespace velreader
