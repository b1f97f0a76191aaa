#include "common/stop_notes.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include "common/file_lock.h"
#include "common/fileio.h"

namespace common {
namespace {

// Notes are short; a larger file is no file of ours.
constexpr qint64 MaxNotesSize = 64 * 1024;

QString notesPath(const QString& folder) { return QDir(folder).filePath(QLatin1String(StopNotesFileName)); }

}  // namespace

bool keepStopNote(const QString& folder, const QString& line) {
    if (folder.isEmpty() || !QDir().mkpath(folder)) return false;
    const QString path = notesPath(folder);
    // Two programs stopped together may both add a line.
    const FileLock lock = FileLock::acquire(path, 2000);
    const ReadResult old = readFile(path, MaxNotesSize, false);
    QByteArray bytes = old.ok() ? old.bytes : QByteArray();
    QString single = line;
    single.replace(u'\n', u' ').replace(u'\r', u' ');
    bytes += QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm ")).toUtf8() + single.toUtf8() + '\n';
    return replaceFile(path, bytes).ok();
}

QStringList takeStopNotes(const QString& folder) {
    if (folder.isEmpty()) return {};
    const QString path = notesPath(folder);
    const FileLock lock = FileLock::acquire(path, 2000);
    const ReadResult read = readFile(path, MaxNotesSize, false);
    if (!read.ok()) return {};
    QFile::remove(path);
    QStringList lines = QString::fromUtf8(read.bytes).split(u'\n', Qt::SkipEmptyParts);
    return lines;
}

}  // namespace common
