#pragma once

// A pause of the game: which of the play timers it holds. The roll's timer
// (Timer1) and the shearing round's (Timer2) are switched off while the game
// is paused and on again when it goes on; the banner and the title's blink
// run on. While paused, the round buttons and the background buttons do
// nothing, and a press on the field only ends the pause.
struct PauseState {
    bool paused = false;
    bool heldRoll = false;   // Timer1 ran when the pause began
    bool heldRound = false;  // Timer2 ran when the pause began
    // A setting: the game pauses by itself when its window stops being the
    // active one (or is minimised) during a roll or a round.
    bool whenInactive = true;
};
