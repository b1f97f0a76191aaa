#include "reader/rules/aozora_notation.h"

#include <algorithm>

#include "reader/rules/aozora_accents.h"
#include "reader/rules/aozora_annotations.h"

namespace velreader {
namespace {

const QStringView LegendTitle(u"【テキスト中に現れる記号について】");
// Where the legend is looked for, and how far its end may be.
constexpr int LegendSearchLines = 60;
constexpr int LegendMaxLines = 200;
// Characters handled between two calls of `between`.
constexpr qsizetype Step = 128 * 1024;
constexpr qsizetype KeptSampleLength = 20;

// The kinds of characters a ruby base without "｜" is a run of.
enum class Kind { None, Kanji, Hiragana, Katakana, Latin };

Kind kindOf(char32_t c) {
    if ((c >= 0x4E00 && c <= 0x9FFF) || (c >= 0x3400 && c <= 0x4DBF) || (c >= 0xF900 && c <= 0xFAFF) ||
        (c >= 0x20000 && c <= 0x3FFFF) || c == U'々' || c == U'〆' || c == U'〇' || c == U'ヶ' || c == U'仝' || c == U'〻')
        return Kind::Kanji;
    if (c >= 0x3041 && c <= 0x309F) return Kind::Hiragana;
    if ((c >= 0x30A1 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF66 && c <= 0xFF9F)) return Kind::Katakana;
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || (c >= 0xFF10 && c <= 0xFF19) ||
        (c >= 0xFF21 && c <= 0xFF3A) || (c >= 0xFF41 && c <= 0xFF5A) || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7))
        return Kind::Latin;
    return Kind::None;
}

bool isDashedLine(QStringView line) {
    line = line.trimmed();
    if (line.size() < 10) return false;
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c == u'-' || c == u'－' || c == u'―' || c == u'─'; });
}

// The lines of the text, without their breaks.
QList<QStringView> splitLines(QStringView text) {
    QList<QStringView> lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        lines.append(text.sliced(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (start < text.size()) lines.append(text.sliced(start));
    return lines;
}

// Interprets the text line by line into paragraphs.
class Interpreter {
public:
    Interpreter(RubyStyle ruby, const std::function<void()>& between) : m_ruby(ruby), m_between(between) {}

    AozoraText run(QStringView text) {
        const QList<QStringView> lines = splitLines(text);
        const auto [legendStart, legendEnd] = findLegend(lines);
        for (qsizetype n = 0; n < lines.size(); ++n) {
            if (n >= legendStart && n <= legendEnd) continue;
            m_lineNumber = int(n + 1);
            interpretLine(lines[n]);
        }
        return std::move(m_result);
    }

private:
    // The lines of the legend block, or an empty range.
    std::pair<qsizetype, qsizetype> findLegend(const QList<QStringView>& lines) {
        const qsizetype limit = std::min<qsizetype>(lines.size(), LegendSearchLines);
        for (qsizetype n = 0; n < limit; ++n) {
            if (lines[n].trimmed() != LegendTitle) continue;
            qsizetype start = n;
            for (qsizetype k = n - 1; k >= std::max<qsizetype>(0, n - 3); --k) {
                if (isDashedLine(lines[k])) {
                    start = k;
                    break;
                }
            }
            const qsizetype last = std::min<qsizetype>(lines.size(), n + LegendMaxLines);
            for (qsizetype k = n + 1; k < last; ++k)
                if (isDashedLine(lines[k])) return {start, k};
            m_lineNumber = int(n + 1);
            keep(lines[n]);
            return {1, 0};
        }
        return {1, 0};
    }

    void keep(QStringView written) {
        if (m_result.counts.kept++ == 0) {
            m_result.counts.firstKeptLine = m_lineNumber;
            m_result.counts.firstKept = written.first(std::min(written.size(), KeptSampleLength)).toString();
        }
    }

    void tick(qsizetype units) {
        m_sinceBetween += units;
        if (m_sinceBetween < Step) return;
        m_sinceBetween = 0;
        if (m_between) m_between();
    }

    // The next `closer` at or after `from` on the line, remembered so that a
    // line of many openers without closers is still read in one pass.
    qsizetype closing(QStringView line, QChar closer, qsizetype& cache, qsizetype from) {
        if (cache == -2 || (cache >= 0 && cache < from)) {
            cache = line.indexOf(closer, from);
            if (cache < 0) cache = -1;
        }
        return cache;
    }

    void startParagraph(LineLayout layout) {
        m_paragraph = AozoraParagraph();
        m_paragraph.layout = layout;
        m_protectedEnd = 0;
        m_rare.clear();
        m_bar = -1;
    }

    void finishParagraph() {
        if (m_bar >= 0) keep(u"｜");
        m_bar = -1;
        if (!m_paragraph.text.isEmpty()) m_result.paragraphs.append(std::move(m_paragraph));
        m_paragraph = AozoraParagraph();
    }

    LineLayout blockLayout() const {
        LineLayout layout;
        layout.indent = m_blockIndent;
        layout.hangingIndent = m_blockHanging;
        layout.raise = m_blockRaise;
        return layout;
    }

    void interpretLine(QStringView line) {
        startParagraph(blockLayout());
        m_firstOfLine = true;
        qsizetype closeNote = -2, closeRuby = -2, closeAccent = -2;
        qsizetype ticked = 0;
        for (qsizetype i = 0; i < line.size();) {
            tick(i - ticked);
            ticked = i;
            const QChar c = line[i];
            if (c == u'※' && line.sliced(i + 1).startsWith(u"［＃")) {
                const qsizetype end = closing(line, u'］', closeNote, i + 3);
                if (end < 0) {
                    m_paragraph.text += c;
                    ++i;
                } else {
                    addRareCharacter(line.sliced(i + 3, end - i - 3), line.sliced(i, end + 1 - i));
                    i = end + 1;
                }
            } else if (c == u'［' && line.sliced(i + 1).startsWith(u"＃")) {
                const qsizetype end = closing(line, u'］', closeNote, i + 2);
                if (end < 0) {
                    keep(line.sliced(i));
                    m_paragraph.text += line.sliced(i, 2);
                    i += 2;
                    continue;
                }
                const QStringView written = line.sliced(i, end + 1 - i);
                i = end + 1;
                const Annotation a = classifyAnnotation(written.sliced(2, written.size() - 3));
                if (a.kind == Annotation::Kind::Unknown) {
                    keep(written);
                    m_paragraph.text += written;
                    continue;
                }
                ++m_result.counts.annotations;
                apply(a);
            } else if (c == u'｜') {
                if (m_bar >= 0) keep(u"｜");
                m_bar = m_paragraph.text.size();
                m_paragraph.text += c;
                ++i;
            } else if (c == u'《') {
                const qsizetype end = closing(line, u'》', closeRuby, i + 1);
                if (end < 0) {
                    keep(line.sliced(i));
                    m_paragraph.text += c;
                    ++i;
                } else {
                    addRuby(line.sliced(i + 1, end - i - 1), line.sliced(i, end + 1 - i));
                    i = end + 1;
                }
            } else if (c == u'〔') {
                const qsizetype end = closing(line, u'〕', closeAccent, i + 1);
                if (end >= 0 && isAccentSpan(line.sliced(i + 1, end - i - 1))) {
                    m_paragraph.text += composeAccents(line.sliced(i + 1, end - i - 1));
                    i = end + 1;
                } else {
                    m_paragraph.text += c;
                    ++i;
                }
            } else if (c == u'／' && line.sliced(i + 1).startsWith(u"＼")) {
                m_paragraph.text += u"〳〵";
                i += 2;
            } else if (c == u'／' && line.sliced(i + 1).startsWith(u"″＼")) {
                m_paragraph.text += u"〴〵";
                i += 3;
            } else {
                m_paragraph.text += c;
                ++i;
            }
        }
        tick(line.size() - ticked + 2);
        finishParagraph();
    }

    void apply(const Annotation& a) {
        // A block that starts or ends before any text of the line already
        // holds for this line.
        const bool lineStart = m_paragraph.text.isEmpty() && m_firstOfLine;
        using K = Annotation::Kind;
        switch (a.kind) {
        case K::Indent:
            if (m_paragraph.layout.raise < 0) {
                m_paragraph.layout.indent = a.first;
                m_paragraph.layout.hangingIndent = a.rest;
            }
            break;
        case K::BlockIndent:
            m_blockIndent = a.first;
            m_blockHanging = a.rest;
            if (lineStart) m_paragraph.layout = blockLayout();
            break;
        case K::BlockIndentEnd:
            m_blockIndent = m_blockHanging = 0;
            if (lineStart) m_paragraph.layout = blockLayout();
            break;
        case K::RightAlign: {
            // What follows is a line of its own.
            finishParagraph();
            m_firstOfLine = false;
            LineLayout layout;
            layout.raise = a.first;
            startParagraph(layout);
            break;
        }
        case K::BlockRightAlign:
        case K::BlockRightAlignEnd:
            m_blockRaise = a.kind == K::BlockRightAlign ? a.first : -1;
            if (lineStart) m_paragraph.layout = blockLayout();
            break;
        case K::Plain:
        case K::Unknown: break;
        }
    }

    void addRareCharacter(QStringView body, QStringView written) {
        const RareCharacter r = rareCharacter(body);
        if (r.text.isEmpty()) {
            keep(written);
            m_paragraph.text += QStringLiteral("※（%1）").arg(r.description);
            return;
        }
        ++m_result.counts.characters;
        m_rare.append({m_paragraph.text.size(), r.text.size()});
        m_paragraph.text += r.text;
    }

    // The reading of a ruby: annotations go and rare characters are made,
    // as in the text; no ruby inside it.
    QString interpretReading(QStringView reading) {
        QString out;
        for (qsizetype i = 0; i < reading.size();) {
            const bool rare = reading[i] == u'※' && reading.sliced(i + 1).startsWith(u"［＃");
            const qsizetype open = rare ? i + 1 : i;
            if (reading.sliced(open).startsWith(u"［＃")) {
                const qsizetype end = reading.indexOf(u'］', open + 2);
                if (end >= 0) {
                    const QStringView body = reading.sliced(open + 2, end - open - 2);
                    const QStringView written = reading.sliced(i, end + 1 - i);
                    i = end + 1;
                    if (rare) {
                        const RareCharacter r = rareCharacter(body);
                        if (r.text.isEmpty()) {
                            keep(written);
                            out += QStringLiteral("※（%1）").arg(r.description);
                        } else {
                            ++m_result.counts.characters;
                            out += r.text;
                        }
                    } else if (classifyAnnotation(body).kind == Annotation::Kind::Unknown) {
                        keep(written);
                        out += written;
                    } else {
                        ++m_result.counts.annotations;
                    }
                    continue;
                }
            }
            out += reading[i++];
        }
        return out;
    }

    Kind kindAt(qsizetype at, qsizetype& start) const {
        const QString& t = m_paragraph.text;
        // The rare characters are in the order they were made.
        const auto r = std::upper_bound(m_rare.begin(), m_rare.end(), at,
                                        [](qsizetype a, const Unbreakable& u) { return a < u.start; });
        if (r != m_rare.begin() && at < std::prev(r)->start + std::prev(r)->length) {
            start = std::prev(r)->start;
            return Kind::Kanji;
        }
        if (t[at].isLowSurrogate() && at > 0 && t[at - 1].isHighSurrogate()) {
            start = at - 1;
            return kindOf(QChar::surrogateToUcs4(t[at - 1], t[at]));
        }
        start = at;
        return kindOf(t[at].unicode());
    }

    void addRuby(QStringView rawReading, QStringView written) {
        QString& t = m_paragraph.text;
        const QString reading = interpretReading(rawReading);
        qsizetype base = t.size();
        if (m_bar >= 0) {
            base = m_bar + 1;
        } else if (base > m_protectedEnd) {
            // The run of one kind before "《"; rare characters made since the
            // last ruby count as kanji.
            qsizetype start = 0;
            const Kind kind = kindAt(t.size() - 1, start);
            if (kind != Kind::None) {
                base = start;
                while (base > m_protectedEnd) {
                    qsizetype before = 0;
                    if (kindAt(base - 1, before) != kind) break;
                    base = before;
                }
            }
        }
        if (base >= t.size() || reading.isEmpty()) {
            keep(written);
            t += written;
            m_bar = -1;
            return;
        }
        if (m_bar >= 0) {
            t.remove(m_bar, 1);
            --base;
            for (Unbreakable& r : m_rare)
                if (r.start > m_bar) --r.start;
            m_bar = -1;
        }
        ++m_result.counts.ruby;
        if (m_ruby == RubyStyle::Parentheses) {
            t += u'（';
            t += reading;
            t += u'）';
            m_paragraph.groups.append({base, t.size() - base});
        }
        m_protectedEnd = t.size();
        m_rare.clear();
    }

    RubyStyle m_ruby;
    const std::function<void()>& m_between;
    AozoraText m_result;
    AozoraParagraph m_paragraph;
    QList<Unbreakable> m_rare;  // rare characters made since the last ruby
    qsizetype m_protectedEnd = 0;
    qsizetype m_bar = -1;  // where a pending "｜" stands in the paragraph
    int m_blockIndent = 0;
    int m_blockHanging = 0;
    int m_blockRaise = -1;
    int m_lineNumber = 0;
    bool m_firstOfLine = true;  // the paragraph is the first of its line
    qsizetype m_sinceBetween = 0;
};

}  // namespace

AozoraText interpretAozora(QStringView text, RubyStyle ruby, const std::function<void()>& between) {
    return Interpreter(ruby, between).run(text);
}

QStringList aozoraDisplayLines(const AozoraText& text, int width, const std::function<void()>& between) {
    QStringList lines;
    qsizetype since = 0;
    for (const AozoraParagraph& p : text.paragraphs) {
        breakLines(p.text, p.groups, p.layout, width, lines);
        since += p.text.size();
        if (since >= Step) {
            since = 0;
            if (between) between();
        }
    }
    return lines;
}

}  // namespace velreader
