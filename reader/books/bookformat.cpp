#include "reader/books/bookformat.h"

#include <QStringView>

#include "common/cp932.h"

namespace velreader {
namespace {

const QByteArray CrLf = QByteArrayLiteral("\r\n");

// Where a field stands in the book, for messages: "指定語 3" etc.
QString wordLabel(int i) { return QStringLiteral("指定語 %1").arg(i); }
QString entryLabel(int i) { return QStringLiteral("指定語 %1 の絵ファイルの名前").arg(i); }
QString lineLabel(int i) { return QStringLiteral("表示行 %1").arg(i); }

// Appends one text field and its line end; returns an error text when the
// field cannot be stored.
QString appendField(QByteArray& out, const QString& field, const QString& label) {
    qsizetype lineBreak = field.indexOf(u'\r');
    const qsizetype lf = field.indexOf(u'\n');
    if (lineBreak < 0 || (lf >= 0 && lf < lineBreak)) lineBreak = lf;
    if (lineBreak >= 0)
        return QStringLiteral("%1 の %2 文字目に改行があり、ファイルの行がずれるため保存できません。")
            .arg(label)
            .arg(lineBreak + 1);
    const cp932::EncodeResult encoded = cp932::encode(field);
    if (!encoded.ok) {
        const QString hex = QString::number(static_cast<uint>(encoded.character), 16).toUpper().rightJustified(4, u'0');
        return QStringLiteral("%1 の %2 文字目の「%3」(U+%4) は Shift-JIS で保存できない文字です。")
            .arg(label)
            .arg(encoded.position + 1)
            .arg(QString::fromUcs4(&encoded.character, 1), hex);
    }
    out += encoded.bytes;
    out += CrLf;
    return {};
}

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

}  // namespace

QByteArray printedNumber(int value) {
    QByteArray digits = QByteArray::number(value);
    return value >= 0 ? ' ' + digits + ' ' : digits + ' ';
}

BookBytes serialiseBook(const Book& book) {
    BookBytes result;
    QByteArray out;
    out.reserve(64 * (book.lines.size() + 50));
    out += printedNumber(book.lineCount) + CrLf;
    for (int i = 0; i < BookWordSlots; ++i) {
        result.error = appendField(out, book.words[i], wordLabel(i));
        if (result.error.isEmpty()) result.error = appendField(out, book.entries[i], entryLabel(i));
        if (!result.error.isEmpty()) return result;
    }
    if (book.lineCount != 0) {
        for (int i = 0; i <= book.lineCount; ++i) {
            result.error = appendField(out, book.lines.value(i), lineLabel(i));
            if (!result.error.isEmpty()) return result;
        }
    }
    out += printedNumber(book.wordCount) + CrLf;
    result.bytes = std::move(out);
    return result;
}

ParsedBook parseBook(QByteArrayView bytes) {
    if (bytes.isEmpty()) return failure(QStringLiteral("空のファイルです。"));
    if (bytes.size() > MaxBookFileSize) return failure(QStringLiteral("ファイルが大きすぎます（64 MB まで）。"));
    const qsizetype nul = bytes.indexOf('\0');
    if (nul >= 0)
        return failure(QStringLiteral("%1 バイト目に NUL があります。テキストのブックファイルではありません。").arg(nul + 1));
    const cp932::DecodeResult decoded = cp932::decode(bytes);
    if (!decoded.ok) {
        const qsizetype line = bytes.first(decoded.offset).count('\n') + 1;
        return failure(QStringLiteral("%1 行目（%2 バイト目）が Shift-JIS のテキストではありません。")
                           .arg(line)
                           .arg(decoded.offset + 1));
    }

    // Split into lines; a final line end does not start another line.
    QList<QStringView> lines;
    const QStringView text(decoded.text);
    for (qsizetype start = 0; start < text.size();) {
        qsizetype end = text.indexOf(u'\n', start);
        if (end < 0) end = text.size();
        QStringView line = text.mid(start, end - start);
        if (line.endsWith(u'\r')) line.chop(1);
        lines.append(line);
        start = end + 1;
    }

    Book book;
    const std::optional<int> lineCount = parseNumber(lines.value(0));
    if (!lineCount) return failure(QStringLiteral("1 行目の行数%1が数字ではありません。").arg(quoted(lines.value(0))));
    if (*lineCount < 0) return failure(QStringLiteral("1 行目の行数 %1 が負の数です。").arg(*lineCount));
    book.lineCount = *lineCount;

    if (lines.size() < 1 + 2 * BookWordSlots)
        return failure(QStringLiteral("指定語の途中でファイルが終わっています（%1 行しかありません）。").arg(lines.size()));
    for (int i = 0; i < BookWordSlots; ++i) {
        book.words[i] = withoutLeadingSpaces(lines[1 + 2 * i]);
        book.entries[i] = withoutLeadingSpaces(lines[2 + 2 * i]);
    }

    qsizetype next = 1 + 2 * BookWordSlots;
    if (book.lineCount != 0) {
        const qint64 available = lines.size() - next;
        if (qint64(book.lineCount) + 1 > available)
            return failure(QStringLiteral("行数 %1 に対して表示行が足りません（%2 行しかありません）。")
                               .arg(book.lineCount)
                               .arg(std::max<qint64>(available, 0)));
        book.lines.reserve(book.lineCount + 1);
        for (int i = 0; i <= book.lineCount; ++i) book.lines.append(lines[next + i].toString());
        next += book.lineCount + 1;
    }

    if (next >= lines.size()) return failure(QStringLiteral("最後の単語数の行がありません（ファイルが途中で切れています）。"));
    const std::optional<int> wordCount = parseNumber(lines[next]);
    if (!wordCount)
        return failure(QStringLiteral("%1 行目の単語数%2が数字ではありません。").arg(next + 1).arg(quoted(lines[next])));
    if (*wordCount < 0 || *wordCount > MaxWordCount)
        return failure(QStringLiteral("%1 行目の単語数 %2 が 0 から %3 の範囲にありません。")
                           .arg(next + 1)
                           .arg(*wordCount)
                           .arg(MaxWordCount));
    book.wordCount = *wordCount;
    for (qsizetype i = next + 1; i < lines.size(); ++i)
        if (!lines[i].isEmpty())
            return failure(QStringLiteral("単語数の後の %1 行目に余分な行があります。").arg(i + 1));
    return ParsedBook{std::move(book), {}};
}

}  // namespace velreader
