#pragma once

#include "game/state/gamestate.h"
#include "game/state/random.h"

#include <array>
#include <cstdint>

// The shearing game's flock: its start layouts, its run across the field,
// the end of a round and of a game, and the sheep a press shears.
namespace flock {

// Start positions of a new flock, by flock size: sheep k (1-based) of a flock
// of n stands at kLayouts[n - 1][k - 1]. Slots above the flock size are
// parked right of the field at x kParkedX.
struct SheepPosition {
    int16_t x;
    int16_t y;
};

inline constexpr int16_t kParkedX = 220;

inline constexpr std::array<std::array<SheepPosition, 5>, 5> kLayouts{{
    {{{200, 100}}},
    {{{200, 100}, {100, 50}}},
    {{{200, 120}, {80, 70}, {130, 10}}},
    {{{70, 100}, {180, 70}, {150, 30}, {90, 10}}},
    {{{200, 125}, {100, 100}, {145, 75}, {60, 40}, {180, 12}}},
}};

inline constexpr int16_t kStep = 11;        // pixels the flock moves left per tick
inline constexpr int16_t kExitLine = -40;   // a sheep whose x is below it has left the field
inline constexpr int16_t kRoundsPerGame = 10;
inline constexpr int kSheepSize = 40;       // a sheep's hit box and picture
inline constexpr int kLeastGrams = 100;     // a sheep yields 100 to 109 grams
inline constexpr int kGramAmounts = 10;

// The slot whose sheep starts rightmost and so ends the round when it has
// left the field: slot 2 for a flock of 4, slot 1 otherwise.
inline constexpr int watchedSlot(int flockSize) { return flockSize == 4 ? 2 : 1; }

// A flock size held in the state's float field, as a whole number 1 to 5, or
// 0 when it is none of those (before the first round).
int sizeOf(float flockSize);

// A new round: every slot 0 to 10 woolly and parked, the size drawn (one
// number), sheep 1 to that size placed by the layout; SheepY of other slots
// is left as it was. Returns the size.
int layOut(GameState& state, RandomSource& random);

// The reset of the shearing game puts sheep 1 to 5 at (0, 0); their size and
// shorn flags stay, so a press in the field's top left corner still reaches
// the old flock.
void gatherInCorner(GameState& state);

// One tick of the run: slots 0 to 5 move left, whatever the flock's size.
void move(GameState& state);

// True when the sheep that started rightmost has left the field.
bool roundOver(const GameState& state);

// True when the round just ended was the game's last.
inline constexpr bool lastRound(int16_t shearRound) { return shearRound >= kRoundsPerGame; }

// True when a game's total is a new best (an equal total is not).
inline constexpr bool isNewBest(int16_t wool, int16_t best) { return wool > best; }

// A press at (x, y) on the field: ClickX and ClickY are set, and every sheep
// of the flock whose box holds the press is shorn, lower slots first; a sheep
// shorn for the first time adds one draw of 100 to 109 grams to Wool.
// Returns how many sheep were hit, shorn before or not.
int shearAt(GameState& state, RandomSource& random, float x, float y);

// y as a press stores it: rounded to the nearest whole number, a tie going
// to the even one, kept in 16 bits.
int16_t roundClickY(float y);

}  // namespace flock
