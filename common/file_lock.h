#pragma once

#include <QString>

#include "common/fileio.h"

namespace common {

// An advisory lock that every process reading, merging and writing one file
// takes around those three steps: flock() on a lock file beside it, named
// "<file>.lock". The lock file is kept (never deleted), so that two
// processes always lock the same file; the lock goes when the object does,
// or when the process ends, however it ends.
class FileLock {
public:
    // The lock file of the file at `path`.
    static QString lockPathOf(const QString& path);

    // Takes the lock of the file at `path`, waiting at most `waitMs` for
    // another process to let it go. Without a lock file (a folder that
    // cannot be written), the result holds no lock and says why.
    static FileLock acquire(const QString& path, int waitMs = 10000);
    // Takes the lock only when it is free now.
    static FileLock tryAcquire(const QString& path);
    // True when a process (this one too, through another lock object)
    // holds the lock of `path` now. A missing lock file is a free lock.
    static bool heldElsewhere(const QString& path);

    FileLock() = default;
    FileLock(FileLock&& other) noexcept;
    FileLock& operator=(FileLock&& other) noexcept;
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    ~FileLock();

    bool locked() const { return m_fd >= 0; }
    // Why the lock is not held.
    const FileError& error() const { return m_error; }
    void release();

private:
    static FileLock take(const QString& path, int waitMs);

    int m_fd = -1;
    FileError m_error;
};

}  // namespace common
