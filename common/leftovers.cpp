#include "common/leftovers.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <climits>
#include <csignal>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "common/fileio.h"

namespace common {
namespace {

bool isLowerHex(QChar c) { return (c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'f'); }

// True when the system says no process has the number `pid`.
bool processGone(qint64 pid) { return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH; }

}  // namespace

QStringList namesIn(const QString& folder) {
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(folder).constData());
    if (!dir) return names;
    while (const dirent* entry = ::readdir(dir)) {
        const char* name = entry->d_name;
        if (name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'))) continue;
        names << QFile::decodeName(name);
    }
    ::closedir(dir);
    return names;
}

TemporaryName temporaryNameOf(QStringView name) {
    // "<target>.<digits>-<8 lower-case hex digits>.new", the target not empty.
    static constexpr QStringView Ending = u".new";
    if (!name.endsWith(Ending)) return {};
    const QStringView rest = name.chopped(Ending.size());
    if (rest.size() < 1 + 1 + 1 + 1 + 8) return {};
    const QStringView hex = rest.last(8);
    for (const QChar c : hex)
        if (!isLowerHex(c)) return {};
    if (rest[rest.size() - 9] != u'-') return {};
    const QStringView head = rest.first(rest.size() - 9);
    const qsizetype dot = head.lastIndexOf(u'.');
    if (dot < 1 || dot == head.size() - 1) return {};
    const QStringView digits = head.sliced(dot + 1);
    if (digits.size() > 10 || digits.front() == u'0') return {};
    for (const QChar c : digits)
        if (c < u'0' || c > u'9') return {};
    const qint64 process = digits.toLongLong();
    if (process <= 0 || process > INT_MAX) return {};
    return {head.first(dot).toString(), process};
}

int removeLeftoverTemporaries(const QString& folder, const std::function<bool(const QString& target)>& ours,
                              const QStringList* names) {
    if (folder.isEmpty()) return 0;
    int removed = 0;
    const QDir dir(folder);
    for (const QString& name : names ? *names : namesIn(folder)) {
        const TemporaryName temporary = temporaryNameOf(name);
        if (temporary.target.isEmpty() || !ours(temporary.target)) continue;
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        // Opened without following a link and without blocking; what is not
        // a regular file is no temporary of ours.
        const int fd = ::open(path.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0) continue;
        struct stat st {};
        const bool regular = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
        const bool old = regular && std::time(nullptr) - st.st_mtim.tv_sec >= LeftoverAgeSeconds;
        // Removed under the lock: the writer took it before writing a byte
        // and keeps it until its rename.
        if (regular && (processGone(temporary.process) || old) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            ::unlink(path.constData()) == 0)
            ++removed;
        ::close(fd);
    }
    if (removed > 0) syncFolder(folder);
    return removed;
}

}  // namespace common
