#pragma once

#include "game/drawing/surfaces.h"
#include "game/state/gamestate.h"

// The frames of the play field and the banner, composed with CopyBlock and
// DrawMasked: each field frame is made on the back buffer Pura and shown
// with one copy onto Pmain.
namespace frames {

// Pura, whole, onto Pmain.
void show(GameSurfaces& s);

// The bare background: Pkiso onto Pura and onto Pmain.
void showBackground(GameSurfaces& s);

// Background `choice` (1 to 4) onto Pkiso, Pura and Pmain.
void chooseBackground(GameSurfaces& s, int choice);

// A roll's sheep `sprite` (1 to 5 facing left, 6 to 10 facing right) on top
// of what Pura holds, at (x, y).
void dropRollSheep(GameSurfaces& s, int sprite, float x, int16_t y);

// The flock on the background: Pkiso onto Pura, then sheep 1 to the flock's
// size, woolly or shorn, each over the ones before. A state without a flock
// draws nothing and returns false.
bool composeFlock(GameSurfaces& s, const GameState& state);

// The banner's small sheep in `pose` (1 or 2, 0 for none) on a clean patch,
// onto the banner at (10, 10).
void showBannerPose(GameSurfaces& s, int pose);

}  // namespace frames
