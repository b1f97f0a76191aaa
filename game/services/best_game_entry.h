#pragma once

#include "game/services/best_games.h"

#include <cstdint>
#include <optional>

namespace scores {

// The best games as the game uses them: the table of one window and the
// total of a finished game that waits for its player's name.
class BestGameEntry {
public:
    explicit BestGameEntry(QString path) : m_games(std::move(path)) {}

    const QList<BestGame>& table() const { return m_games.table(); }
    // The game entered last in this window, marked in the table.
    const std::optional<BestGame>& newest() const { return m_games.newest(); }
    // The total waiting for a name, if any.
    const std::optional<int16_t>& pending() const { return m_pending; }

    // Reads the table's file, merging it with what the window holds.
    savefiles::FileResult load() { return m_games.load(); }

    // A game has ended with `grams`: it waits for a name when it enters the
    // table.
    void gameOver(int16_t grams) {
        if (m_games.belongsIn(grams)) m_pending = grams;
    }

    // Enters the waiting game under `name`, played on `when`, and writes the
    // table; the game is kept in the window's table either way. Nothing to
    // do without a waiting game; a name that is empty or too long is refused.
    savefiles::FileResult enter(const QString& name, const QDateTime& when);

    // The player declined to enter the waiting game.
    void skip() { m_pending.reset(); }

    // Merges the table with its file and writes it when that changes it.
    savefiles::FileResult save() { return m_games.save(); }

private:
    BestGames m_games;
    std::optional<int16_t> m_pending;
};

}  // namespace scores
