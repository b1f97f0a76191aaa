#pragma once

#include "game/rules/best_game_rank.h"
#include "game/state/best_game.h"
#include "game/state/file_result.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// The table of a player's ten best games of shearing, kept in a UTF-8 text
// file beside "hituji.dat". The file starts with a comment line; then each
// line is one game: the grams, a tab, the local date and time
// (2026-12-08T14:03:00), a tab and the name, in which a backslash, a tab,
// a line break and every other control character or lone surrogate is
// written as an escape (\\, \t, \n, \r, \uXXXX), so any name reads back
// exactly. The file is always written whole, to a new file renamed over the
// old one.
namespace scores {

inline constexpr char kBestGamesFileName[] = "hituji_best.txt";
// What the file may hold at most; a longer file is read up to here.
inline constexpr qint64 kMaxFileSize = 1024 * 1024;

QByteArray encode(const QList<BestGame>& table);

struct Decoded {
    QList<BestGame> table;  // the ten best valid games, best first
    int dropped = 0;        // lines that were no valid game
};
// Reads every line; a line that is no valid game (missing fields, grams out
// of range, a bad date, a name too long, broken UTF-8) is dropped.
Decoded decode(QByteArrayView bytes);

// Reads the table at `path`. A missing file is an empty table; a file with
// dropped lines gives its valid games and one line on stderr. Anything but
// a regular file, or a file the system refuses, is an error.
savefiles::FileResult readTable(const QString& path, QList<BestGame>& table);

// Writes `table` whole to `path`.
savefiles::FileResult writeTable(const QString& path, const QList<BestGame>& table);

// The table one window keeps: what the file held at start, with the games
// entered in this window, merged with the file again whenever it writes, so
// that two windows never lose each other's games.
class BestGames {
public:
    explicit BestGames(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }
    const QList<BestGame>& table() const { return m_table; }
    // The game entered last in this window, marked in the table.
    const std::optional<BestGame>& newest() const { return m_newest; }

    // Reads the file, merging it with what the window holds.
    savefiles::FileResult load();
    bool belongsIn(int grams) const { return scores::belongsIn(m_table, grams); }
    // Enters a game and writes the table, merged with the file as it is now.
    savefiles::FileResult add(const BestGame& game);
    // Merges the table with the file as it is now and writes it when that
    // changes the file. Nothing is written for a window that never had a
    // game to add to a file that does not exist.
    savefiles::FileResult save();

private:
    QString m_path;
    QList<BestGame> m_table;
    std::optional<BestGame> m_newest;
};

}  // namespace scores
