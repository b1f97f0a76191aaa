#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

namespace velreader {

// A run of a paragraph that is never cut across two display lines (a ruby
// group "base（reading）").
struct Unbreakable {
    qsizetype start = 0;
    qsizetype length = 0;
    bool operator==(const Unbreakable&) const = default;
};

// Where a paragraph's display lines stand in the 30 characters.
struct LineLayout {
    int indent = 0;         // full-width spaces before the first display line
    int hangingIndent = 0;  // before every following one
    // Right-aligned: the line ends this many characters before the last
    // column; -1: not right-aligned.
    int raise = -1;
    bool operator==(const LineLayout&) const = default;
};

// Characters no display line may start with (closing brackets, punctuation,
// iteration marks, small kana) or end with (opening brackets).
bool isLineStartForbidden(char32_t c);
bool isLineEndForbidden(char32_t c);

// Cuts `text` into display lines of at most `width` UTF-16 units, appended
// to `out`. Lines are filled as far as they go, pieces at a time: a piece is
// one character with its combining marks, or a whole unbreakable run that
// fits in a line (longer runs are cut as plain text). When the next line
// would start with a character of isLineStartForbidden() or this one would
// end with one of isLineEndForbidden(), the cut moves back one piece at a
// time, at most three pieces and never so far that the line is empty; when
// that does not mend it, the first cut stays. `groups` are sorted and do not
// overlap. Indentation is put before the lines as full-width spaces and
// narrows them; a right-aligned text that fits is one line, padded with
// full-width spaces at its start.
void breakLines(QStringView text, const QList<Unbreakable>& groups, const LineLayout& layout, int width, QStringList& out);

}  // namespace velreader
