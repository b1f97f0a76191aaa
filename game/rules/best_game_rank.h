#pragma once

#include "game/state/best_game.h"

#include <QList>
#include <optional>

// The order of the best games and which totals enter them.
namespace scores {

// True when `a` stands above `b` in a table: more grams, then the earlier
// game (a later equal total does not pass it), then the name.
bool ranksBefore(const BestGame& a, const BestGame& b);

// Both tables together, each game once, best first, at most ten.
QList<BestGame> merged(const QList<BestGame>& a, const QList<BestGame>& b);

// True when a game of `grams` enters `table`: a total above zero that is
// larger than the tenth best, or any such total while the table has room.
bool belongsIn(const QList<BestGame>& table, int grams);

// A game of `grams` on `when` (cut to whole seconds) for `name`; nullopt
// when one of them is out of range.
std::optional<BestGame> makeBestGame(int grams, const QDateTime& when, const QString& name);

}  // namespace scores
