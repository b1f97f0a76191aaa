#include "game/services/best_games.h"

#include "common/file_lock.h"
#include "common/fileio.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstdio>

namespace scores {
namespace {

const QString kDateFormat = QStringLiteral("yyyy-MM-dd'T'HH:mm:ss");
constexpr char kHeader[] = "# Woolmere: best games (grams, date, name)\n";

QString escaped(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const QChar c = name[i];
        if (c.isHighSurrogate() && i + 1 < name.size() && name[i + 1].isLowSurrogate()) {
            out += c;
            out += name[++i];
        } else if (c == u'\\') {
            out += QStringLiteral("\\\\");
        } else if (c == u'\t') {
            out += QStringLiteral("\\t");
        } else if (c == u'\n') {
            out += QStringLiteral("\\n");
        } else if (c == u'\r') {
            out += QStringLiteral("\\r");
        } else if (c.unicode() < 0x20 || c.unicode() == 0x7F || c.isSurrogate()) {
            // A lone surrogate has no UTF-8 form: it is kept as its number.
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

int hexValue(QChar c) {
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') return u - u'0';
    if (u >= u'a' && u <= u'f') return u - u'a' + 10;
    if (u >= u'A' && u <= u'F') return u - u'A' + 10;
    return -1;
}

// The name an escaped field stands for; nullopt for an unknown escape.
std::optional<QString> unescaped(const QString& field) {
    QString out;
    out.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (field[i] != u'\\') {
            out += field[i];
            continue;
        }
        if (++i >= field.size()) return std::nullopt;
        switch (field[i].unicode()) {
        case u'\\': out += u'\\'; break;
        case u't': out += u'\t'; break;
        case u'n': out += u'\n'; break;
        case u'r': out += u'\r'; break;
        case u'u': {
            // Exactly four hexadecimal digits.
            if (i + 4 >= field.size()) return std::nullopt;
            ushort code = 0;
            for (qsizetype k = i + 1; k <= i + 4; ++k) {
                const int digit = hexValue(field[k]);
                if (digit < 0) return std::nullopt;
                code = static_cast<ushort>(code * 16 + digit);
            }
            out += QChar(code);
            i += 4;
            break;
        }
        default: return std::nullopt;
        }
    }
    return out;
}

std::optional<BestGame> parseLine(QByteArrayView line) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = utf8.decode(line);
    if (utf8.hasError()) return std::nullopt;
    const QStringList fields = text.split(u'\t');
    if (fields.size() != 3) return std::nullopt;
    // Digits only: no sign, no spaces.
    const QString& grams = fields[0];
    if (grams.isEmpty() || grams.size() > 5 ||
        !std::all_of(grams.begin(), grams.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return std::nullopt;
    const QDateTime when = QDateTime::fromString(fields[1], kDateFormat);
    const std::optional<QString> name = unescaped(fields[2]);
    if (!name) return std::nullopt;
    return makeBestGame(grams.toInt(), when, *name);
}

}  // namespace

QByteArray encode(const QList<BestGame>& table) {
    QByteArray out(kHeader);
    for (const BestGame& game : table) {
        out += QByteArray::number(game.grams) + '\t' + game.when.toString(kDateFormat).toUtf8() + '\t' +
               escaped(game.name).toUtf8() + '\n';
    }
    return out;
}

Decoded decode(QByteArrayView bytes) {
    Decoded result;
    QList<BestGame> valid;
    qsizetype start = 0;
    while (start < bytes.size()) {
        qsizetype end = bytes.indexOf('\n', start);
        if (end < 0) end = bytes.size();
        QByteArrayView line = bytes.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty() || line.startsWith('#')) continue;
        if (const std::optional<BestGame> game = parseLine(line)) {
            valid.append(*game);
        } else {
            ++result.dropped;
        }
    }
    result.table = merged(valid, {});
    return result;
}

savefiles::FileResult readTable(const QString& path, QList<BestGame>& table) {
    table.clear();
    // A file longer than any table this game writes is read from its start.
    const common::ReadResult read = common::readFile(path, kMaxFileSize, false);
    if (read.error.kind == common::FileError::Kind::Missing) return {};
    if (!read.ok())
        return {false, QStringLiteral("Cannot read %1: %2").arg(path, read.error.englishReason())};
    const Decoded decoded = decode(read.bytes);
    table = decoded.table;
    if (decoded.dropped > 0) {
        std::fprintf(stderr, "best games file %s: %d line(s) that are no valid game ignored\n", qPrintable(path),
                     decoded.dropped);
    }
    return {};
}

savefiles::FileResult writeTable(const QString& path, const QList<BestGame>& table) {
    const common::FileError error = common::replaceFile(path, encode(table));
    if (!error.ok()) return {false, QStringLiteral("Cannot write %1: %2").arg(path, error.englishReason())};
    return {};
}

savefiles::FileResult BestGames::load() {
    QList<BestGame> onDisk;
    const savefiles::FileResult result = readTable(m_path, onDisk);
    m_table = merged(m_table, onDisk);
    return result;
}

savefiles::FileResult BestGames::add(const BestGame& game) {
    m_table = merged(m_table, {game});
    m_newest = game;
    return save();
}

savefiles::FileResult BestGames::save() {
    // Read, merged and written under the lock: another window may be saving now.
    const common::FileLock lock = common::FileLock::acquire(m_path);
    QList<BestGame> onDisk;
    const savefiles::FileResult read = readTable(m_path, onDisk);
    if (!read.ok) return read;
    m_table = merged(m_table, onDisk);
    // Nothing new for the file: it stays as it is (and a window that never
    // entered a game makes no file).
    if (m_table == onDisk) return {};
    return writeTable(m_path, m_table);
}

}  // namespace scores
