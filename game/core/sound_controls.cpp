// The player's sound keys: mute, and stopping the tune.
#include "game/core/hituji_game.h"

void HitujiGame::Mute_Click() {
    m_levels.setMuted(!m_levels.muted());
}

void HitujiGame::StopMusic_Click() {
    // As closing does: the tune stops and its device is released. The next
    // click on the banner starts it again from its beginning.
    m_sound.PlayMidi(QString());
    controls.BGM_Check = false;
}
