#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

// The folder of recovery files: each window of a running reader keeps its
// unsaved work in a file of its own there, named so that no other window
// and no other start ever writes it:
//   "work-<yyyyMMdd-HHmmss-zzz>-<process id>-<window number>.json",
// and holds the lock of that file ("<file>.lock", common::FileLock) for as
// long as it runs. A file whose lock nobody holds belongs to a reader that
// is gone: it is offered to the next start.
namespace velreader::recovery {

// The name of a new file for window `window` of this process.
QString newFileName(int window);

// The files of `folder` that no running reader holds, oldest first. Also
// removes what a killed reader left beside them: temporaries of its
// writes, lock files whose work is gone.
QStringList orphans(const QString& folder);

// The time a file was last written (its modification time).
QDateTime writtenAt(const QString& path);

// Removes the file at `path` when no running reader holds it. False when
// it is held or cannot be removed.
bool discard(const QString& path);

// Moves the work kept at `legacyFile` (the single file of earlier versions)
// into `folder` under a new name, so that it is offered like the others.
void adoptLegacyFile(const QString& legacyFile, const QString& folder);

}  // namespace velreader::recovery
