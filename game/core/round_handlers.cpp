// The handlers of play: the four push buttons and the four background
// buttons, the roll's and the flock's ticks, and a press on the field.
#include "game/core/hituji_game.h"
#include "game/drawing/field_frames.h"
#include "game/rules/captions.h"
#include "game/rules/flock.h"
#include "game/rules/phases.h"
#include "game/rules/roll.h"

using phases::Phase;

void HitujiGame::Command1_Click() {
    if (m_pause.paused()) return;  // the round buttons rest while the game is paused
    controls.P_Change.visible = false;
    state.RollState = saturatingAdd(state.RollState, 1);
    if (state.RollState == 1) phases::enter(controls, Phase::Rolling);
    if (state.RollState == 2) {
        if (roll::isSuccess(state.SheepCount)) {
            state.SuccessCount = saturatingAdd(state.SuccessCount, 1);
            controls.Label3.caption = captions::successes(state.SuccessCount);
            m_sound.PlayWave(QStringLiteral("777.wav"), 1);
        } else {
            m_sound.PlayWave(QStringLiteral("other.wav"), 1);
        }
        phases::enter(controls, Phase::RollJudged);
        state.RollState = 0;
    }
}

void HitujiGame::Command2_Click() {
    if (m_pause.paused()) return;
    frames::showBackground(surfaces);
    state.SheepCount = 0;
    // Label1 keeps the last count until the next roll tick.
    controls.Command1.caption = captions::start();
    phases::enter(controls, Phase::RollReset);
}

void HitujiGame::Command3_Click() {
    if (m_pause.paused()) return;
    flock::layOut(state, m_random);
    state.ShearRound = saturatingAdd(state.ShearRound, 1);
    controls.Command3.caption = captions::round(state.ShearRound);
    phases::enter(controls, Phase::ShearingRun);
}

void HitujiGame::Command4_Click() {
    if (m_pause.paused()) return;
    state.ShearRound = 0;
    state.Wool = 0;
    flock::gatherInCorner(state);
    // A running round stops at once; the field keeps its last frame.
    phases::enter(controls, Phase::ShearingReset);
    controls.Command3.caption = captions::shear();
    controls.Label2.caption = captions::wool(state.Wool);
}

void HitujiGame::chooseBackground(int choice) {
    if (m_pause.paused()) return;
    frames::chooseBackground(surfaces, choice);
}

void HitujiGame::Timer1_Timer() {
    // A tick that begins above the limit ends the roll but still completes:
    // it draws and counts its sheep. RollState stays 1, so the next click on
    // Command1 judges the final count.
    if (roll::endsAtLimit(state.SheepCount)) phases::enter(controls, Phase::RollAtLimit);
    const roll::Drop drop = roll::drawDrop(m_random);
    state.RollX = static_cast<float>(drop.x);
    state.RollY = drop.y;
    frames::dropRollSheep(surfaces, drop.sprite, state.RollX, state.RollY);
    frames::show(surfaces);
    state.SheepCount = saturatingAdd(state.SheepCount, 1);
    controls.Command1.caption = captions::stopAt777();
    controls.Label1.caption = captions::sheepCount(state.SheepCount);
}

void HitujiGame::Timer2_Timer() {
    flock::move(state);
    if (flock::roundOver(state)) endRound();
    if (frames::composeFlock(surfaces, state)) frames::show(surfaces);
}

void HitujiGame::endRound() {
    if (!flock::lastRound(state.ShearRound)) {
        phases::enter(controls, Phase::BetweenRounds);
        return;
    }
    if (flock::isNewBest(state.Wool, state.BestWool)) {
        state.BestWool = state.Wool;
        controls.Label4.caption = captions::best(state.BestWool);
        m_sound.PlayWave(QStringLiteral("777.wav"), 1);
    } else {
        m_sound.PlayWave(QStringLiteral("other.wav"), 1);
    }
    phases::enter(controls, Phase::GameOver);
    m_bestGames.gameOver(state.Wool);
}

void HitujiGame::Pmain_MouseDown(int16_t /*button*/, int16_t /*shift*/, float x, float y) {
    // A press on the paused field only ends the pause: it shears nothing.
    if (m_pause.paused()) {
        m_pause.resume(controls);
        return;
    }
    // Every button counts, whatever modifier keys are held; every hit plays
    // the sound, also on a sheep shorn before.
    const int hits = flock::shearAt(state, m_random, x, y);
    for (int i = 0; i < hits; ++i) m_sound.PlayWave(QStringLiteral("karu.wav"), 1);
    controls.Label2.caption = captions::wool(state.Wool);
}
