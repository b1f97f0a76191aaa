#include "game/drawing/field_frames.h"

#include "game/drawing/game_drawing.h"
#include "game/rules/flock.h"

namespace frames {

void show(GameSurfaces& s) {
    Game::CopyBlock(s.Pura, 0, 0, 200, 150, s.Pmain, 0, 0);
}

void showBackground(GameSurfaces& s) {
    Game::CopyBlock(s.Pkiso, 0, 0, 200, 150, s.Pura, 0, 0);
    Game::CopyBlock(s.Pkiso, 0, 0, 200, 150, s.Pmain, 0, 0);
}

void chooseBackground(GameSurfaces& s, int choice) {
    const QImage& picture = s.background(choice);
    Game::CopyBlock(picture, 0, 0, 200, 150, s.Pkiso, 0, 0);
    Game::CopyBlock(picture, 0, 0, 200, 150, s.Pura, 0, 0);
    Game::CopyBlock(picture, 0, 0, 200, 150, s.Pmain, 0, 0);
}

void dropRollSheep(GameSurfaces& s, int sprite, float x, int16_t y) {
    const bool facesLeft = sprite <= 5;
    const QImage& picture = facesLeft ? s.Ph[sprite - 1] : s.PhRight[sprite - 6];
    const QImage& mask = facesLeft ? s.Phb1 : s.Phb2;
    Game::DrawMasked(picture, mask, 0, 0, 40, 40, s.Pura, x, y);
}

bool composeFlock(GameSurfaces& s, const GameState& state) {
    const int n = flock::sizeOf(state.FlockSize);
    if (n == 0) return false;
    Game::CopyBlock(s.Pkiso, 0, 0, 200, 150, s.Pura, 0, 0);
    for (int i = 1; i <= n; ++i) {
        // Any flag but 0 and 1 draws nothing for its slot.
        if (state.Sheared[i] == 1) {
            Game::DrawMasked(s.Phh, s.Phhb, 0, 0, 40, 40, s.Pura, state.SheepX[i], state.SheepY[i]);
        } else if (state.Sheared[i] == 0) {
            Game::DrawMasked(s.Ph[i - 1], s.Phb1, 0, 0, 40, 40, s.Pura, state.SheepX[i], state.SheepY[i]);
        }
    }
    return true;
}

void showBannerPose(GameSurfaces& s, int pose) {
    // Each pose is drawn on a freshly cleaned patch.
    Game::CopyBlock(s.Pminkiso, 0, 0, 20, 20, s.Pminhai, 0, 0);
    if (pose == 1) Game::DrawMasked(s.Pminh1, s.Pminh1b, 0, 0, 20, 20, s.Pminhai, 0, 0);
    if (pose == 2) Game::DrawMasked(s.Pminh2, s.Pminh2b, 0, 0, 20, 20, s.Pminhai, 0, 0);
    Game::CopyBlock(s.Pminhai, 0, 0, 20, 20, s.PZeb, 10, 10);
}

}  // namespace frames
