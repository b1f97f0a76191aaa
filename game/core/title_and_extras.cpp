// The title screen with its blinking prompt, the banner with the small
// walking sheep and the music, and the player's comforts around play:
// pause, mute, stopping the tune and entering a best game.
#include "game/core/hituji_game.h"
#include "game/drawing/field_frames.h"
#include "game/rules/phases.h"
#include "game/rules/title_banner.h"

void HitujiGame::Timer4_Timer() {
    if (const std::optional<bool> shown = title::blinkStep(state.BlinkState)) controls.Label5.visible = *shown;
}

void HitujiGame::Pgamen_Click() {
    controls.Timer4 = false;
    controls.Pgamen.visible = false;
}

void HitujiGame::Timer3_Timer() {
    frames::showBannerPose(surfaces, title::bannerStep(state.TitleFrame));
}

void HitujiGame::PZeb_Click() {
    m_sound.PlayMidi(appFolder() + QStringLiteral("maki.mid"));
    controls.BGM_Check = true;
}

bool HitujiGame::canPause() const {
    return m_pause.canToggle(controls);
}

void HitujiGame::Pause_Click() {
    m_pause.toggle(controls);
}

void HitujiGame::Form_Deactivate() {
    m_pause.windowLeft(controls);
}

void HitujiGame::Mute_Click() {
    m_levels.setMuted(!m_levels.muted());
}

bool HitujiGame::canStopMusic() const {
    return phases::canStopMusic(controls);
}

void HitujiGame::StopMusic_Click() {
    // As closing does: the tune stops and its device is released. The next
    // click on the banner starts it again from its beginning.
    m_sound.PlayMidi(QString());
    controls.BGM_Check = false;
}

savefiles::FileResult HitujiGame::BestGame_Enter(const QString& name, const QDateTime& when) {
    if (m_bestGames.pending()) makeSaveFolder();
    return m_bestGames.enter(name, when);
}

void HitujiGame::BestGame_Skip() {
    m_bestGames.skip();
}
