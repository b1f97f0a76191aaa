#pragma once

#include "game/state/gamestate.h"

// A pause of the game and the play timers it holds. The roll's timer
// (Timer1) and the shearing round's (Timer2) are switched off while the game
// is paused and on again when it goes on; the banner and the title's blink
// run on. While paused, the round buttons and the background buttons do
// nothing, and a press on the field only ends the pause.
class Pause {
public:
    bool paused() const { return m_paused; }

    // A setting: the game pauses by itself when its window stops being the
    // active one (or is minimised) during a roll or a round.
    bool whenInactive() const { return m_whenInactive; }
    void setWhenInactive(bool on) { m_whenInactive = on; }

    // True while a pause can be started or ended: during a pause, a roll or
    // a round.
    bool canToggle(const GameControls& controls) const {
        return m_paused || controls.Timer1 || controls.Timer2;
    }

    // Ends a pause, or starts one when a roll or a round runs; does nothing
    // at any other moment.
    void toggle(GameControls& controls);

    // The window was left: pauses when the setting says so.
    void windowLeft(GameControls& controls) {
        if (m_whenInactive && !m_paused) toggle(controls);
    }

    // Ends the pause: the timers it held run again, from where they stopped.
    void resume(GameControls& controls);

private:
    bool m_paused = false;
    bool m_heldRoll = false;   // Timer1 ran when the pause began
    bool m_heldRound = false;  // Timer2 ran when the pause began
    bool m_whenInactive = true;
};
