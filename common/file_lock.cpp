#include "common/file_lock.h"

#include <QElapsedTimer>
#include <QFile>
#include <QThread>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace common {

QString FileLock::lockPathOf(const QString& path) { return path + QStringLiteral(".lock"); }

FileLock FileLock::acquire(const QString& path, int waitMs) { return take(path, waitMs); }

FileLock FileLock::tryAcquire(const QString& path) { return take(path, 0); }

FileLock FileLock::take(const QString& path, int waitMs) {
    FileLock lock;
    const QByteArray name = QFile::encodeName(lockPathOf(path));
    const int fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY, 0666);
    if (fd < 0) {
        lock.m_error = {errno == ENOENT ? FileError::Kind::MissingFolder : FileError::Kind::System, errno};
        return lock;
    }
    // Polled rather than blocking: a process stopped while it holds the
    // lock must not stop this one for ever.
    QElapsedTimer clock;
    clock.start();
    for (int pause = 1;; pause = std::min(pause * 2, 20)) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
            lock.m_fd = fd;
            return lock;
        }
        const int code = errno;
        if (code != EWOULDBLOCK && code != EINTR) {
            ::close(fd);
            lock.m_error = {FileError::Kind::System, code};
            return lock;
        }
        if (code == EWOULDBLOCK && clock.elapsed() >= waitMs) break;
        QThread::msleep(pause);
    }
    ::close(fd);
    lock.m_error = {FileError::Kind::System, EWOULDBLOCK};
    return lock;
}

bool FileLock::heldElsewhere(const QString& path) {
    const QByteArray name = QFile::encodeName(lockPathOf(path));
    const int fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) return false;
    bool held = false;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) held = errno == EWOULDBLOCK;
    ::close(fd);  // also lets go of the lock just taken
    return held;
}

FileLock::FileLock(FileLock&& other) noexcept : m_fd(other.m_fd), m_error(other.m_error) { other.m_fd = -1; }

FileLock& FileLock::operator=(FileLock&& other) noexcept {
    if (this != &other) {
        release();
        m_fd = other.m_fd;
        m_error = other.m_error;
        other.m_fd = -1;
    }
    return *this;
}

FileLock::~FileLock() { release(); }

void FileLock::release() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

}  // namespace common
