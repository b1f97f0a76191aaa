#include "game/rules/best_game_rank.h"

#include <algorithm>

namespace scores {

bool ranksBefore(const BestGame& a, const BestGame& b) {
    if (a.grams != b.grams) return a.grams > b.grams;
    if (a.when != b.when) return a.when < b.when;
    return a.name < b.name;
}

QList<BestGame> merged(const QList<BestGame>& a, const QList<BestGame>& b) {
    QList<BestGame> all = a + b;
    std::sort(all.begin(), all.end(), ranksBefore);
    all.erase(std::unique(all.begin(), all.end()), all.end());
    if (all.size() > kTableSize) all.resize(kTableSize);
    return all;
}

bool belongsIn(const QList<BestGame>& table, int grams) {
    if (grams <= 0 || grams > kMaxGrams) return false;
    // A later equal total ranks below the one already there.
    return table.size() < kTableSize || grams > table[kTableSize - 1].grams;
}

std::optional<BestGame> makeBestGame(int grams, const QDateTime& when, const QString& name) {
    if (grams <= 0 || grams > kMaxGrams || !when.isValid() || name.isEmpty() || name.size() > kMaxNameLength)
        return std::nullopt;
    const QTime t = when.time();
    return BestGame{grams, QDateTime(when.date(), QTime(t.hour(), t.minute(), t.second())), name};
}

}  // namespace scores
