#pragma once

#include <array>
#include <cstdint>

// Start positions of a new flock, by flock size: sheep k (1-based) of a flock
// of n stands at kFlockLayouts[n - 1][k - 1]. Slots above the flock size are
// parked right of the field at x kParkedX.
struct SheepPosition {
    int16_t x;
    int16_t y;
};

inline constexpr int16_t kParkedX = 220;

inline constexpr std::array<std::array<SheepPosition, 5>, 5> kFlockLayouts{{
    {{{200, 100}}},
    {{{200, 100}, {100, 50}}},
    {{{200, 120}, {80, 70}, {130, 10}}},
    {{{70, 100}, {180, 70}, {150, 30}, {90, 10}}},
    {{{200, 125}, {100, 100}, {145, 75}, {60, 40}, {180, 12}}},
}};

// The slot whose sheep starts rightmost and so ends the round when it has
// left the field: slot 2 for a flock of 4, slot 1 otherwise.
inline constexpr int watchedSlot(int flockSize) { return flockSize == 4 ? 2 : 1; }

// A flock size held in the state's float field, as a whole number 1 to 5, or
// 0 when it is none of those (before the first round).
inline int flockSizeOf(float flockSize) {
    for (int n = 1; n <= 5; ++n) {
        if (flockSize == static_cast<float>(n)) return n;
    }
    return 0;
}
