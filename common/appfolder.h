#pragma once

#include <QString>

namespace common {

// The folder that holds the running program file (symbolic links resolved),
// always ending in exactly one native separator ("/"). Both programs build
// every data-file path from it. Empty when the program's own path cannot be
// found (or no QCoreApplication exists yet): the caller must then refuse to
// start rather than put its files elsewhere.
QString applicationFolder();

// Returns `dir` with exactly one trailing "/": a folder that already ends in
// "/" (the root folder) is returned unchanged, otherwise one "/" is appended.
// An empty input stays empty.
QString withTrailingSeparator(const QString& dir);

}  // namespace common
