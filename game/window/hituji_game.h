#pragma once

#include "game/drawing/surfaces.h"
#include "game/sound/soundplayer.h"
#include "game/window/gamestate.h"
#include "game/window/savefiles.h"
#include "game/phases/random.h"

#include <QString>
#include <QStringList>

// The whole game without a screen: the state record, the control values,
// the picture surfaces and every handler of the window. The window forwards
// each event to the handler of the same name and then shows `controls` and
// the visible surfaces; tests call the handlers directly.
class HitujiGame {
public:
    // `appFolder` ends in "/"; the random source and the sound player are
    // used for the game's whole life and must outlive it. The save file and
    // the report are kept in `saveFolder` (ending in "/"), the application
    // folder unless another is given; another folder is created when the
    // files are first written.
    HitujiGame(RandomSource& random, SoundPlayer& sound, QString appFolder, QString saveFolder = {});

    GameState state;
    GameControls controls;
    GameSurfaces surfaces;

    const QString& appFolder() const { return m_appFolder; }
    const QString& saveFolder() const { return m_saveFolder; }

    // Start-up: makes the application folder current, sets every field to its
    // start value and reads "hituji.dat". Returns an error when the art cannot
    // be loaded or the save file exists but cannot be read.
    savefiles::FileResult Form_Load();

    // Closing, first step: writes "hituji.dat".
    savefiles::FileResult Form_QueryUnload();
    // Closing, the rest: stops the music and writes "H_Score.txt".
    savefiles::FileResult Form_Unload();

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
    void showFrame();  // the composed frame on Pura goes to the screen
    void makeSaveFolder() const;

    RandomSource& m_random;
    SoundPlayer& m_sound;
    QString m_appFolder;
    QString m_saveFolder;
    QString m_artError;  // why the pictures could not be loaded, if they could not
};
