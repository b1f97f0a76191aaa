// Shearing: a press on a running sheep shears it for 100 to 109 grams.
#include "game/state/flock.h"
#include "game/core/hituji_game.h"

#include <cmath>

namespace {
constexpr int kSheepSize = 40;

// y is rounded to the nearest whole number, a tie going to the even one, and
// kept in 16 bits.
int16_t roundClickY(float y) {
    const float r = std::nearbyint(y);
    if (!(r >= INT16_MIN)) return INT16_MIN;  // also catches NaN
    if (r > INT16_MAX) return INT16_MAX;
    return static_cast<int16_t>(r);
}
}  // namespace

void HitujiGame::Pmain_MouseDown(int16_t /*button*/, int16_t /*shift*/, float x, float y) {
    // A press on the paused field only ends the pause: it shears nothing.
    if (pause.paused) {
        resume();
        return;
    }
    // Every button counts, whatever modifier keys are held.
    state.ClickX = x;
    state.ClickY = roundClickY(y);
    const int n = flockSizeOf(state.FlockSize);
    for (int i = 1; i <= n; ++i) {
        // The whole 40 x 40 box counts, with strict comparisons on all sides.
        const bool hit = state.ClickX > state.SheepX[i] && state.ClickX < state.SheepX[i] + kSheepSize &&
                         state.ClickY > state.SheepY[i] && state.ClickY < state.SheepY[i] + kSheepSize;
        if (!hit) continue;
        if (state.Sheared[i] == 0) state.Wool = saturatingAdd(state.Wool, randomChoice(m_random, 10, 100));
        state.Sheared[i] = 1;
        m_sound.PlayWave(QStringLiteral("karu.wav"), 1);
    }
    controls.Label2.caption = QStringLiteral("羊毛：%1g").arg(state.Wool);
}
