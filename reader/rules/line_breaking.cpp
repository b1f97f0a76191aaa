#include "reader/rules/line_breaking.h"

#include <algorithm>

namespace velreader {
namespace {

constexpr char16_t IdeographicSpace = u'　';
// How many pieces a cut may move back to mend a forbidden line start or end.
constexpr int MaxMoveBack = 3;

bool isSmallKana(char32_t c) {
    return QStringView(u"ぁぃぅぇぉっゃゅょゎゕゖァィゥェォッャュョヮヵヶ").contains(QChar(char16_t(c)));
}

char32_t codePointAt(QStringView text, qsizetype i) {
    if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
        return QChar::surrogateToUcs4(text[i], text[i + 1]);
    return text[i].unicode();
}

char32_t codePointBefore(QStringView text, qsizetype i) {
    if (i >= 2 && text[i - 1].isLowSurrogate() && text[i - 2].isHighSurrogate())
        return QChar::surrogateToUcs4(text[i - 2], text[i - 1]);
    return text[i - 1].unicode();
}

bool isJoining(QChar c) {
    const char16_t u = c.unicode();
    return c.isMark() || (u >= 0xFE00 && u <= 0xFE0F) || u == 0x200D;
}

// The end of the plain character (with its marks) that starts at `i`.
qsizetype characterEnd(QStringView text, qsizetype i) {
    qsizetype end = i + ((text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) ? 2 : 1);
    while (end < text.size() && isJoining(text[end])) ++end;
    return end;
}

}  // namespace

bool isLineStartForbidden(char32_t c) {
    if (c > 0xFFFF) return false;
    return QStringView(u"」』）］｝〕〉》】〙〗〟’”｠»、。，．・：；？！‼⁇⁈⁉ヽヾゝゞ々〻ー…‥").contains(QChar(char16_t(c))) ||
           isSmallKana(c);
}

bool isLineEndForbidden(char32_t c) {
    if (c > 0xFFFF) return false;
    return QStringView(u"「『（［｛〔〈《【〘〖〝‘“｟«").contains(QChar(char16_t(c)));
}

void breakLines(QStringView text, const QList<Unbreakable>& groups, const LineLayout& layout, int width,
                QStringList& out) {
    if (text.isEmpty()) return;
    width = std::max(width, 2);
    if (layout.raise >= 0 && text.size() <= width - layout.raise) {
        QString line(width - layout.raise - text.size(), QChar(IdeographicSpace));
        line += text;
        out.append(std::move(line));
        return;
    }
    const bool aligned = layout.raise >= 0;  // too long to align: cut as plain lines
    // Indentation leaves at least two columns for the text.
    const auto indentOf = [&](bool first) {
        if (aligned) return 0;
        return std::clamp(first ? layout.indent : layout.hangingIndent, 0, width - 2);
    };

    // The end of the piece that starts at `i` in a line of `room` units.
    const auto pieceEnd = [&](qsizetype i, int room) {
        const auto g = std::lower_bound(groups.begin(), groups.end(), i,
                                        [](const Unbreakable& u, qsizetype at) { return u.start < at; });
        if (g != groups.end() && g->start == i && g->length > 0 && g->length <= room &&
            g->start + g->length <= text.size())
            return i + g->length;
        return characterEnd(text, i);
    };
    const auto mayCutAt = [&](qsizetype at) {
        return !isLineStartForbidden(codePointAt(text, at)) && !isLineEndForbidden(codePointBefore(text, at));
    };

    std::vector<qsizetype> ends;
    bool first = true;
    for (qsizetype pos = 0; pos < text.size(); first = false) {
        const int indent = indentOf(first);
        const int room = width - indent;
        ends.clear();
        for (qsizetype e = pos; e < text.size();) {
            const qsizetype next = pieceEnd(e, room);
            if (next - pos > room) break;
            ends.push_back(next);
            e = next;
        }
        qsizetype cut;
        if (ends.empty()) {
            // One character with marks longer than the line: cut it, never
            // between the halves of a surrogate pair.
            cut = pos + room;
            if (text[cut - 1].isHighSurrogate()) --cut;
        } else {
            cut = ends.back();
            if (cut < text.size() && !mayCutAt(cut)) {
                for (int back = 1; back <= MaxMoveBack && back < int(ends.size()); ++back) {
                    const qsizetype earlier = ends[ends.size() - 1 - back];
                    if (mayCutAt(earlier)) {
                        cut = earlier;
                        break;
                    }
                }
            }
        }
        QString line(indent, QChar(IdeographicSpace));
        line += text.sliced(pos, cut - pos);
        out.append(std::move(line));
        pos = cut;
    }
}

}  // namespace velreader
