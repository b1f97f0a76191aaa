#pragma once

#include <QStringList>
#include <QStringView>

namespace velreader {

// A passage found in the display lines: the line it starts in and the line
// it ends in (the next ones when it runs across the cut between lines).
struct FoundPassage {
    int line = -1;
    int lastLine = -1;
    bool found() const { return line >= 0; }
    bool operator==(const FoundPassage&) const = default;
};

// Looks for `needle` in lines 0 to `count` - 1 of `lines`, as the reader
// reads them one after another: a passage may start in one line and go on
// in the following ones. Forward, the first passage that starts in line
// `from` or later; backward, the last that starts in line `from` or
// earlier. Characters match exactly. Nothing is found for an empty needle.
FoundPassage findPassage(const QStringList& lines, qsizetype count, QStringView needle, qsizetype from, bool forward);

}  // namespace velreader
