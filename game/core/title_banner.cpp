// The title screen with its blinking prompt, and the banner with the small
// walking sheep and the music.
#include "game/drawing/game_drawing.h"
#include "game/core/hituji_game.h"

void HitujiGame::Timer4_Timer() {
    state.BlinkState = saturatingAdd(state.BlinkState, 1);
    if (state.BlinkState == 1) controls.Label5.visible = true;
    if (state.BlinkState == 2) {
        controls.Label5.visible = false;
        state.BlinkState = 0;
    }
}

void HitujiGame::Pgamen_Click() {
    controls.Timer4 = false;
    controls.Pgamen.visible = false;
}

void HitujiGame::Timer3_Timer() {
    state.TitleFrame = saturatingAdd(state.TitleFrame, 1);
    // Each pose is drawn on a freshly cleaned patch.
    Game::CopyBlock(surfaces.Pminkiso, 0, 0, 20, 20, surfaces.Pminhai, 0, 0);
    if (state.TitleFrame == 1) {
        Game::DrawMasked(surfaces.Pminh1, surfaces.Pminh1b, 0, 0, 20, 20, surfaces.Pminhai, 0, 0);
    }
    if (state.TitleFrame == 2) {
        Game::DrawMasked(surfaces.Pminh2, surfaces.Pminh2b, 0, 0, 20, 20, surfaces.Pminhai, 0, 0);
        state.TitleFrame = 0;
    }
    Game::CopyBlock(surfaces.Pminhai, 0, 0, 20, 20, surfaces.PZeb, 10, 10);
}

void HitujiGame::PZeb_Click() {
    m_sound.PlayMidi(appFolder() + QStringLiteral("maki.mid"));
    controls.BGM_Check = true;
}
