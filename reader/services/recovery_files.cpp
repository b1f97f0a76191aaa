#include "reader/services/recovery_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <vector>
#include <unistd.h>

#include "common/file_lock.h"
#include "common/fileio.h"
#include "common/leftovers.h"

namespace velreader::recovery {
namespace {

const QString Prefix = QStringLiteral("work-");
const QString Suffix = QStringLiteral(".json");
const QString LockSuffix = QStringLiteral(".lock");

bool isWorkName(const QString& name) { return name.startsWith(Prefix) && name.endsWith(Suffix); }

}  // namespace

QString newFileName(int window) {
    // The start time to the millisecond, the process and the window: a
    // second reader, or a later start, never makes the same name.
    return Prefix + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
           QStringLiteral("-%1-%2").arg(qint64(::getpid())).arg(window) + Suffix;
}

QStringList orphans(const QString& folder) {
    if (folder.isEmpty()) return {};
    // This runs at every start: one reading of the folder, then for each
    // work only a look at its time from the folder itself (no walk of its
    // whole path, no QFileInfo) and its lock only when it has a lock file.
    QStringList names = common::namesIn(folder);
    if (names.isEmpty()) return {};
    if (common::removeLeftoverTemporaries(folder, [](const QString& target) { return isWorkName(target); }, &names) > 0)
        names = common::namesIn(folder);
    const QString base = folder.endsWith(u'/') ? folder : folder + u'/';
    const QSet<QString> present(names.begin(), names.end());
    const int dirFd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return {};
    struct Found {
        QString path;
        qint64 modified;  // nanoseconds since 1970
    };
    std::vector<Found> found;
    for (const QString& name : std::as_const(names)) {
        if (isWorkName(name)) {
            struct stat st {};
            if (::fstatat(dirFd, QFile::encodeName(name).constData(), &st, 0) != 0 || !S_ISREG(st.st_mode)) continue;
            // Without its lock file, nobody holds it.
            if (present.contains(name + LockSuffix) && common::FileLock::heldElsewhere(base + name)) continue;
            found.push_back({base + name, qint64(st.st_mtim.tv_sec) * 1'000'000'000 + st.st_mtim.tv_nsec});
        } else if (name.endsWith(LockSuffix) && isWorkName(name.chopped(LockSuffix.size()))) {
            // A lock file left without its work by a reader that was killed.
            const QString work = name.chopped(LockSuffix.size());
            if (!present.contains(work) && !common::FileLock::heldElsewhere(base + work)) QFile::remove(base + name);
        }
    }
    ::close(dirFd);
    // Files written within one tick of the clock have the same time; their
    // names, which begin with the time of their reader's start, order them.
    std::sort(found.begin(), found.end(), [](const Found& a, const Found& b) {
        return a.modified != b.modified ? a.modified < b.modified : a.path < b.path;
    });
    QStringList paths;
    paths.reserve(qsizetype(found.size()));
    for (const Found& f : found) paths << f.path;
    return paths;
}

QDateTime writtenAt(const QString& path) { return QFileInfo(path).lastModified(); }

bool discard(const QString& path) {
    // Taken first, so that no reader starts writing it meanwhile.
    const common::FileLock lock = common::FileLock::tryAcquire(path);
    if (!lock.locked()) return false;
    if (!QFile::remove(path)) return false;
    QFile::remove(common::FileLock::lockPathOf(path));
    common::syncFolder(QFileInfo(path).absolutePath());
    return true;
}

void adoptLegacyFile(const QString& legacyFile, const QString& folder) {
    if (legacyFile.isEmpty() || !QFileInfo(legacyFile).isFile() || !QDir().mkpath(folder)) return;
    const QString target = QDir(folder).filePath(QStringLiteral("work-legacy-") +
                                                 writtenAt(legacyFile).toString(QStringLiteral("yyyyMMdd-HHmmss")) + Suffix);
    if (QFileInfo::exists(target)) return;
    if (::rename(QFile::encodeName(legacyFile).constData(), QFile::encodeName(target).constData()) == 0)
        common::syncFolder(folder);
}

}  // namespace velreader::recovery
