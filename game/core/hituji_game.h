#pragma once

#include "game/drawing/surfaces.h"
#include "game/rules/pause.h"
#include "game/services/best_game_entry.h"
#include "game/services/sound_levels.h"
#include "game/services/savefiles.h"
#include "game/state/gamestate.h"
#include "game/state/random.h"
#include "game/state/soundplayer.h"

#include <QDateTime>
#include <QString>

// The whole game without a screen: the state record, the control values,
// the picture surfaces and every handler of the window, each delegating to
// the rules, the frames and the services. The window forwards each event to
// the handler of the same name and then shows `controls` and the surfaces.
class HitujiGame {
public:
    // `appFolder` ends in "/"; the random source and the sound player must
    // outlive the game. The save file, the report and the best games are
    // kept in `saveFolder` (ending in "/"; the application folder unless
    // given), made when the files are first written.
    HitujiGame(RandomSource& random, SoundPlayer& sound, QString appFolder, QString saveFolder = {});

    GameState state;
    GameControls controls;
    GameSurfaces surfaces;

    const QString& appFolder() const { return m_appFolder; }
    const QString& saveFolder() const { return m_saveFolder; }
    SoundLevels& levels() { return m_levels; }
    const Pause& pause() const { return m_pause; }
    void setPauseWhenInactive(bool on) { m_pause.setWhenInactive(on); }
    // The best games, with a total that waits for its player's name.
    const scores::BestGameEntry& bestGames() const { return m_bestGames; }
    scores::BestGameEntry& bestGames() { return m_bestGames; }

    // Start-up: makes the application folder current, sets every field to its
    // start value and reads "hituji.dat" and the best games. Fails when the
    // art cannot be loaded or a save file exists but cannot be read.
    savefiles::FileResult Form_Load();

    // Closing, first step: writes "hituji.dat", merged with what another
    // window may have written since this one started (the successes gained
    // here are added, the better best kept); alone, exactly its own counts.
    savefiles::FileResult Form_QueryUnload();
    // Closing, the rest: stops the music, writes "H_Score.txt" with the
    // counts just saved, and the best games merged with their file.
    savefiles::FileResult Form_Unload();

    // The player's comforts. Pause (P) holds a running roll or round, or goes
    // on where it stopped; leaving the window pauses when the setting says
    // so. Mute (M) silences effects and music together. The tune can be
    // stopped while it was started and not stopped since.
    void Pause_Click();
    void Form_Deactivate();
    bool canPause() const;
    void Mute_Click();
    void StopMusic_Click();
    bool canStopMusic() const;

    // The name for the waiting best game, entered on `when`, or none. Returns
    // what writing the table did; the game stays in the window's table.
    savefiles::FileResult BestGame_Enter(const QString& name, const QDateTime& when);
    void BestGame_Skip();

    // Round controls.
    void Command1_Click();  // start / stop the roll
    void Command2_Click();  // reset the roll
    void Command3_Click();  // start a shearing round
    void Command4_Click();  // reset the shearing game
    void Option1_Click() { chooseBackground(1); }
    void Option2_Click() { chooseBackground(2); }
    void Option3_Click() { chooseBackground(3); }
    void Option4_Click() { chooseBackground(4); }

    // Timers.
    void Timer1_Timer();  // roll tick, 20 ms
    void Timer2_Timer();  // flock tick, 50 ms
    void Timer3_Timer();  // banner tick, 100 ms
    void Timer4_Timer();  // prompt blink, 1000 ms

    // Mouse and title.
    void Pmain_MouseDown(int16_t button, int16_t shift, float x, float y);
    void Pgamen_Click();
    void PZeb_Click();

private:
    void chooseBackground(int choice);
    void makeSaveFolder() const;
    void endRound();

    RandomSource& m_random;
    SoundPlayer& m_sound;
    SoundLevels m_levels;
    QString m_appFolder;
    QString m_saveFolder;
    Pause m_pause;
    scores::BestGameEntry m_bestGames;
    savefiles::SaveData m_atStart;  // the counts read at start
    QString m_artError;  // why the pictures could not be loaded, if they could not
};
