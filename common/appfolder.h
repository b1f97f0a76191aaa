#pragma once

#include <QString>

namespace common {

// The folder that holds the running program, always ending in exactly one
// native separator ("/"). Both programs build every data-file path from it.
QString applicationFolder();

// Returns `dir` with exactly one trailing "/": a folder that already ends in
// "/" (the root folder) is returned unchanged, otherwise one "/" is appended.
// An empty input gives "/" so that a path built from it is never relative.
QString withTrailingSeparator(const QString& dir);

}  // namespace common
