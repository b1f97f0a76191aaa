// Pausing, muting and the game's settings, through the handlers; no screen.
#include "common/settings.h"
#include "game/services/game_settings.h"
#include "game_fixture.h"

#include <QFile>

namespace {

using PauseTest = GameFixture;

TEST_F(PauseTest, aPausedRollHoldsItsTimerAndCountAndGoesOnWhereItStopped) {
    game.Pgamen_Click();
    game.Command1_Click();
    rollTicks(300);
    const QImage field = game.surfaces.Pmain;
    game.Pause_Click();
    EXPECT_TRUE(game.pause().paused());
    EXPECT_FALSE(game.controls.Timer1) << "the roll's timer stops";
    EXPECT_TRUE(game.controls.Timer3) << "the banner walks on";
    // The round buttons rest: the stop would otherwise judge 300.
    game.Command1_Click();
    game.Command2_Click();
    game.Command4_Click();
    game.Option2_Click();
    EXPECT_EQ(game.state.SheepCount, 300);
    EXPECT_EQ(game.state.RollState, 1);
    EXPECT_EQ(game.surfaces.Pmain, field);
    EXPECT_TRUE(sound.calls.isEmpty());
    game.Pause_Click();
    EXPECT_FALSE(game.pause().paused());
    EXPECT_TRUE(game.controls.Timer1);
    rollTicks(477);
    game.Command1_Click();
    EXPECT_EQ(game.state.SuccessCount, 1) << "777 ticks of running time, the pause not counted";
}

TEST_F(PauseTest, aPausedRoundHoldsTheFlockAndAPressOnTheFieldOnlyEndsThePause) {
    game.Pgamen_Click();
    startRound(1);
    for (int i = 0; i < 5; ++i) game.Timer2_Timer();
    const int16_t x = game.state.SheepX[1];
    game.Pause_Click();
    EXPECT_FALSE(game.controls.Timer2);
    game.Command4_Click();
    EXPECT_EQ(game.state.ShearRound, 1) << "もう一度 rests";
    // A press right on the sheep: the pause ends, nothing is shorn.
    game.Pmain_MouseDown(1, 0, float(x + 20), float(game.state.SheepY[1] + 20));
    EXPECT_FALSE(game.pause().paused());
    EXPECT_TRUE(game.controls.Timer2);
    EXPECT_EQ(game.state.Sheared[1], 0);
    EXPECT_EQ(game.state.Wool, 0);
    EXPECT_TRUE(sound.calls.isEmpty());
    EXPECT_EQ(random.draws(), 1) << "only the flock size was drawn";
    EXPECT_EQ(game.state.SheepX[1], x) << "the flock stands where it stopped";
    // The next press shears as usual.
    random.push({ScriptedRandom::pick(5, 10)});
    game.Pmain_MouseDown(1, 0, float(x + 20), float(game.state.SheepY[1] + 20));
    EXPECT_EQ(game.state.Wool, 105);
    EXPECT_EQ(runRound() + 5, 22) << "the round still ends on its 22nd tick";
}

// P outside a roll or a round does nothing: at the title, at the roll's
// limit, between rounds and after the tenth round.
TEST_F(PauseTest, nothingToPauseOutsideARollOrARound) {
    const auto expectNoPause = [&](const char* when) {
        const GameControls before = game.controls;
        EXPECT_FALSE(game.canPause()) << when;
        game.Pause_Click();
        game.Form_Deactivate();
        EXPECT_FALSE(game.pause().paused()) << when;
        EXPECT_EQ(game.controls.Timer1, before.Timer1) << when;
        EXPECT_EQ(game.controls.Timer2, before.Timer2) << when;
    };
    expectNoPause("at the title");
    game.Pgamen_Click();
    game.Command1_Click();
    rollTicks(1002);
    expectNoPause("at the limit of 1002");
    game.Command1_Click();
    game.Command4_Click();
    game.Command2_Click();
    for (int round = 1; round <= 10; ++round) {
        startRound(3);
        EXPECT_TRUE(game.canPause());
        runRound();
        if (round == 9) expectNoPause("between rounds");
    }
    expectNoPause("after the tenth round");
}

TEST_F(PauseTest, leavingTheWindowPausesOnlyWhenTheSettingSaysSo) {
    game.Pgamen_Click();
    game.Command1_Click();
    game.Form_Deactivate();
    EXPECT_TRUE(game.pause().paused());
    game.Form_Deactivate();
    EXPECT_TRUE(game.pause().paused()) << "a second loss of the focus does not end the pause";
    game.Pause_Click();
    game.setPauseWhenInactive(false);
    game.Form_Deactivate();
    EXPECT_FALSE(game.pause().paused());
    EXPECT_TRUE(game.controls.Timer1);
}

TEST_F(PauseTest, closingWhilePausedStillSavesTheCounts) {
    game.Pgamen_Click();
    game.Command1_Click();
    rollTicks(777);
    game.Command1_Click();
    game.Command2_Click();
    game.Command1_Click();
    game.Pause_Click();
    ASSERT_TRUE(game.Form_QueryUnload().ok);
    ASSERT_TRUE(game.Form_Unload().ok);
    QFile save(dir.filePath(QStringLiteral("hituji.dat")));
    ASSERT_TRUE(save.open(QIODevice::ReadOnly));
    EXPECT_EQ(save.readAll(), QByteArray("\x01\x00\x02\x00\x00\x00", 6));
}

using SoundLevelsTest = GameFixture;

TEST_F(SoundLevelsTest, muteSilencesEffectsAndMusicTogetherAndUnmuteRestoresTheVolumes) {
    game.PZeb_Click();
    game.Mute_Click();
    EXPECT_TRUE(game.levels().muted());
    game.levels().setEffectsPercent(50);  // while muted: remembered, still silent
    game.Mute_Click();
    EXPECT_EQ(sound.calls, (QStringList{QStringLiteral("midi:") + game.appFolder() + QStringLiteral("maki.mid"),
                                        QStringLiteral("volumes:0:0"), QStringLiteral("volumes:0:0"),
                                        QStringLiteral("volumes:64:128")}))
        << "the tune is never stopped or restarted by muting";
}

TEST_F(SoundLevelsTest, volumesInPercentReachThePlayerAsZeroTo128) {
    const int cases[][2] = {{0, 0}, {1, 1}, {50, 64}, {99, 127}, {100, 128}, {-5, 0}, {250, 128}};
    for (const auto& c : cases) EXPECT_EQ(SoundLevels::volumeOf(c[0]), c[1]) << c[0];
    game.levels().setMusicPercent(100);
    EXPECT_TRUE(sound.calls.isEmpty()) << "no change, nothing sent: the game starts as designed";
    game.levels().setMusicPercent(25);
    EXPECT_EQ(sound.calls.last(), QStringLiteral("volumes:128:32"));
}

TEST_F(SoundLevelsTest, stopTheMusicStopsAndReleasesTheTune) {
    game.Pgamen_Click();
    game.PZeb_Click();
    EXPECT_TRUE(game.controls.BGM_Check);
    game.StopMusic_Click();
    EXPECT_EQ(sound.calls.last(), QStringLiteral("midi:"));
    EXPECT_FALSE(game.controls.BGM_Check);
    game.StopMusic_Click();  // no tune: harmless
    EXPECT_EQ(sound.calls.last(), QStringLiteral("midi:"));
}

// Muting at the title, at the limit, between rounds and after the game
// changes nothing but the sound.
TEST_F(SoundLevelsTest, mutingInAnyPhaseLeavesTheGameAsItIs) {
    const auto muteTwice = [&] {
        const GameControls before = game.controls;
        game.Mute_Click();
        game.Mute_Click();
        EXPECT_EQ(game.controls.Timer1, before.Timer1);
        EXPECT_EQ(game.controls.Timer2, before.Timer2);
        EXPECT_EQ(game.controls.Pgamen.visible, before.Pgamen.visible);
    };
    muteTwice();
    game.Pgamen_Click();
    game.Command1_Click();
    rollTicks(1002);
    muteTwice();
    game.Command1_Click();
    game.Command4_Click();
    startRound(2);
    runRound();
    muteTwice();
    EXPECT_EQ(sound.calls.filter(QStringLiteral("volumes:")).size(), 6);
}

// The settings file: the defaults without one, the values read back, and a
// value out of range or of the wrong kind taken as its default.
TEST(GameSettingsTest, defaultsAreTheDesignAndValuesReadBack) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("fleeceslot.conf"));
    EXPECT_EQ(GameSettings::load(common::SettingsStore(path)), GameSettings{});
    GameSettings s;
    s.pauseWhenInactive = false;
    s.muted = true;
    s.effectsVolume = 30;
    s.musicVolume = 0;
    s.zoom = 3;
    s.playerName = QStringLiteral("羊飼い\tA=B;\"x\"");
    {
        common::SettingsStore store(path);
        s.storeIn(store);
        ASSERT_TRUE(store.save());
    }
    EXPECT_EQ(GameSettings::load(common::SettingsStore(path)), s);
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[sound]\nmuted=yes\neffectsVolume=101\nmusicVolume=-1\n[window]\nzoom=9\n[play]\npauseWhenInactive=false\n");
    f.close();
    GameSettings expected;
    expected.pauseWhenInactive = false;
    EXPECT_EQ(GameSettings::load(common::SettingsStore(path)), expected);
}

}  // namespace
