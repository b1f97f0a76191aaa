#include "reader/rules/bookformat.h"

#include <algorithm>
#include <vector>

#include <QStringView>

#include "common/cp932.h"

namespace velreader {
namespace {

const QString CrLf = QStringLiteral("\r\n");

// Distinct characters named in a refusal; the rest are counted.
constexpr int NamedProblems = 10;

// Spaces around a number are skipped; what remains must be an optional
// minus sign and ASCII digits that fit an int.
std::optional<int> parseNumber(QStringView field) {
    while (!field.isEmpty() && (field.front() == u' ' || field.front() == u'\t')) field = field.mid(1);
    while (!field.isEmpty() && (field.back() == u' ' || field.back() == u'\t')) field.chop(1);
    if (field.isEmpty()) return std::nullopt;
    const qsizetype digitsFrom = field.front() == u'-' ? 1 : 0;
    if (digitsFrom == field.size()) return std::nullopt;
    for (qsizetype i = digitsFrom; i < field.size(); ++i)
        if (field[i] < u'0' || field[i] > u'9') return std::nullopt;
    bool ok = false;
    const int value = field.toInt(&ok);
    if (!ok) return std::nullopt;
    return value;
}

QString withoutLeadingSpaces(QStringView field) {
    qsizetype i = 0;
    while (i < field.size() && field[i] == u' ') ++i;
    return field.mid(i).toString();
}

// A field shown in a message: at most 20 characters.
QString quoted(QStringView field) {
    return QStringLiteral("「%1」").arg(field.size() > 20 ? field.left(20).toString() + u'…' : field.toString());
}

ParsedBook failure(QString text) { return ParsedBook{std::nullopt, std::move(text)}; }

// A character as a message shows it: itself in brackets, unless it would
// not be seen (a control character or a lone surrogate), then its name only.
QString shownCharacter(char32_t c) {
    if (c < 0x20 || c == 0x7F || (c >= 0x80 && c < 0xA0) || (c >= 0xD800 && c <= 0xDFFF)) return {};
    const QChar::Category category = QChar::category(c);
    if (category == QChar::Mark_NonSpacing || category == QChar::Mark_SpacingCombining ||
        category == QChar::Mark_Enclosing || category == QChar::Other_Format)
        return {};
    return QStringLiteral("「%1」").arg(QString::fromUcs4(&c, 1));
}

// "表示行 3 の 5 文字目", "指定 0 の単語の 2 文字目"
QString place(const BookField& field, qsizetype column) {
    const QString label = field.label();
    return QStringLiteral("%1%2%3 文字目").arg(label, label.back().isDigit() ? QStringLiteral(" の ") : QStringLiteral("の ")).arg(column);
}

// Characters as a reader counts them: a surrogate pair is one.
qsizetype characterColumn(QStringView field, qsizetype unitIndex) {
    qsizetype column = 1;
    for (qsizetype i = 0; i < unitIndex && i < field.size(); ++i)
        if (!field[i].isLowSurrogate() || i == 0 || !field[i - 1].isHighSurrogate()) ++column;
    return column;
}

}  // namespace

QString BookField::label() const {
    switch (kind) {
    case Kind::Word: return QStringLiteral("指定 %1 の単語").arg(index);
    case Kind::Entry: return QStringLiteral("指定 %1 の絵ファイル名").arg(index);
    case Kind::Line: return QStringLiteral("表示行 %1").arg(index + 1);
    }
    return {};
}

QByteArray printedNumber(int value) {
    QByteArray digits = QByteArray::number(value);
    return value >= 0 ? ' ' + digits + ' ' : digits + ' ';
}

BookBytes serialiseBook(const Book& book, const std::function<void()>& between) {
    // Characters encoded at once: a few milliseconds of work.
    constexpr qsizetype PieceLength = 128 * 1024;
    BookBytes result;
    // The fields in file order, and where each starts in the joined text.
    std::vector<BookField> fields;
    std::vector<qsizetype> starts;
    QString text;
    qsizetype size = 64;
    for (const QString& line : book.lines) size += line.size() + 2;
    text.reserve(size + 64 * BookWordSlots);
    QByteArray bytes;
    QList<cp932::Unencodable> unencodable;
    qsizetype encoded = 0;  // the text up to here is in `bytes` or refused
    // Pieces end at line ends, so a piece never splits a character.
    const auto encodePiece = [&] {
        cp932::EncodeResult piece = cp932::encode(QStringView(text).mid(encoded));
        if (piece.ok) {
            bytes += piece.bytes;
        } else {
            for (cp932::Unencodable u : piece.unencodable) {
                u.position += encoded;
                unencodable.append(u);
            }
        }
        encoded = text.size();
        if (between) between();
    };
    text += QString::fromLatin1(printedNumber(book.lineCount)) + CrLf;
    const auto add = [&](const QString& field, BookField where) -> bool {
        qsizetype lineBreak = field.indexOf(u'\r');
        const qsizetype lf = field.indexOf(u'\n');
        if (lineBreak < 0 || (lf >= 0 && lf < lineBreak)) lineBreak = lf;
        if (lineBreak >= 0) {
            result.error = QStringLiteral("セーブできません：%1に改行があり、ファイルの行がずれるため保存できません。")
                               .arg(place(where, characterColumn(field, lineBreak)));
            return false;
        }
        fields.push_back(where);
        starts.push_back(text.size());
        text += field;
        text += CrLf;
        return true;
    };
    for (int i = 0; i < BookWordSlots; ++i) {
        if (!add(book.words[i], {BookField::Kind::Word, i}) || !add(book.entries[i], {BookField::Kind::Entry, i}))
            return result;
    }
    if (book.lineCount != 0) {
        for (int i = 0; i <= book.lineCount; ++i) {
            if (!add(book.lines.value(i), {BookField::Kind::Line, i})) return result;
            if (text.size() - encoded >= PieceLength) encodePiece();
        }
    }
    text += QString::fromLatin1(printedNumber(book.wordCount)) + CrLf;
    encodePiece();

    if (unencodable.isEmpty()) {
        result.bytes = std::move(bytes);
        return result;
    }
    // Each character named once, at its first place.
    QList<cp932::Unencodable> distinct;
    for (const cp932::Unencodable& u : unencodable) {
        if (std::none_of(distinct.begin(), distinct.end(), [&](const cp932::Unencodable& d) { return d.character == u.character; }))
            distinct.append(u);
    }
    for (const cp932::Unencodable& u : distinct) {
        const auto after = std::upper_bound(starts.begin(), starts.end(), u.position);
        const qsizetype f = std::max<qsizetype>(0, (after - starts.begin()) - 1);
        result.problems.append(
            {u.character, fields[f], characterColumn(QStringView(text).mid(starts[f]), u.position - starts[f])});
    }
    QStringList named;
    for (int i = 0; i < result.problems.size() && i < NamedProblems; ++i) {
        const BookProblem& p = result.problems[i];
        named << QStringLiteral("%1%2（%3）")
                     .arg(shownCharacter(p.character), cp932::codePointName(p.character), place(p.field, p.column));
    }
    result.error = QStringLiteral("セーブできません：Shift-JIS で同じ文字として保存できない文字があります。\r\n") +
                   named.join(CrLf);
    if (result.problems.size() > NamedProblems)
        result.error += CrLf + QStringLiteral("ほかに %1 種類の文字があります。").arg(result.problems.size() - NamedProblems);
    return result;
}

BookReader::BookReader(QByteArray bytes) : m_bytes(std::move(bytes)) {}

bool BookReader::step() {
    if (m_done) return true;
    if (m_next == 0) {
        if (m_bytes.isEmpty()) {
            m_result = failure(QStringLiteral("空のファイルです。"));
            return m_done = true;
        }
        if (m_bytes.size() > MaxBookFileSize) {
            m_result = failure(QStringLiteral("ファイルが大きすぎます（64 MB まで）。"));
            return m_done = true;
        }
        const qsizetype nul = m_bytes.indexOf('\0');
        if (nul >= 0) {
            m_result = failure(
                QStringLiteral("%1 バイト目に NUL があります。テキストのブックファイルではありません。").arg(nul + 1));
            return m_done = true;
        }
    }
    if (m_next < m_bytes.size()) {
        // Decoded a piece at a time, each ending after a line feed: in code
        // page 932 the byte 0A is never part of a two-byte character.
        qsizetype end = std::min(m_bytes.size(), m_next + StepBytes);
        if (end < m_bytes.size()) {
            const qsizetype lf = m_bytes.lastIndexOf('\n', end - 1);
            end = lf >= m_next ? lf + 1 : m_bytes.indexOf('\n', end);
            if (end < 0) end = m_bytes.size();
        }
        const QByteArrayView piece = QByteArrayView(m_bytes).sliced(m_next, end - m_next);
        const cp932::DecodeResult decoded = cp932::decode(piece);
        if (!decoded.ok) {
            const qsizetype offset = m_next + decoded.offset;
            const qsizetype line = QByteArrayView(m_bytes).first(offset).count('\n') + 1;
            m_result = failure(QStringLiteral("%1 行目（%2 バイト目）が Shift-JIS のテキストではありません。")
                                   .arg(line)
                                   .arg(offset + 1));
            return m_done = true;
        }
        // Split into lines; a final line end does not start another line.
        const QStringView text(decoded.text);
        for (qsizetype start = 0; start < text.size();) {
            qsizetype lineEnd = text.indexOf(u'\n', start);
            if (lineEnd < 0) lineEnd = text.size();
            QStringView line = text.mid(start, lineEnd - start);
            if (line.endsWith(u'\r')) line.chop(1);
            m_lines.append(line.toString());
            start = lineEnd + 1;
        }
        m_next = end;
        if (m_next < m_bytes.size()) return false;
    }
    m_bytes.clear();
    finish();
    return m_done = true;
}

bool BookReader::finish() {
    const QStringList& lines = m_lines;
    Book book;
    const std::optional<int> lineCount = parseNumber(lines.value(0));
    if (!lineCount) {
        m_result = failure(QStringLiteral("1 行目の行数%1が数字ではありません。").arg(quoted(lines.value(0))));
        return false;
    }
    if (*lineCount < 0) {
        m_result = failure(QStringLiteral("1 行目の行数 %1 が負の数です。").arg(*lineCount));
        return false;
    }
    book.lineCount = *lineCount;

    if (lines.size() < 1 + 2 * BookWordSlots) {
        m_result = failure(QStringLiteral("指定語の途中でファイルが終わっています（%1 行しかありません）。").arg(lines.size()));
        return false;
    }
    for (int i = 0; i < BookWordSlots; ++i) {
        book.words[i] = withoutLeadingSpaces(lines[1 + 2 * i]);
        book.entries[i] = withoutLeadingSpaces(lines[2 + 2 * i]);
    }

    qsizetype next = 1 + 2 * BookWordSlots;
    if (book.lineCount != 0) {
        const qint64 available = lines.size() - next;
        if (qint64(book.lineCount) + 1 > available) {
            m_result = failure(QStringLiteral("行数 %1 に対して表示行が足りません（%2 行しかありません）。")
                                   .arg(book.lineCount)
                                   .arg(std::max<qint64>(available, 0)));
            return false;
        }
        book.lines = lines.mid(next, book.lineCount + 1);
        next += book.lineCount + 1;
    }

    if (next >= lines.size()) {
        m_result = failure(QStringLiteral("最後の単語数の行がありません（ファイルが途中で切れています）。"));
        return false;
    }
    const std::optional<int> wordCount = parseNumber(lines[next]);
    if (!wordCount) {
        m_result = failure(QStringLiteral("%1 行目の単語数%2が数字ではありません。").arg(next + 1).arg(quoted(lines[next])));
        return false;
    }
    if (*wordCount < 0 || *wordCount > MaxWordCount) {
        m_result = failure(QStringLiteral("%1 行目の単語数 %2 が 0 から %3 の範囲にありません。")
                               .arg(next + 1)
                               .arg(*wordCount)
                               .arg(MaxWordCount));
        return false;
    }
    book.wordCount = *wordCount;
    for (qsizetype i = next + 1; i < lines.size(); ++i) {
        if (!lines[i].isEmpty()) {
            m_result = failure(QStringLiteral("単語数の後の %1 行目に余分な行があります。").arg(i + 1));
            return false;
        }
    }
    m_result = ParsedBook{std::move(book), {}};
    m_lines.clear();
    return true;
}

ParsedBook parseBook(QByteArrayView bytes) {
    BookReader reader{bytes.toByteArray()};
    while (!reader.step()) {
    }
    return reader.result();
}

}  // namespace velreader
