#pragma once

#include <array>
#include <optional>

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include "reader/state/reader_state.h"

namespace velreader {

// Unsaved work the reader keeps when it is stopped without being able to
// ask (a session ending): the display lines and every designation slot.
// Kept as UTF-8 JSON, so that every character stays as it was, also those
// a book file cannot hold:
//   {"format": "Velin-Reader recovery", "version": 1, "written": ISO time,
//    "bookFileName": text, "lineCount": n, "displayLines": [texts],
//    "words": [51 texts], "entries": [51 texts], "wordCount": c}
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
    bool operator==(const RecoveredBook&) const = default;
};

inline constexpr int RecoveryVersion = 1;
// Larger recovery files are not read.
inline constexpr qint64 MaxRecoveryFileSize = 256 * 1024 * 1024;

QByteArray serialiseRecovery(const RecoveredBook& book);

struct ParsedRecovery {
    enum class Problem { None, Missing, Malformed, OtherVersion };
    std::optional<RecoveredBook> book;
    Problem problem = Problem::None;
    QString error;  // what is wrong, in Japanese
};

// Checks the whole content before anything is taken: a JSON object of the
// format and version above, counts in range (the line count at most the
// last index of the display lines, the word count 0 to 50), exactly 51
// words and entries, every text a text.
ParsedRecovery parseRecovery(QByteArrayView bytes);
// Reads and checks the recovery file at `path` (Missing when there is none).
ParsedRecovery readRecoveryFile(const QString& path);

// Where a run stands with the recovery file.
enum class RecoveryStatus {
    None,          // no file at start (or no place for one)
    Offered,       // a usable file was found at start and not opened yet
    Opened,        // "復元" opened it
    Broken,        // found at start, malformed
    OtherVersion,  // found at start, written by another version
    Written,       // this run wrote it on a stop signal
};

// The recovery file of a run, and where the run stands with it.
class RecoveryFile {
public:
    // `path` empty: there is no place for a recovery file.
    explicit RecoveryFile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }
    RecoveryStatus status() const { return m_status; }

    // At start: looks at the file. What `Text1` says of it (an earlier run's
    // unsaved work that waits, or why the file is not used); empty when
    // there is no file.
    QString offer();
    // True while a file that "復元" can open was found.
    bool available() const;
    // Reads and checks the file again (it may have changed since the
    // start); a book read counts as opened.
    ParsedRecovery open();
    // On a stop signal: writes `book`. An empty text when done, else why it
    // failed.
    QString keep(const RecoveredBook& book);
    // A clean close: the file goes, unless it was offered at start and never
    // opened, or another version wrote it.
    void finishCleanClose();

private:
    QString m_path;
    RecoveryStatus m_status = RecoveryStatus::None;
};

}  // namespace velreader
