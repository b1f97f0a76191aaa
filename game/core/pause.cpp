// Pausing a roll or a shearing round, by the player or when the window is
// left, and going on from exactly where it stopped.
#include "game/core/hituji_game.h"

bool HitujiGame::canPause() const {
    return pause.paused || controls.Timer1 || controls.Timer2;
}

void HitujiGame::Pause_Click() {
    if (pause.paused) {
        resume();
        return;
    }
    // Only a running roll or round pauses: at the title, between rounds, at
    // the roll's limit and after a game there is nothing to hold.
    if (!controls.Timer1 && !controls.Timer2) return;
    pause.paused = true;
    pause.heldRoll = controls.Timer1;
    pause.heldRound = controls.Timer2;
    controls.Timer1 = false;
    controls.Timer2 = false;
}

void HitujiGame::Form_Deactivate() {
    if (pause.whenInactive && !pause.paused) Pause_Click();
}

void HitujiGame::resume() {
    pause.paused = false;
    controls.Timer1 = pause.heldRoll;
    controls.Timer2 = pause.heldRound;
    pause.heldRoll = false;
    pause.heldRound = false;
}
