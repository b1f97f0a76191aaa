#include "reader/services/recovery.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <climits>
#include <cmath>

#include "common/fileio.h"

namespace velreader {
namespace {

const QString FormatName = QStringLiteral("Velin-Reader recovery");
// The first line is short; a longer one is no summary of ours.
constexpr qint64 MaxSummarySize = 64 * 1024;

// A whole number in [min, max], else nothing.
std::optional<int> wholeNumber(const QJsonValue& value, int min, int max) {
    if (!value.isDouble()) return std::nullopt;
    const double d = value.toDouble();
    if (d != std::floor(d) || d < min || d > max) return std::nullopt;
    return int(d);
}

// Every element of `value` as a text, or nothing when one is not a text.
std::optional<QStringList> texts(const QJsonValue& value) {
    if (!value.isArray()) return std::nullopt;
    const QJsonArray array = value.toArray();
    QStringList out;
    out.reserve(array.size());
    for (const QJsonValue& v : array) {
        if (!v.isString()) return std::nullopt;
        out << v.toString();
    }
    return out;
}

ParsedRecovery malformed(const QString& why) { return {std::nullopt, ParsedRecovery::Problem::Malformed, why}; }

// `text` as a JSON string. Written by hand: the book of 330,000 lines is
// written in a fraction of the time QJsonDocument takes. A lone surrogate
// is written as its escape, so that it reads back as it was.
void appendString(QByteArray& out, QStringView text) {
    bool plain = true;
    for (const QChar c : text) {
        if (c.unicode() < 0x20 || c == u'"' || c == u'\\' || c.isSurrogate()) {
            plain = false;
            break;
        }
    }
    out += '"';
    if (plain) {
        out += text.toUtf8();
    } else {
        QString escaped;
        escaped.reserve(text.size() + 16);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text[i];
            if (c == u'"' || c == u'\\') {
                escaped += u'\\';
                escaped += c;
            } else if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
                escaped += c;
                escaped += text[++i];
            } else if (c.unicode() < 0x20 || c.isSurrogate()) {
                escaped += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QChar(u'0'));
            } else {
                escaped += c;
            }
        }
        out += escaped.toUtf8();
    }
    out += '"';
}

template <typename Texts>
void appendStrings(QByteArray& out, const Texts& texts) {
    out += '[';
    bool first = true;
    for (const QString& text : texts) {
        if (!first) out += ",\n";
        first = false;
        appendString(out, text);
    }
    out += ']';
}

std::optional<RecoverySummary> summaryOf(const QJsonObject& object) {
    const QDateTime written = QDateTime::fromString(object.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    const std::optional<int> lines = wholeNumber(object.value(QStringLiteral("lines")), 0, INT_MAX);
    const std::optional<int> designations = wholeNumber(object.value(QStringLiteral("designations")), 0, WordSlots);
    const QJsonValue title = object.value(QStringLiteral("title"));
    if (!written.isValid() || !lines || !designations || !title.isString()) return std::nullopt;
    return RecoverySummary{title.toString(), written, *lines, *designations};
}

// The first line of a version 2 file, when it is one.
std::optional<QJsonObject> headerOf(QByteArrayView bytes) {
    const qsizetype end = bytes.indexOf('\n');
    if (end < 0) return std::nullopt;
    const QJsonDocument header = QJsonDocument::fromJson(bytes.first(end).toByteArray());
    if (!header.isObject()) return std::nullopt;
    return header.object();
}

// The work itself, checked whole; `version` 1 reads it from the one object.
ParsedRecovery parseBody(const QJsonObject& object, const QDateTime& written) {
    const std::optional<QStringList> lines = texts(object.value(QStringLiteral("displayLines")));
    const std::optional<QStringList> words = texts(object.value(QStringLiteral("words")));
    const std::optional<QStringList> entries = texts(object.value(QStringLiteral("entries")));
    if (!lines || !words || !entries) return malformed(QStringLiteral("文章か指定単語が壊れています"));
    if (words->size() != WordSlots || entries->size() != WordSlots)
        return malformed(QStringLiteral("指定単語の数が %1 ではありません").arg(WordSlots));
    const int lastLine = std::max<int>(0, int(std::min<qsizetype>(lines->size(), INT_MAX)) - 1);
    const std::optional<int> lineCount = wholeNumber(object.value(QStringLiteral("lineCount")), 0, lastLine);
    const std::optional<int> wordCount = wholeNumber(object.value(QStringLiteral("wordCount")), 0, MaxWordCount);
    if (!lineCount || !wordCount) return malformed(QStringLiteral("行数か指定単語の数が正しくありません"));
    const QJsonValue fileName = object.value(QStringLiteral("bookFileName"));
    if (!fileName.isString() || !written.isValid()) return malformed(QStringLiteral("本の名前か日時が壊れています"));

    RecoveredBook book;
    book.lineCount = *lineCount;
    book.displayLines = *lines;
    for (int i = 0; i < WordSlots; ++i) {
        book.words[i] = words->at(i);
        book.entries[i] = entries->at(i);
    }
    book.wordCount = *wordCount;
    book.bookFileName = fileName.toString();
    book.written = written;
    return {std::move(book), ParsedRecovery::Problem::None, {}};
}

// The format and version of a first line (or of a version 1 object):
// nothing when they are ours, else the problem.
std::optional<ParsedRecovery> checkVersion(const QJsonObject& object, int expected) {
    if (object.value(QStringLiteral("format")).toString() != FormatName)
        return malformed(QStringLiteral("復元用のファイルの形ではありません"));
    const QJsonValue version = object.value(QStringLiteral("version"));
    if (!wholeNumber(version, 1, 1'000'000)) return malformed(QStringLiteral("版の番号がありません"));
    if (version.toInt() != expected)
        return ParsedRecovery{std::nullopt, ParsedRecovery::Problem::OtherVersion,
                              QStringLiteral("別の版（%1）のファイルです").arg(version.toInt())};
    return std::nullopt;
}

QDateTime writtenOf(const QJsonObject& object) {
    return QDateTime::fromString(object.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
}

}  // namespace

RecoveredBook RecoveredBook::of(const ReaderState& state, const QDateTime& now) {
    // The texts are shared, not copied: this is cheap for any book.
    RecoveredBook book;
    book.lineCount = state.LineCount;
    book.displayLines = state.DisplayLines;
    book.words = state.WordTable;
    book.entries = state.PictureTable;
    book.wordCount = state.WordCount;
    book.bookFileName = state.BookFileName;
    book.written = now;
    return book;
}

void RecoveredBook::restoreInto(ReaderState& state) const {
    state.LineCount = lineCount;
    state.DisplayLines = displayLines;
    state.WordTable = words;
    state.PictureTable = entries;
    state.WordCount = wordCount;
    state.BookFileName = bookFileName;
}

int RecoveredBook::designations() const {
    int count = 0;
    for (int i = 0; i < WordSlots; ++i) count += !(words[i].isEmpty() && entries[i].isEmpty());
    return count;
}

common::FileError writeRecovery(const RecoveredBook& book, const RecoveryBytesSink& put) {
    // Handed on a piece at a time: the bytes of a big book are never whole
    // in memory beside it.
    constexpr qsizetype PieceSize = 256 * 1024;
    QJsonObject header;
    header.insert(QStringLiteral("format"), FormatName);
    header.insert(QStringLiteral("version"), RecoveryVersion);
    header.insert(QStringLiteral("written"), book.written.toString(Qt::ISODateWithMs));
    header.insert(QStringLiteral("title"), book.displayLines.value(0));
    header.insert(QStringLiteral("lines"), book.lineCount);
    header.insert(QStringLiteral("designations"), book.designations());
    QByteArray out = QJsonDocument(header).toJson(QJsonDocument::Compact);
    out.reserve(PieceSize + 64 * 1024);
    out += "\n{\"bookFileName\": ";
    appendString(out, book.bookFileName);
    out += ",\n\"lineCount\": " + QByteArray::number(book.lineCount);
    out += ",\n\"wordCount\": " + QByteArray::number(book.wordCount);
    out += ",\n\"words\": ";
    appendStrings(out, book.words);
    out += ",\n\"entries\": ";
    appendStrings(out, book.entries);
    out += ",\n\"displayLines\": [";
    for (qsizetype i = 0; i < book.displayLines.size(); ++i) {
        if (i > 0) out += ",\n";
        appendString(out, book.displayLines[i]);
        if (out.size() >= PieceSize) {
            if (const common::FileError error = put(out); !error.ok()) return error;
            out.resize(0);
        }
    }
    out += "]}\n";
    return put(out);
}

QByteArray serialiseRecovery(const RecoveredBook& book) {
    QByteArray bytes;
    writeRecovery(book, [&](QByteArrayView piece) {
        bytes += piece;
        return common::FileError{};
    });
    return bytes;
}

ParsedRecovery parseRecovery(QByteArrayView bytes) {
    if (const std::optional<QJsonObject> header = headerOf(bytes)) {
        if (std::optional<ParsedRecovery> wrong = checkVersion(*header, RecoveryVersion)) return *wrong;
        QJsonParseError error{};
        const QJsonDocument body = QJsonDocument::fromJson(bytes.sliced(bytes.indexOf('\n') + 1).toByteArray(), &error);
        if (error.error != QJsonParseError::NoError || !body.isObject())
            return malformed(QStringLiteral("復元用のファイルが途中で切れているか壊れています"));
        return parseBody(body.object(), writtenOf(*header));
    }
    // Version 1: one object.
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return malformed(QStringLiteral("復元用のファイルの形ではありません"));
    const QJsonObject object = document.object();
    if (std::optional<ParsedRecovery> wrong = checkVersion(object, 1)) return *wrong;
    return parseBody(object, writtenOf(object));
}

ParsedRecovery readRecoveryFile(const QString& path) {
    const common::ReadResult read = common::readFile(path, MaxRecoveryFileSize);
    if (read.error.kind == common::FileError::Kind::Missing)
        return {std::nullopt, ParsedRecovery::Problem::Missing, QStringLiteral("ファイルがありません")};
    if (!read.ok()) return malformed(read.error.japaneseReason());
    return parseRecovery(read.bytes);
}

SummaryResult readRecoverySummary(const QString& path) {
    const common::ReadResult start = common::readFile(path, MaxSummarySize, false);
    if (!start.ok()) return {std::nullopt, start.error.japaneseReason()};
    if (const std::optional<QJsonObject> header = headerOf(start.bytes)) {
        if (const std::optional<ParsedRecovery> wrong = checkVersion(*header, RecoveryVersion)) return {std::nullopt, wrong->error};
        if (std::optional<RecoverySummary> summary = summaryOf(*header)) return {summary, {}};
        return {std::nullopt, QStringLiteral("復元用のファイルの見出しが壊れています")};
    }
    // A version 1 file has no first line of its own: read it whole.
    const ParsedRecovery parsed = readRecoveryFile(path);
    if (!parsed.book) return {std::nullopt, parsed.error};
    const RecoveredBook& book = *parsed.book;
    return {RecoverySummary{book.displayLines.value(0), book.written, book.lineCount, book.designations()}, {}};
}

}  // namespace velreader
