#include "game/rules/pause.h"

void Pause::toggle(GameControls& controls) {
    if (m_paused) {
        resume(controls);
        return;
    }
    // Only a running roll or round pauses: at the title, between rounds, at
    // the roll's limit and after a game there is nothing to hold.
    if (!controls.Timer1 && !controls.Timer2) return;
    m_paused = true;
    m_heldRoll = controls.Timer1;
    m_heldRound = controls.Timer2;
    controls.Timer1 = false;
    controls.Timer2 = false;
}

void Pause::resume(GameControls& controls) {
    m_paused = false;
    controls.Timer1 = m_heldRoll;
    controls.Timer2 = m_heldRound;
    m_heldRoll = false;
    m_heldRound = false;
}
