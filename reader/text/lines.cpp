#include "reader/text/lines.h"

namespace velreader {
namespace {

const QString CrLf = QStringLiteral("\r\n");

// Trims ASCII spaces only; an ideographic space at the start of the first
// paragraph is kept like the indentation of every other paragraph.
QString trimSpaces(const QString& text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && text[begin] == u' ') ++begin;
    while (end > begin && text[end - 1] == u' ') --end;
    return text.mid(begin, end - begin);
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

Reading readText(const QString& text) {
    Reading r;
    r.sourceText = trimSpaces(text + CrLf);
    r.sourceText.replace(QStringLiteral("\r\n\r\n"), CrLf);

    const QStringView source(r.sourceText);
    qsizetype start = 0;
    while (start <= source.size()) {
        qsizetype end = source.indexOf(CrLf, start);
        if (end < 0) end = source.size();
        const QStringView paragraph = source.mid(start, end - start);
        Cutter cutter(paragraph);
        for (qsizetype offset = 0; offset < paragraph.size();) {
            const qsizetype length = cutter.pieceLength(offset, ChunkWidth);
            r.chunks.append(paragraph.mid(offset, length).toString());
            offset += length;
        }
        start = end + 2;
    }

    // The chunks are followed by enough empty slots that a run of seven
    // separators always exists; the text is cut before the first such run,
    // so seven "△" typed by the user end the text there too.
    QString joined = r.chunks.join(QChar(Separator));
    joined += QString(7, QChar(Separator));
    const qsizetype endMark = joined.indexOf(QString(7, QChar(Separator)));
    joined.truncate(endMark);
    joined += QChar(Separator);
    r.displayLines = joined.split(QChar(Separator));
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
