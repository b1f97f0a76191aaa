// The roll: every 20 ms one more sheep lands on the field and the count goes
// up; the player tries to stop it at exactly 777.
#include "game/drawing/game_drawing.h"
#include "game/core/hituji_game.h"

namespace {
constexpr int16_t kRollLimit = 1000;
}

void HitujiGame::Timer1_Timer() {
    // A tick that begins above the limit ends the roll but still completes:
    // it draws and counts its sheep. RollState stays 1, so the next click on
    // Command1 judges the final count.
    if (state.SheepCount > kRollLimit) {
        controls.Command3.enabled = false;
        controls.Command4.enabled = true;
        controls.Timer1 = false;
    }
    // Three draws, in this order: x, y, sprite number.
    state.RollX = static_cast<float>(randomChoice(m_random, 180, -5));
    state.RollY = static_cast<int16_t>(randomChoice(m_random, 120, -5));
    const int sprite = randomChoice(m_random, 10, 1);

    const bool facesLeft = sprite <= 5;
    const QImage& picture = facesLeft ? surfaces.Ph[sprite - 1] : surfaces.PhRight[sprite - 6];
    const QImage& mask = facesLeft ? surfaces.Phb1 : surfaces.Phb2;
    Game::DrawMasked(picture, mask, 0, 0, 40, 40, surfaces.Pura, state.RollX, state.RollY);
    showFrame();

    state.SheepCount = saturatingAdd(state.SheepCount, 1);
    controls.Command1.caption = QStringLiteral("777de止め");
    controls.Label1.caption = QStringLiteral("羊の数：%1").arg(state.SheepCount);
}
