#include "reader/services/recovery.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <climits>
#include <cmath>

#include "common/fileio.h"

namespace velreader {
namespace {

const QString FormatName = QStringLiteral("Velin-Reader recovery");

template <typename Texts>
QJsonArray textArray(const Texts& texts) {
    QJsonArray array;
    for (const QString& text : texts) array.append(text);
    return array;
}

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

}  // namespace

RecoveredBook RecoveredBook::of(const ReaderState& state, const QDateTime& now) {
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

QByteArray serialiseRecovery(const RecoveredBook& book) {
    QJsonObject object;
    object.insert(QStringLiteral("format"), FormatName);
    object.insert(QStringLiteral("version"), RecoveryVersion);
    object.insert(QStringLiteral("written"), book.written.toString(Qt::ISODateWithMs));
    object.insert(QStringLiteral("bookFileName"), book.bookFileName);
    object.insert(QStringLiteral("lineCount"), book.lineCount);
    object.insert(QStringLiteral("displayLines"), textArray(book.displayLines));
    object.insert(QStringLiteral("words"), textArray(book.words));
    object.insert(QStringLiteral("entries"), textArray(book.entries));
    object.insert(QStringLiteral("wordCount"), book.wordCount);
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

ParsedRecovery parseRecovery(QByteArrayView bytes) {
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes.toByteArray(), &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return malformed(QStringLiteral("復元用のファイルの形ではありません"));
    const QJsonObject object = document.object();
    if (object.value(QStringLiteral("format")).toString() != FormatName)
        return malformed(QStringLiteral("復元用のファイルの形ではありません"));
    const QJsonValue version = object.value(QStringLiteral("version"));
    if (!wholeNumber(version, 1, 1'000'000)) return malformed(QStringLiteral("版の番号がありません"));
    if (version.toInt() != RecoveryVersion)
        return {std::nullopt, ParsedRecovery::Problem::OtherVersion,
                QStringLiteral("別の版（%1）のファイルです").arg(version.toInt())};

    RecoveredBook book;
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
    const QDateTime written =
        QDateTime::fromString(object.value(QStringLiteral("written")).toString(), Qt::ISODateWithMs);
    if (!fileName.isString() || !written.isValid()) return malformed(QStringLiteral("本の名前か日時が壊れています"));

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

ParsedRecovery readRecoveryFile(const QString& path) {
    const common::ReadResult read = common::readFile(path, MaxRecoveryFileSize);
    if (read.error.kind == common::FileError::Kind::Missing)
        return {std::nullopt, ParsedRecovery::Problem::Missing, QStringLiteral("ファイルがありません")};
    if (!read.ok()) return malformed(read.error.japaneseReason());
    return parseRecovery(read.bytes);
}

QString RecoveryFile::offer() {
    m_status = RecoveryStatus::None;
    if (m_path.isEmpty()) return {};
    const ParsedRecovery parsed = readRecoveryFile(m_path);
    switch (parsed.problem) {
    case ParsedRecovery::Problem::Missing: return {};
    case ParsedRecovery::Problem::None:
        m_status = RecoveryStatus::Offered;
        return QStringLiteral("前回、保存されないまま終わった本があります（%1）。記録 >「復元」で開けます。")
            .arg(parsed.book->written.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
    case ParsedRecovery::Problem::Malformed:
        m_status = RecoveryStatus::Broken;
        return QStringLiteral("復元用のファイルは壊れているので使いません：%1：%2。").arg(m_path, parsed.error);
    case ParsedRecovery::Problem::OtherVersion:
        m_status = RecoveryStatus::OtherVersion;
        return QStringLiteral("復元用のファイルはこの版では読めないので使いません：%1：%2。").arg(m_path, parsed.error);
    }
    return {};
}

bool RecoveryFile::available() const {
    return !m_path.isEmpty() && (m_status == RecoveryStatus::Offered || m_status == RecoveryStatus::Opened);
}

ParsedRecovery RecoveryFile::open() {
    ParsedRecovery parsed = readRecoveryFile(m_path);
    if (parsed.book) m_status = RecoveryStatus::Opened;
    return parsed;
}

QString RecoveryFile::keep(const RecoveredBook& book) {
    if (m_path.isEmpty()) return QStringLiteral("there is no data folder to keep it in");
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    const common::FileError error = common::replaceFile(m_path, serialiseRecovery(book));
    if (!error.ok()) return QStringLiteral("%1: %2").arg(m_path, error.englishReason());
    m_status = RecoveryStatus::Written;
    return {};
}

void RecoveryFile::finishCleanClose() {
    if (m_path.isEmpty()) return;
    // A file offered but never opened is work the user has not seen yet;
    // another version's file may be readable there. Both stay.
    if (m_status == RecoveryStatus::Opened || m_status == RecoveryStatus::Broken) QFile::remove(m_path);
}

}  // namespace velreader
