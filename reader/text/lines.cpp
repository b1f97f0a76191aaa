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

qsizetype pieceLength(QStringView text, qsizetype from, qsizetype width) {
    qsizetype length = std::min(width, text.size() - from);
    if (length > 1 && from + length < text.size() && text[from + length - 1].isHighSurrogate() &&
        text[from + length].isLowSurrogate())
        --length;
    return length;
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
        for (qsizetype offset = 0; offset < paragraph.size();) {
            const qsizetype length = pieceLength(paragraph, offset, ChunkWidth);
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
    const qsizetype first = pieceLength(line, 0, ChunkWidth);
    const qsizetype rest = line.size() - first;
    if (rest <= ChunkWidth) return {line.left(first), line.mid(first)};
    const qsizetype second = pieceLength(line, first, ChunkWidth);
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
