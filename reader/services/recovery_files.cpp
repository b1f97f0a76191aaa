#include "reader/services/recovery_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <cstdio>
#include <unistd.h>

#include "common/file_lock.h"
#include "common/fileio.h"

namespace velreader::recovery {
namespace {

const QString Prefix = QStringLiteral("work-");
const QString Suffix = QStringLiteral(".json");

}  // namespace

QString newFileName(int window) {
    // The start time to the millisecond, the process and the window: a
    // second reader, or a later start, never makes the same name.
    return Prefix + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss-zzz")) +
           QStringLiteral("-%1-%2").arg(qint64(::getpid())).arg(window) + Suffix;
}

QStringList orphans(const QString& folder) {
    if (folder.isEmpty()) return {};
    const QDir dir(folder);
    if (!dir.exists()) return {};
    common::removeLeftoverTemporaries(folder);
    QList<QFileInfo> found;
    for (const QFileInfo& info : dir.entryInfoList({Prefix + u'*' + Suffix}, QDir::Files, QDir::Name)) {
        if (!common::FileLock::heldElsewhere(info.filePath())) found << info;
    }
    // A lock file left without its work by a reader that was killed.
    for (const QFileInfo& lock : dir.entryInfoList({Prefix + u'*' + Suffix + QStringLiteral(".lock")}, QDir::Files)) {
        const QString work = lock.filePath().chopped(5);
        if (!QFileInfo::exists(work) && !common::FileLock::heldElsewhere(work)) QFile::remove(lock.filePath());
    }
    std::stable_sort(found.begin(), found.end(),
                     [](const QFileInfo& a, const QFileInfo& b) { return a.lastModified() < b.lastModified(); });
    QStringList paths;
    for (const QFileInfo& info : found) paths << info.filePath();
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
