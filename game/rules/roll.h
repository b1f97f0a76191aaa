#pragma once

#include "game/state/random.h"

#include <cstdint>

// The roll: the sheep one tick drops and the judgement of a stopped count.
namespace roll {

inline constexpr int16_t kWinningCount = 777;
inline constexpr int16_t kLimit = 1000;

// True when a stop at `count` is a success.
inline constexpr bool isSuccess(int16_t count) { return count == kWinningCount; }

// True when a tick that begins at `count` ends the roll (it still completes).
inline constexpr bool endsAtLimit(int16_t count) { return count > kLimit; }

// Where one tick drops its sheep and which picture it is.
struct Drop {
    int16_t x = 0;   // -5 to 174
    int16_t y = 0;   // -5 to 114
    int sprite = 1;  // 1 to 5 face left, 6 to 10 face right
};

// Draws the three numbers of a tick, in this order: x, y, sprite number.
inline Drop drawDrop(RandomSource& random) {
    Drop drop;
    drop.x = static_cast<int16_t>(randomChoice(random, 180, -5));
    drop.y = static_cast<int16_t>(randomChoice(random, 120, -5));
    drop.sprite = randomChoice(random, 10, 1);
    return drop;
}

}  // namespace roll
