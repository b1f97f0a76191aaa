// The four push buttons and the four background buttons: start, stop and
// reset of the roll and of the shearing game.
#include "game/drawing/game_drawing.h"
#include "game/state/flock.h"
#include "game/core/hituji_game.h"

namespace {
constexpr int16_t kWinningCount = 777;
}

void HitujiGame::Command1_Click() {
    if (pause.paused) return;  // the round buttons rest while the game is paused
    controls.P_Change.visible = false;
    state.RollState = saturatingAdd(state.RollState, 1);
    if (state.RollState == 1) {
        controls.Timer1 = true;
        controls.Command2.enabled = false;
        controls.Command3.enabled = false;
        controls.Command4.enabled = false;
    }
    if (state.RollState == 2) {
        if (state.SheepCount == kWinningCount) {
            state.SuccessCount = saturatingAdd(state.SuccessCount, 1);
            controls.Label3.caption = QStringLiteral("成功：%1").arg(state.SuccessCount);
            m_sound.PlayWave(QStringLiteral("777.wav"), 1);
        } else {
            m_sound.PlayWave(QStringLiteral("other.wav"), 1);
        }
        controls.Command4.enabled = true;
        controls.Command2.enabled = true;
        controls.Command1.enabled = false;
        controls.Timer1 = false;
        controls.P_Change.visible = true;
        state.RollState = 0;
    }
}

void HitujiGame::Command2_Click() {
    if (pause.paused) return;
    controls.P_Change.visible = true;
    Game::CopyBlock(surfaces.Pkiso, 0, 0, 200, 150, surfaces.Pura, 0, 0);
    Game::CopyBlock(surfaces.Pkiso, 0, 0, 200, 150, surfaces.Pmain, 0, 0);
    state.SheepCount = 0;
    // Label1 keeps the last count until the next roll tick.
    controls.Command1.caption = QStringLiteral("はじめる");
    controls.Command1.enabled = true;
    controls.Command2.enabled = false;
}

void HitujiGame::Command3_Click() {
    if (pause.paused) return;
    controls.Command1.enabled = false;
    controls.Command2.enabled = false;
    controls.P_Change.visible = false;
    for (int i = 0; i <= 10; ++i) {
        state.Sheared[i] = 0;
        state.SheepX[i] = kParkedX;
    }
    const int size = randomChoice(m_random, 5, 1);
    state.FlockSize = static_cast<float>(size);
    for (int k = 1; k <= size; ++k) {
        state.SheepX[k] = kFlockLayouts[size - 1][k - 1].x;
        state.SheepY[k] = kFlockLayouts[size - 1][k - 1].y;
    }
    state.ShearRound = saturatingAdd(state.ShearRound, 1);
    controls.Command3.caption = QStringLiteral("%1回目").arg(state.ShearRound);
    controls.Command3.enabled = false;
    controls.Timer2 = true;
}

void HitujiGame::Command4_Click() {
    if (pause.paused) return;
    state.ShearRound = 0;
    state.Wool = 0;
    // Sheep 1 to 5 go to (0, 0); their flock size and shorn flags stay, so a
    // press in the field's top left corner still reaches the old flock.
    for (int k = 1; k <= 5; ++k) {
        state.SheepX[k] = 0;
        state.SheepY[k] = 0;
    }
    controls.Timer2 = false;
    controls.P_Change.visible = true;
    controls.Command1.enabled = true;
    controls.Command2.enabled = true;
    controls.Command3.enabled = true;
    controls.Command3.caption = QStringLiteral("羊毛を刈る");
    controls.Label2.caption = QStringLiteral("羊毛：%1g").arg(state.Wool);
}

void HitujiGame::chooseBackground(int choice) {
    if (pause.paused) return;
    const QImage& picture = surfaces.background(choice);
    Game::CopyBlock(picture, 0, 0, 200, 150, surfaces.Pkiso, 0, 0);
    Game::CopyBlock(picture, 0, 0, 200, 150, surfaces.Pura, 0, 0);
    Game::CopyBlock(picture, 0, 0, 200, 150, surfaces.Pmain, 0, 0);
}
