// The run of the flock: every 50 ms the sheep move 11 pixels left; the round
// ends when the sheep that started rightmost has left the field.
#include "game/drawing/game_drawing.h"
#include "game/state/flock.h"
#include "game/core/hituji_game.h"

namespace {
constexpr int16_t kStep = 11;
constexpr int16_t kExitLine = -40;
constexpr int16_t kRoundsPerGame = 10;
}  // namespace

void HitujiGame::Timer2_Timer() {
    // Slots 0 to 5 move whatever the flock's size.
    for (state.SheepIndex = 0; state.SheepIndex <= 5; ++state.SheepIndex) {
        state.SheepX[state.SheepIndex] = saturatingAdd(state.SheepX[state.SheepIndex], -kStep);
    }

    const int n = flockSizeOf(state.FlockSize);
    if (n != 0 && state.SheepX[watchedSlot(n)] < kExitLine) {
        controls.Timer2 = false;
        if (state.ShearRound < kRoundsPerGame) {
            controls.Command3.enabled = true;
        } else {
            controls.Command1.enabled = true;
            controls.Command2.enabled = true;
            // An equal total is no new best.
            if (state.Wool > state.BestWool) {
                state.BestWool = state.Wool;
                controls.Label4.caption = QStringLiteral("最高：%1g").arg(state.BestWool);
                m_sound.PlayWave(QStringLiteral("777.wav"), 1);
            } else {
                m_sound.PlayWave(QStringLiteral("other.wav"), 1);
            }
            controls.Command4.enabled = true;
            gameOver();
        }
        controls.P_Change.visible = true;
    }

    if (n == 0) return;
    Game::CopyBlock(surfaces.Pkiso, 0, 0, 200, 150, surfaces.Pura, 0, 0);
    for (int i = 1; i <= n; ++i) {
        if (state.Sheared[i] == 1) {
            Game::DrawMasked(surfaces.Phh, surfaces.Phhb, 0, 0, 40, 40, surfaces.Pura, state.SheepX[i],
                             state.SheepY[i]);
        } else if (state.Sheared[i] == 0) {
            Game::DrawMasked(surfaces.Ph[i - 1], surfaces.Phb1, 0, 0, 40, 40, surfaces.Pura, state.SheepX[i],
                             state.SheepY[i]);
        }
    }
    showFrame();
}
