#pragma once

#include "game/state/gamestate.h"

// The game's phases of play are the enabled states of its four push
// buttons, the visibility of the background chooser and which play timer
// runs. Each handler that starts a phase sets exactly the controls of that
// phase's row and leaves the others as they were.
namespace phases {

enum class Phase {
    Rolling,         // Command1 starts the roll
    RollAtLimit,     // a roll tick that begins past the limit
    RollJudged,      // Command1 stops the roll
    RollReset,       // Command2
    ShearingRun,     // Command3 starts a round
    BetweenRounds,   // rounds 1 to 9 end
    GameOver,        // round 10 ends
    ShearingReset,   // Command4
};

// What a phase does to one control: leaves it, or switches it on or off.
enum class Set : signed char { Keep, On, Off };

struct Row {
    Set command1, command2, command3, command4;
    Set chooser;  // P_Change shown (On) or hidden (Off)
    Set timer1, timer2;
};

// The row of `phase`.
Row rowOf(Phase phase);

// Sets the controls of `phase`'s row.
void enter(GameControls& controls, Phase phase);

// True while the tune can be stopped: from a click on the banner to a stop.
// The menu and the settings offer the command in exactly these states.
inline bool canStopMusic(const GameControls& controls) { return controls.BGM_Check; }

}  // namespace phases
