#pragma once

#include <functional>

#include <QString>
#include <QStringList>
#include <QStringView>

// What writes through common::replaceFile() leave behind when they end
// before their rename (a kill, a power cut): the new file beside the one
// being replaced, "<name>.<process id>-<8 hex digits>.new". Each program
// removes those of its own files at start.
namespace common {

// The names of the entries of `folder` (not "." or ".."), in no order: one
// reading of the folder, nothing opened or examined. Empty when the folder
// cannot be read.
QStringList namesIn(const QString& folder);

// The name of the file a temporary of replaceFile() stands for ("hituji.dat"
// for "hituji.dat.4242-0123abcd.new"), and the process that made it; an
// empty `target` when `name` is not such a temporary.
struct TemporaryName {
    QString target;
    qint64 process = 0;
};
TemporaryName temporaryNameOf(QStringView name);

// How long a temporary stays untouched before it counts as left behind even
// when a process of its number runs (the number may have been given again).
inline constexpr int LeftoverAgeSeconds = 60;

// Removes the temporaries in `folder` that are provably left behind: named
// exactly as replaceFile() names them, for a file `ours(target)` says the
// caller writes there, a regular file, and not being written: the lock
// replaceFile() holds on it from its making to its rename is free, and its
// process is gone or it has not changed for LeftoverAgeSeconds. The folder
// is synced when something was removed. Returns how many files went.
// `names`, when given, are those of namesIn(folder), read by the caller.
int removeLeftoverTemporaries(const QString& folder, const std::function<bool(const QString& target)>& ours,
                              const QStringList* names = nullptr);

}  // namespace common
