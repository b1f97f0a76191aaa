#pragma once

#include <QString>

namespace savefiles {

// What a file operation did: ok, or which file failed and why.
struct FileResult {
    bool ok = true;
    QString error;  // "Cannot write /path/hituji.dat: Permission denied"
};

}  // namespace savefiles
