#include "reader/rules/lines.h"

#include <utility>

namespace velreader {
namespace {

const QString CrLf = QStringLiteral("\r\n");

// Where the first CR LF at or after `from` starts in `text`, or -1. Looks
// for each CR with the vectorised single-character search and checks what
// follows: a general substring search pays its set-up at every line of a
// text of short lines.
qsizetype indexOfCrLf(QStringView text, qsizetype from) {
    for (qsizetype at = text.indexOf(u'\r', from); at >= 0; at = text.indexOf(u'\r', at + 1))
        if (at + 1 < text.size() && text[at + 1] == u'\n') return at;
    return -1;
}

// Where the first CR LF CR LF at or after `from` starts in `text`, or -1.
qsizetype indexOfBlankLine(QStringView text, qsizetype from) {
    for (qsizetype at = indexOfCrLf(text, from); at >= 0; at = indexOfCrLf(text, at + 2)) {
        if (at + 3 < text.size() && text[at + 2] == u'\r' && text[at + 3] == u'\n') return at;
    }
    return -1;
}

}  // namespace

Cutter::Cutter(QStringView text) : m_text(text) {}

qsizetype Cutter::pieceLength(qsizetype from, qsizetype width) {
    const qsizetype length = std::min(width, m_text.size() - from);
    if (from + length >= m_text.size()) return length;
    // Whatever the boundary finder says (Qt's finds boundaries inside a
    // surrogate pair after some scripts), a pair is never cut.
    const auto splitsPair = [this](qsizetype at) {
        return at > 0 && at < m_text.size() && m_text[at - 1].isHighSurrogate() && m_text[at].isLowSurrogate();
    };
    if (!m_finder) {
        m_finder.emplace(QTextBoundaryFinder::Grapheme, m_text.data(), int(m_text.size()));
    }
    m_finder->setPosition(int(from + length));
    if (m_finder->isAtBoundary() && !splitsPair(from + length)) return length;
    // Back to the start of the cluster the cut would fall into, if that
    // leaves anything for this piece.
    qsizetype start = m_finder->toPreviousBoundary();
    while (start > from && splitsPair(start)) start = m_finder->toPreviousBoundary();
    if (start > from) return start - from;
    // A single cluster longer than the whole width is cut all the same,
    // though never between the two halves of a surrogate pair.
    qsizetype cut = length;
    if (cut > 1 && splitsPair(from + cut)) --cut;
    return cut;
}

qsizetype pieceLength(QStringView text, qsizetype from, qsizetype width) {
    return Cutter(text).pieceLength(from, width);
}

Reading readText(const QString& text, const std::function<bool()>& between) {
    // Characters handled between two calls of `between`.
    constexpr qsizetype Step = 256 * 1024;
    qsizetype sinceStep = 0;
    const auto breathe = [&](qsizetype done) {
        sinceStep += done;
        if (sinceStep < Step || !between) return true;
        sinceStep = 0;
        return between();
    };

    Reading r;
    // Trimmed of ASCII spaces only (an ideographic space at the start of the
    // first paragraph is kept like the indentation of every other
    // paragraph), then every CR LF CR LF folded into one CR LF, in one pass
    // from the left without overlap.
    //
    // The text is read in place, without a copy with CR LF appended: the
    // appended CR LF ends the text, so only the spaces before the first
    // character go, and it folds with a CR LF that ends the text unless a
    // fold took that one already.
    qsizetype begin = 0;
    while (begin < text.size() && text[begin] == u' ') ++begin;
    const QStringView body = QStringView(text).mid(begin);
    r.sourceText.reserve(body.size() + 2);
    qsizetype foldEnd = -1;  // where the last fold ended
    for (qsizetype i = 0; i < body.size();) {
        const qsizetype from = i;
        const qsizetype stop = std::min(body.size(), i + Step);
        // Only a fold that starts before `stop` belongs to this slice: the
        // search ends there, or a text without blank lines would be searched
        // to its end at every slice.
        const QStringView window = body.first(std::min(body.size(), stop + 3));
        while (i < stop) {
            const qsizetype fold = indexOfBlankLine(window, i);
            const qsizetype upTo = fold < 0 || fold >= stop ? stop : fold;
            r.sourceText += body.mid(i, upTo - i);
            i = upTo;
            if (fold >= 0 && fold == i) {
                r.sourceText += CrLf;
                i += 4;
                foldEnd = i;
            }
        }
        if (!breathe(i - from)) return r;
    }
    if (foldEnd == body.size() || !body.endsWith(CrLf)) r.sourceText += CrLf;

    // Chunks of every paragraph; an empty paragraph yields none.
    const QStringView source(r.sourceText);
    qsizetype start = 0;
    while (start <= source.size()) {
        qsizetype stop = indexOfCrLf(source, start);
        if (stop < 0) stop = source.size();
        const QStringView paragraph = source.mid(start, stop - start);
        Cutter cutter(paragraph);
        for (qsizetype offset = 0; offset < paragraph.size();) {
            const qsizetype length = cutter.pieceLength(offset, ChunkWidth);
            r.chunks.append(paragraph.mid(offset, length).toString());
            offset += length;
        }
        if (!breathe(stop + 2 - start)) return r;
        start = stop + 2;
    }

    // The chunks joined with "△" and seven more "△" after them, cut before
    // the first run of seven "△", one "△" appended, split at every "△":
    // done as one pass over the joined text, without building it. Each "△"
    // ends a line; when a run of seven is complete, the lines end with the
    // one the run's first "△" ended, followed by one empty line.
    QStringList& lines = r.displayLines;
    lines.reserve(r.chunks.size() + 1);
    QString line;
    int run = 0;               // "△" in a row so far
    qsizetype runStart = 0;    // lines in the list when the run began
    bool cut = false;
    const auto separator = [&] {
        if (run++ == 0) runStart = lines.size();
        lines.append(std::exchange(line, QString()));
        if (run == 7) {
            lines.resize(runStart + 1);
            lines.append(QString());
            cut = true;
        }
    };
    const auto add = [&](const QString& chunk) {
        const qsizetype mark = chunk.indexOf(Separator);
        if (mark < 0) {
            // The usual chunk: no "△" inside.
            if (line.isEmpty()) line = chunk; else line += chunk;
            if (!chunk.isEmpty()) run = 0;
            return;
        }
        for (const QChar c : chunk) {
            if (c == QChar(Separator)) {
                separator();
                if (cut) return;
            } else {
                line += c;
                run = 0;
            }
        }
    };
    for (qsizetype i = 0; i < r.chunks.size() && !cut; ++i) {
        if (i > 0) separator();
        if (!cut) add(r.chunks[i]);
        if (!breathe(r.chunks[i].size() + 1)) return r;
    }
    while (!cut) separator();
    return r;
}

QStringList pageRows(const QString& line) {
    if (line.size() <= ChunkWidth) return {line};
    Cutter cutter(line);
    const qsizetype first = cutter.pieceLength(0, ChunkWidth);
    const qsizetype rest = line.size() - first;
    if (rest <= ChunkWidth) return {line.left(first), line.mid(first)};
    const qsizetype second = cutter.pieceLength(first, ChunkWidth);
    return {line.left(first), line.mid(first, second), line.mid(first + second)};
}

QString toCrLf(const QString& text) {
    QString out;
    out.reserve(text.size() + text.size() / 16);
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r')) out += u'\r';
        out += text[i];
    }
    return out;
}

QString toLf(const QString& text) {
    QString out = text;
    out.replace(CrLf, QStringLiteral("\n"));
    return out;
}

}  // namespace velreader
