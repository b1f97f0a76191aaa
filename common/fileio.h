#pragma once

#include <functional>

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// File access for both programs' data files. Nothing here ever opens a file
// whose opening or reading could block: a folder, a pipe, a socket or a
// device at the path is refused before it is opened, and every open is
// non-blocking besides. Failures keep the system's error number, so each
// program can put the reason in words of its own.
namespace common {

struct FileError {
    enum class Kind {
        None,
        Missing,      // nothing at the path (or a folder on the way is missing)
        MissingFolder,  // a file cannot be created: its folder does not exist
        Folder,       // the path names a folder
        NotRegular,   // a pipe, a socket or a device
        TooLarge,     // larger than the caller's limit
        System,       // the system refused: `code` holds the error number
    };
    Kind kind = Kind::None;
    int code = 0;  // errno for Kind::System

    bool ok() const { return kind == Kind::None; }
    // The reason in English: "it is a folder", "No space left on device".
    QString englishReason() const;
    // The reason in Japanese words: "フォルダです", "ディスクがいっぱいです
    // （No space left on device）"; the system's own text in brackets.
    QString japaneseReason() const;
};

// What stands at `path`, without opening it: Kind::None for a regular file
// (also through a symbolic link), Missing, Folder or NotRegular otherwise.
FileError inspectPath(const QString& path);

struct ReadResult {
    QByteArray bytes;
    FileError error;
    bool ok() const { return error.ok(); }
};

// Reads at most `maxBytes` from the start of the regular file at `path`.
// With `wholeFile`, a longer file is refused as TooLarge instead.
ReadResult readFile(const QString& path, qint64 maxBytes, bool wholeFile = true);

// Replaces the file at `path` with `bytes`: written to a new file beside it
// ("<name>.<process id>-<8 hex digits>.new"), flushed to disk, then renamed
// over the old one, and the folder flushed too (the rename itself is on the
// disk only then), so that a failure or a power cut at any point leaves the
// old file or the new one, whole. A file that exists keeps its
// permissions; a symbolic link keeps pointing at the replaced file.
// A large file is written a step at a time; `between`, when given, is
// called between the steps (to let a window breathe).
FileError replaceFile(const QString& path, QByteArrayView bytes, const std::function<void()>& between = {});
// The same, with the bytes made as they are written: `produce` hands them
// to `put` in pieces (and answers the first failure `put` answers), so that
// a large file is never whole in memory.
using BytePut = std::function<FileError(QByteArrayView)>;
FileError replaceFileWith(const QString& path, const std::function<FileError(const BytePut& put)>& produce);

// Writes `bytes` over the start of the regular file at `path`, creating it
// when needed, without shortening it: whatever lay beyond stays.
FileError writeOverStart(const QString& path, QByteArrayView bytes);

// Flushes the folder at `path` to disk: the names made, renamed and removed
// in it are kept through a power cut only then.
FileError syncFolder(const QString& path);

// Makes `path` the current folder.
FileError changeFolder(const QString& path);

}  // namespace common
