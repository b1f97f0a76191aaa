#include "game/rules/flock.h"

#include <cmath>

namespace flock {

int sizeOf(float flockSize) {
    for (int n = 1; n <= 5; ++n) {
        if (flockSize == static_cast<float>(n)) return n;
    }
    return 0;
}

int layOut(GameState& state, RandomSource& random) {
    for (int i = 0; i <= 10; ++i) {
        state.Sheared[i] = 0;
        state.SheepX[i] = kParkedX;
    }
    const int size = randomChoice(random, 5, 1);
    state.FlockSize = static_cast<float>(size);
    for (int k = 1; k <= size; ++k) {
        state.SheepX[k] = kLayouts[size - 1][k - 1].x;
        state.SheepY[k] = kLayouts[size - 1][k - 1].y;
    }
    return size;
}

void gatherInCorner(GameState& state) {
    for (int k = 1; k <= 5; ++k) {
        state.SheepX[k] = 0;
        state.SheepY[k] = 0;
    }
}

void move(GameState& state) {
    for (state.SheepIndex = 0; state.SheepIndex <= 5; ++state.SheepIndex) {
        state.SheepX[state.SheepIndex] = saturatingAdd(state.SheepX[state.SheepIndex], -kStep);
    }
}

bool roundOver(const GameState& state) {
    const int n = sizeOf(state.FlockSize);
    return n != 0 && state.SheepX[watchedSlot(n)] < kExitLine;
}

int16_t roundClickY(float y) {
    const float r = std::nearbyint(y);
    if (!(r >= INT16_MIN)) return INT16_MIN;  // also catches NaN
    if (r > INT16_MAX) return INT16_MAX;
    return static_cast<int16_t>(r);
}

int shearAt(GameState& state, RandomSource& random, float x, float y) {
    state.ClickX = x;
    state.ClickY = roundClickY(y);
    int hits = 0;
    const int n = sizeOf(state.FlockSize);
    for (int i = 1; i <= n; ++i) {
        // The whole 40 x 40 box counts, with strict comparisons on all sides.
        const bool hit = state.ClickX > state.SheepX[i] && state.ClickX < state.SheepX[i] + kSheepSize &&
                         state.ClickY > state.SheepY[i] && state.ClickY < state.SheepY[i] + kSheepSize;
        if (!hit) continue;
        if (state.Sheared[i] == 0)
            state.Wool = saturatingAdd(state.Wool, randomChoice(random, kGramAmounts, kLeastGrams));
        state.Sheared[i] = 1;
        ++hits;
    }
    return hits;
}

}  // namespace flock
