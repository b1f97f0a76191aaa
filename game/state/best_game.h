#pragma once

#include <QDateTime>
#include <QString>

// One game of the player's best games of shearing, and the bounds of the
// table that keeps them.
namespace scores {

inline constexpr int kTableSize = 10;
inline constexpr int kMaxNameLength = 100;
inline constexpr int kMaxGrams = 32767;

struct BestGame {
    int grams = 0;     // 1 to kMaxGrams
    QDateTime when;    // local time, whole seconds
    QString name;      // 1 to kMaxNameLength characters, any
    bool operator==(const BestGame& other) const {
        return grams == other.grams && when == other.when && name == other.name;
    }
};

}  // namespace scores
