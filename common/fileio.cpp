#include "common/fileio.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace common {
namespace {

QByteArray nativePath(const QString& path) { return QFile::encodeName(path); }

FileError systemError(int code) {
    // A folder on the way that is a file: nothing stands at the path either.
    if (code == ENOENT || code == ENOTDIR) return {FileError::Kind::Missing, code};
    if (code == EISDIR) return {FileError::Kind::Folder, code};
    return {FileError::Kind::System, code};
}

FileError kindOf(const struct stat& st) {
    if (S_ISREG(st.st_mode)) return {};
    if (S_ISDIR(st.st_mode)) return {FileError::Kind::Folder, EISDIR};
    return {FileError::Kind::NotRegular, 0};
}

// An error of creating a file: ENOENT there means the folder is missing.
FileError createError(int code) {
    if (code == ENOENT || code == ENOTDIR) return {FileError::Kind::MissingFolder, code};
    return systemError(code);
}

// Closes `fd`, keeping the first error.
FileError closeKeeping(int fd, FileError error) {
    if (::close(fd) != 0 && error.ok()) return systemError(errno);
    return error;
}

// Bytes written between two calls of a caller's `between`.
constexpr qsizetype WriteStep = 1024 * 1024;

FileError writeAll(int fd, QByteArrayView bytes, const std::function<void()>& between = {}) {
    qsizetype done = 0;
    qsizetype stepEnd = between ? WriteStep : bytes.size();
    while (done < bytes.size()) {
        if (done >= stepEnd) {
            between();
            stepEnd = done + WriteStep;
        }
        const ssize_t n = ::write(fd, bytes.data() + done, size_t(std::min(bytes.size(), stepEnd) - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return systemError(errno);
        if (n == 0) return {FileError::Kind::System, EIO};
        done += n;
    }
    return {};
}

QString systemText(int code) { return QString::fromLocal8Bit(std::strerror(code)); }

}  // namespace

QString FileError::englishReason() const {
    switch (kind) {
    case Kind::None: return {};
    case Kind::Missing: return QStringLiteral("it does not exist");
    case Kind::MissingFolder: return QStringLiteral("its folder does not exist");
    case Kind::Folder: return QStringLiteral("it is a folder");
    case Kind::NotRegular: return QStringLiteral("it is not a regular file (a pipe, a socket or a device)");
    case Kind::TooLarge: return QStringLiteral("it is too large");
    case Kind::System: return systemText(code);
    }
    return {};
}

QString FileError::japaneseReason() const {
    QString words;
    switch (kind) {
    case Kind::None: return {};
    case Kind::Missing: return QStringLiteral("ファイルがありません");
    case Kind::MissingFolder: return QStringLiteral("保存先のフォルダがありません");
    case Kind::Folder: return QStringLiteral("ファイルではなくフォルダです");
    case Kind::NotRegular: return QStringLiteral("普通のファイルではありません（パイプやデバイスなど）");
    case Kind::TooLarge: return QStringLiteral("ファイルが大きすぎます");
    case Kind::System:
        switch (code) {
        case EACCES:
        case EPERM: words = QStringLiteral("アクセスが許可されていません"); break;
        case EROFS: words = QStringLiteral("読み取り専用の場所には書き込めません"); break;
        case ENOSPC: words = QStringLiteral("ディスクがいっぱいです"); break;
        case EDQUOT: words = QStringLiteral("ディスクの使用量の上限を超えました"); break;
        case ENOTDIR: words = QStringLiteral("途中のフォルダがありません"); break;
        case ENAMETOOLONG: words = QStringLiteral("ファイルの名前が長すぎます"); break;
        case ELOOP: words = QStringLiteral("シンボリックリンクが循環しています"); break;
        case EMFILE:
        case ENFILE: words = QStringLiteral("開いているファイルが多すぎます"); break;
        case EIO: words = QStringLiteral("読み書きの途中で装置のエラーが起きました"); break;
        case EFBIG: words = QStringLiteral("ファイルが大きすぎます"); break;
        case EBUSY:
        case ETXTBSY: words = QStringLiteral("ファイルが使用中です"); break;
        case EXDEV: words = QStringLiteral("別の装置をまたいで置き換えられません"); break;
        default: words = QStringLiteral("ファイルを扱えませんでした"); break;
        }
        return QStringLiteral("%1（%2）").arg(words, systemText(code));
    }
    return {};
}

FileError inspectPath(const QString& path) {
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) != 0) return systemError(errno);
    return kindOf(st);
}

ReadResult readFile(const QString& path, qint64 maxBytes, bool wholeFile) {
    ReadResult result;
    result.error = inspectPath(path);
    if (!result.ok()) return result;
    // Non-blocking, in case something else took the file's place meanwhile;
    // fstat then checks what was really opened.
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        result.error = systemError(errno);
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.error = closeKeeping(fd, systemError(errno));
        return result;
    }
    result.error = kindOf(st);
    if (result.ok() && wholeFile && st.st_size > maxBytes) result.error = {FileError::Kind::TooLarge, 0};
    if (!result.ok()) {
        result.error = closeKeeping(fd, result.error);
        return result;
    }
    const qint64 want = std::min<qint64>(maxBytes, st.st_size);
    result.bytes.resize(want);
    qint64 done = 0;
    while (done < want) {
        const ssize_t n = ::read(fd, result.bytes.data() + done, size_t(want - done));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.error = systemError(errno);
            break;
        }
        if (n == 0) break;  // the file got shorter meanwhile
        done += n;
    }
    result.bytes.truncate(done);
    result.error = closeKeeping(fd, result.error);
    if (!result.ok()) result.bytes.clear();
    return result;
}

// replaceFile() with `write` putting the bytes into the new file.
static FileError replaceThrough(const QString& path, const std::function<FileError(int fd)>& write);

FileError replaceFile(const QString& path, QByteArrayView bytes, const std::function<void()>& between) {
    return replaceThrough(path, [&](int fd) { return writeAll(fd, bytes, between); });
}

FileError replaceFileWith(const QString& path, const std::function<FileError(const BytePut& put)>& produce) {
    return replaceThrough(path, [&](int fd) { return produce([fd](QByteArrayView piece) { return writeAll(fd, piece); }); });
}

static FileError replaceThrough(const QString& path, const std::function<FileError(int fd)>& write) {
    QString target = path;
    mode_t mode = 0666;
    bool keepMode = false;
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) == 0) {
        if (const FileError kind = kindOf(st); !kind.ok()) return kind;
        // A link keeps pointing at the file it names, which is the one replaced.
        const QFileInfo info(path);
        if (info.isSymLink()) target = info.canonicalFilePath();
        mode = st.st_mode & 07777;
        keepMode = true;
    } else if (errno != ENOENT) {
        return createError(errno);
    }

    int fd = -1;
    QString temporary;
    for (int attempt = 0; attempt < 16 && fd < 0; ++attempt) {
        // The process id in the name tells a write of a killed process
        // (removeLeftoverTemporaries in common/leftovers.h) from one still
        // going on.
        temporary = QStringLiteral("%1.%2-%3.new")
                        .arg(target)
                        .arg(qint64(::getpid()))
                        .arg(QRandomGenerator::global()->generate(), 8, 16, QChar(u'0'));
        fd = ::open(nativePath(temporary).constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0666);
        if (fd < 0 && errno != EEXIST) return createError(errno);
    }
    if (fd < 0) return systemError(EEXIST);
    // Locked from its making until its rename, so that the clean-up at the
    // start of another copy (removeLeftoverTemporaries) never takes it for
    // one left behind; a kill lets go of the lock.
    ::flock(fd, LOCK_EX | LOCK_NB);
    FileError error = write(fd);
    if (error.ok() && keepMode && ::fchmod(fd, mode) != 0) error = systemError(errno);
    if (error.ok() && ::fsync(fd) != 0) error = systemError(errno);
    if (error.ok() && ::rename(nativePath(temporary).constData(), nativePath(target).constData()) != 0)
        error = systemError(errno);
    if (!error.ok()) ::unlink(nativePath(temporary).constData());
    error = closeKeeping(fd, error);
    if (!error.ok()) return error;
    return syncFolder(QFileInfo(target).absolutePath());
}

FileError syncFolder(const QString& path) {
    const int fd = ::open(nativePath(path).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return systemError(errno);
    FileError error;
    // Some file systems cannot flush a folder (EINVAL): nothing to wait for there.
    if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) error = systemError(errno);
    return closeKeeping(fd, error);
}

FileError writeOverStart(const QString& path, QByteArrayView bytes) {
    struct stat st {};
    if (::stat(nativePath(path).constData(), &st) == 0) {
        if (const FileError kind = kindOf(st); !kind.ok()) return kind;
    } else if (errno != ENOENT) {
        return createError(errno);
    }
    // Opened without O_TRUNC: the tail of a longer old file stays.
    const int fd = ::open(nativePath(path).constData(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0666);
    if (fd < 0) return createError(errno);
    if (::fstat(fd, &st) != 0) return closeKeeping(fd, systemError(errno));
    if (const FileError kind = kindOf(st); !kind.ok()) return closeKeeping(fd, kind);
    return closeKeeping(fd, writeAll(fd, bytes));
}

FileError changeFolder(const QString& path) {
    if (::chdir(nativePath(path).constData()) != 0) {
        if (errno == ENOTDIR) return {FileError::Kind::NotRegular, ENOTDIR};
        return systemError(errno);
    }
    return {};
}

}  // namespace common
