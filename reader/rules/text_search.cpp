#include "reader/rules/text_search.h"

#include <algorithm>

namespace velreader {
namespace {

// A passage that starts in line `n` and runs into the lines after it: the
// last line it reaches, or -1. `joined` is scratch space.
int crossingFrom(const QStringList& lines, qsizetype count, qsizetype n, QStringView needle, QString& joined) {
    const qsizetype tailSize = std::min(lines[n].size(), needle.size() - 1);
    if (tailSize == 0) return -1;
    const QStringView tail = QStringView(lines[n]).last(tailSize);
    // Most lines cannot start a crossing passage: cheap test first.
    if (!tail.contains(needle.front())) return -1;
    joined.clear();
    joined += tail;
    qsizetype last = n;
    std::vector<qsizetype> ends;  // where each following line ends in `joined`
    while (joined.size() - tailSize < needle.size() - 1 && last + 1 < count) {
        joined += lines[++last];
        ends.push_back(joined.size());
    }
    for (qsizetype at = joined.indexOf(needle); at >= 0 && at < tailSize; at = joined.indexOf(needle, at + 1)) {
        if (at + needle.size() <= tailSize) continue;  // inside line n: found by the caller
        const qsizetype end = at + needle.size();
        for (size_t k = 0; k < ends.size(); ++k)
            if (end <= ends[k]) return int(n + 1 + qsizetype(k));
    }
    return -1;
}

}  // namespace

FoundPassage findPassage(const QStringList& lines, qsizetype count, QStringView needle, qsizetype from, bool forward) {
    count = std::min(count, lines.size());
    if (needle.isEmpty() || count <= 0) return {};
    QString joined;
    const qsizetype step = forward ? 1 : -1;
    for (qsizetype n = std::clamp<qsizetype>(from, -1, count); n >= 0 && n < count; n += step) {
        if (lines[n].contains(needle)) return {int(n), int(n)};
        if (needle.size() > 1) {
            const int last = crossingFrom(lines, count, n, needle, joined);
            if (last >= 0) return {int(n), last};
        }
    }
    return {};
}

}  // namespace velreader
