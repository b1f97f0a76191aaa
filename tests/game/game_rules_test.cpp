// The game's rules driven through its handlers, with a scripted random source
// and a recording sound player; no screen.
#include "game/core/hituji_game.h"
#include "fakes.h"
#include "game_fixture.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

const QString kGo = QStringLiteral("777de止め");

// What a sprite drawn through a mask of black and white looks like, worked
// out without the drawing code: the sprite's pixel where the mask is white,
// the background's elsewhere, clipped to the background.
QImage composed(QImage background, const QImage& sprite, const QImage& mask, int atX, int atY) {
    for (int y = 0; y < sprite.height(); ++y) {
        for (int x = 0; x < sprite.width(); ++x) {
            const int bx = atX + x, by = atY + y;
            if (bx < 0 || by < 0 || bx >= background.width() || by >= background.height()) continue;
            if (mask.pixel(x, y) == 0xFFFFFFFF) background.setPixel(bx, by, sprite.pixel(x, y));
        }
    }
    return background;
}

using GameRulesTest = GameFixture;

TEST_F(GameRulesTest, startUpMatchesTheStartPhase) {
    const GameControls& c = game.controls;
    EXPECT_TRUE(c.Command1.enabled);
    EXPECT_FALSE(c.Command2.enabled);
    EXPECT_TRUE(c.Command3.enabled);
    EXPECT_FALSE(c.Command4.enabled);
    EXPECT_TRUE(c.P_Change.visible);
    EXPECT_FALSE(c.Timer1);
    EXPECT_FALSE(c.Timer2);
    EXPECT_TRUE(c.Timer3);
    EXPECT_TRUE(c.Timer4);
    EXPECT_TRUE(c.Pgamen.visible);
    EXPECT_EQ(c.Label1.caption, QStringLiteral("羊の数：０"));
}

TEST_F(GameRulesTest, stopAt777CountsSuccessAndPlaysFanfare) {
    game.Command1_Click();
    EXPECT_TRUE(game.controls.Timer1);
    EXPECT_FALSE(game.controls.P_Change.visible);
    EXPECT_EQ(game.controls.Command1.caption, QStringLiteral("はじめる")) << "the caption changes on the first tick";
    rollTicks(777);
    EXPECT_EQ(game.controls.Label1.caption, QStringLiteral("羊の数：777"));
    EXPECT_EQ(game.controls.Command1.caption, kGo);
    game.Command1_Click();
    EXPECT_EQ(game.state.SuccessCount, 1);
    EXPECT_EQ(game.controls.Label3.caption, QStringLiteral("成功：1"));
    EXPECT_EQ(sound.calls, QStringList{QStringLiteral("wave:777.wav:1")});
    const GameControls& c = game.controls;
    EXPECT_FALSE(c.Timer1);
    EXPECT_FALSE(c.Command1.enabled);
    EXPECT_TRUE(c.Command2.enabled);
    EXPECT_FALSE(c.Command3.enabled);
    EXPECT_TRUE(c.Command4.enabled);
    EXPECT_TRUE(c.P_Change.visible);
    EXPECT_EQ(game.state.RollState, 0);
    EXPECT_EQ(c.Command1.caption, kGo) << "keeps the roll's caption until Command2";
}

TEST_F(GameRulesTest, stopsBesides777PlayTheMissSound) {
    for (int count : {776, 778}) {
        game.Command2_Click();
        game.Command1_Click();
        rollTicks(count);
        sound.calls.clear();
        game.Command1_Click();
        EXPECT_EQ(sound.calls, QStringList{QStringLiteral("wave:other.wav:1")}) << count;
        EXPECT_EQ(game.state.SuccessCount, 0);
        EXPECT_EQ(game.controls.Label3.caption, QStringLiteral("成功：０"));
    }
}

TEST_F(GameRulesTest, secondClickBeforeTheFirstTickJudgesTheOldCount) {
    game.Command1_Click();
    game.Command1_Click();
    EXPECT_EQ(random.draws(), 0);
    EXPECT_EQ(sound.calls, QStringList{QStringLiteral("wave:other.wav:1")});
    EXPECT_EQ(game.state.SuccessCount, 0);
}

TEST_F(GameRulesTest, rollEndsByItselfAfterTheLimitAndIsJudgedOnTheNextClick) {
    game.Command1_Click();
    rollTicks(1001);
    EXPECT_TRUE(game.controls.Timer1) << "a tick beginning at 1000 does not stop the roll";
    rollTicks(1);
    EXPECT_FALSE(game.controls.Timer1);
    EXPECT_EQ(game.controls.Label1.caption, QStringLiteral("羊の数：1002"));
    EXPECT_FALSE(game.controls.Command3.enabled);
    EXPECT_TRUE(game.controls.Command4.enabled);
    EXPECT_TRUE(game.controls.Command1.enabled);
    EXPECT_EQ(game.state.RollState, 1);
    game.Command1_Click();
    EXPECT_EQ(sound.calls, QStringList{QStringLiteral("wave:other.wav:1")});
    EXPECT_TRUE(game.controls.Command2.enabled);
    EXPECT_TRUE(game.controls.Command4.enabled);

    // After Command4 the count is still above the limit: a new roll runs
    // exactly one tick.
    game.Command4_Click();
    EXPECT_EQ(game.controls.Command1.caption, kGo);
    game.Command1_Click();
    rollTicks(1);
    EXPECT_FALSE(game.controls.Timer1);
    EXPECT_EQ(game.state.SheepCount, 1003);
}

TEST_F(GameRulesTest, rollTickDrawsXThenYThenSpriteOnTheBackBufferAndShowsIt) {
    const QImage before = game.surfaces.Pura.copy();
    lineUpRollTick(-5, 114, 7);
    game.Timer1_Timer();
    EXPECT_EQ(game.state.RollX, -5.0f);
    EXPECT_EQ(game.state.RollY, 114);
    const QImage expected = composed(before, game.surfaces.PhRight[1], game.surfaces.Phb2, -5, 114);
    EXPECT_EQ(game.surfaces.Pura, expected);
    EXPECT_EQ(game.surfaces.Pmain, expected);
    EXPECT_EQ(game.controls.Label1.caption, QStringLiteral("羊の数：1"));

    // The largest draws give the far corner.
    random.push({0.999999, 0.999999, 0.999999});
    game.Timer1_Timer();
    EXPECT_EQ(game.state.RollX, 174.0f);
    EXPECT_EQ(game.state.RollY, 114);
}

TEST_F(GameRulesTest, command2ClearsTheFieldButNotTheCountLabel) {
    game.Command1_Click();
    rollTicks(5);
    game.Command1_Click();
    ASSERT_NE(game.surfaces.Pmain, game.surfaces.Pic1);
    game.Command2_Click();
    EXPECT_EQ(game.surfaces.Pura, game.surfaces.Pic1);
    EXPECT_EQ(game.surfaces.Pmain, game.surfaces.Pic1);
    EXPECT_EQ(game.state.SheepCount, 0);
    EXPECT_EQ(game.controls.Label1.caption, QStringLiteral("羊の数：5"));
    EXPECT_EQ(game.controls.Command1.caption, QStringLiteral("はじめる"));
    EXPECT_TRUE(game.controls.Command1.enabled);
    EXPECT_FALSE(game.controls.Command2.enabled);
}

TEST_F(GameRulesTest, backgroundChoiceReplacesTheWholeField) {
    game.Command1_Click();
    rollTicks(3);
    game.Command1_Click();
    game.Option3_Click();
    EXPECT_EQ(game.surfaces.Pkiso, game.surfaces.Pic3);
    EXPECT_EQ(game.surfaces.Pura, game.surfaces.Pic3);
    EXPECT_EQ(game.surfaces.Pmain, game.surfaces.Pic3);
    game.Command2_Click();
    EXPECT_EQ(game.surfaces.Pmain, game.surfaces.Pic3) << "a reset shows the chosen background";
}

TEST_F(GameRulesTest, newRoundLaysOutTheFlockAndCountsRounds) {
    startRound(4);
    EXPECT_EQ(game.state.FlockSize, 4.0f);
    const int16_t xs[] = {220, 70, 180, 150, 90, 220, 220, 220, 220, 220, 220};
    for (int i = 0; i <= 10; ++i) EXPECT_EQ(game.state.SheepX[i], xs[i]) << i;
    EXPECT_EQ(game.state.SheepY[2], 70);
    EXPECT_EQ(game.controls.Command3.caption, QStringLiteral("1回目"));
    EXPECT_FALSE(game.controls.Command3.enabled);
    EXPECT_FALSE(game.controls.Command1.enabled);
    EXPECT_FALSE(game.controls.P_Change.visible);
    EXPECT_TRUE(game.controls.Timer2);
    runRound();
    startRound(1);
    runRound();
    startRound(5);
    EXPECT_EQ(game.controls.Command3.caption, QStringLiteral("3回目"));
}

TEST_F(GameRulesTest, roundsEndWhenTheRightmostSheepPassesTheExitLine) {
    // Flocks of 4 end on tick 21 (slot 2 from x 180), the others on tick 22.
    const int expected[] = {22, 22, 22, 21, 22};
    for (int size = 1; size <= 5; ++size) {
        startRound(size);
        EXPECT_EQ(runRound(), expected[size - 1]) << "flock of " << size;
        EXPECT_TRUE(game.controls.Command3.enabled);
        EXPECT_TRUE(game.controls.P_Change.visible);
        EXPECT_EQ(game.surfaces.Pmain, game.surfaces.Pkiso) << "the last frame shows only the background";
    }
}

TEST_F(GameRulesTest, flockFrameShowsShornSheepAtTheirMovedPlaces) {
    startRound(2);
    game.Timer2_Timer();  // sheep 2 now at (89, 50)
    random.push({ScriptedRandom::pick(5, 10)});
    game.Pmain_MouseDown(1, 0, 100, 60);
    EXPECT_EQ(game.state.Sheared[2], 1);
    game.Timer2_Timer();  // sheep 1 at (178, 100), sheep 2 at (78, 50)
    const QImage expected =
        composed(composed(game.surfaces.Pkiso, game.surfaces.Ph[0], game.surfaces.Phb1, 178, 100),
                 game.surfaces.Phh, game.surfaces.Phhb, 78, 50);
    EXPECT_EQ(game.surfaces.Pmain, expected);
}

TEST_F(GameRulesTest, tenthRoundEndsTheGameAndRaisesTheBestOnlyWhenBeaten) {
    struct Case { int16_t best; int16_t wool; bool newBest; };
    for (const Case& k : {Case{100, 523, true}, Case{523, 523, false}, Case{600, 523, false}}) {
        game.Command4_Click();
        game.state.BestWool = k.best;
        game.controls.Label4.caption = QStringLiteral("最高：%1g").arg(k.best);
        for (int round = 1; round <= 9; ++round) {
            startRound(1);
            runRound();
        }
        // The end of round 9 enables only Command3.
        EXPECT_TRUE(game.controls.Command3.enabled);
        EXPECT_FALSE(game.controls.Command1.enabled);
        EXPECT_FALSE(game.controls.Command2.enabled);
        sound.calls.clear();
        startRound(1);
        game.state.Wool = k.wool;
        runRound();
        EXPECT_FALSE(game.controls.Command3.enabled);
        EXPECT_TRUE(game.controls.Command1.enabled);
        EXPECT_TRUE(game.controls.Command2.enabled);
        EXPECT_TRUE(game.controls.Command4.enabled);
        EXPECT_TRUE(game.controls.P_Change.visible);
        EXPECT_EQ(game.state.BestWool, k.newBest ? k.wool : k.best);
        EXPECT_EQ(game.controls.Label4.caption, QStringLiteral("最高：%1g").arg(game.state.BestWool));
        EXPECT_EQ(sound.calls,
                  QStringList{k.newBest ? QStringLiteral("wave:777.wav:1") : QStringLiteral("wave:other.wav:1")});
    }
}

TEST_F(GameRulesTest, command4DuringARoundStopsTheFlockAndResetsTheWool) {
    startRound(3);
    game.Timer2_Timer();
    random.push({ScriptedRandom::pick(4, 10)});
    game.Pmain_MouseDown(1, 0, 190, 130);  // sheep 1 at (189, 120)
    EXPECT_EQ(game.state.Wool, 104);
    const QImage frame = game.surfaces.Pmain.copy();
    game.Command4_Click();
    EXPECT_FALSE(game.controls.Timer2);
    EXPECT_EQ(game.state.Wool, 0);
    EXPECT_EQ(game.state.ShearRound, 0);
    EXPECT_EQ(game.controls.Label2.caption, QStringLiteral("羊毛：0g"));
    EXPECT_EQ(game.controls.Command3.caption, QStringLiteral("羊毛を刈る"));
    EXPECT_TRUE(game.controls.Command1.enabled && game.controls.Command2.enabled && game.controls.Command3.enabled);
    EXPECT_EQ(game.surfaces.Pmain, frame) << "the field keeps its last frame";
    EXPECT_EQ(game.state.FlockSize, 3.0f);
    EXPECT_EQ(game.state.Sheared[1], 1);
}

TEST_F(GameRulesTest, pressAfterCommand4ShearsTheOldFlockInTheCorner) {
    startRound(3);
    runRound();
    game.Command4_Click();
    // Sheep 1 to 3 of the last flock now stand at (0, 0), all woolly.
    random.push({ScriptedRandom::pick(0, 10), ScriptedRandom::pick(9, 10), ScriptedRandom::pick(3, 10)});
    game.Pmain_MouseDown(2, 1, 20, 20);
    EXPECT_EQ(game.state.Wool, 100 + 109 + 103);
    EXPECT_EQ(sound.calls.count(QStringLiteral("wave:karu.wav:1")), 3);
    EXPECT_EQ(game.controls.Label2.caption, QStringLiteral("羊毛：312g"));
}

TEST_F(GameRulesTest, hitBoxIsStrictOnAllFourEdges) {
    startRound(1);
    game.Timer2_Timer();  // sheep 1 at (189, 100)
    struct Press { float x; float y; bool hit; };
    const Press presses[] = {
        {189.0f, 120.0f, false}, {229.0f, 120.0f, false}, {200.0f, 100.0f, false}, {200.0f, 140.0f, false},
        {189.01f, 120.0f, true}, {228.99f, 120.0f, true}, {200.0f, 101.0f, true}, {200.0f, 139.0f, true},
        {200.0f, 100.5f, false},  // rounds to 100 (ties to even)
        {200.0f, 139.5f, false},  // rounds to 140
        {200.0f, 138.5f, true},   // rounds to 138
    };
    for (const Press& p : presses) {
        game.state.Sheared[1] = 0;
        game.state.Wool = 0;
        if (p.hit) random.push({0.5});
        sound.calls.clear();
        game.Pmain_MouseDown(1, 0, p.x, p.y);
        EXPECT_EQ(game.state.Sheared[1], p.hit ? 1 : 0) << p.x << "," << p.y;
        EXPECT_EQ(sound.calls.size(), p.hit ? 1 : 0) << p.x << "," << p.y;
    }
    EXPECT_EQ(random.left(), 0u);
}

TEST_F(GameRulesTest, shornSheepPlaysTheSoundAgainButYieldsNothing) {
    game.Pmain_MouseDown(1, 0, 50, 50);
    EXPECT_EQ(game.controls.Label2.caption, QStringLiteral("羊毛：0g")) << "no flock yet: only the label";
    startRound(1);
    game.Timer2_Timer();
    random.push({ScriptedRandom::pick(5, 10)});
    game.Pmain_MouseDown(4, 0x0C, 200, 120);
    EXPECT_EQ(game.controls.Label2.caption, QStringLiteral("羊毛：105g"));
    game.Pmain_MouseDown(1, 0, 200, 120);
    EXPECT_EQ(game.controls.Label2.caption, QStringLiteral("羊毛：105g"));
    EXPECT_EQ(sound.calls.count(QStringLiteral("wave:karu.wav:1")), 2);
    EXPECT_EQ(random.draws(), 2);  // the flock size and one amount
}

TEST_F(GameRulesTest, overlappingSheepAreShornTogetherLowerNumberFirst) {
    startRound(3);  // sheep 2 (80, 70), sheep 3 (130, 10)
    game.state.SheepX[3] = 90;
    game.state.SheepY[3] = 60;
    random.push({ScriptedRandom::pick(1, 10), ScriptedRandom::pick(2, 10)});
    game.Pmain_MouseDown(1, 0, 100, 80);
    EXPECT_EQ(game.state.Sheared[2], 1);
    EXPECT_EQ(game.state.Sheared[3], 1);
    EXPECT_EQ(game.state.Wool, 101 + 102);
    EXPECT_EQ(sound.calls.count(QStringLiteral("wave:karu.wav:1")), 2);
}

TEST_F(GameRulesTest, successCountStopsAtTheTopOfItsRange) {
    game.state.SuccessCount = 32767;
    game.state.SheepCount = 777;
    game.state.RollState = 1;
    game.Command1_Click();
    EXPECT_EQ(game.state.SuccessCount, 32767);
    EXPECT_EQ(game.controls.Label3.caption, QStringLiteral("成功：32767"));
}

TEST_F(GameRulesTest, promptBlinksEverySecondAfterTwoVisibleSeconds) {
    std::vector<bool> visible;
    for (int second = 1; second <= 6; ++second) {
        game.Timer4_Timer();
        visible.push_back(game.controls.Label5.visible);
    }
    EXPECT_EQ(visible, (std::vector<bool>{true, false, true, false, true, false}));
    game.Pgamen_Click();
    EXPECT_FALSE(game.controls.Pgamen.visible);
    EXPECT_FALSE(game.controls.Timer4);
}

TEST_F(GameRulesTest, bannerAlternatesPosesOnACleanPatch) {
    auto expectedBanner = [&](const QImage& pose, const QImage& mask) {
        return composed(game.surfaces.Pminkiso, pose, mask, 0, 0);
    };
    const QImage first = expectedBanner(game.surfaces.Pminh1, game.surfaces.Pminh1b);
    const QImage second = expectedBanner(game.surfaces.Pminh2, game.surfaces.Pminh2b);
    const QImage* order[] = {&first, &second, &first};
    for (const QImage* pose : order) {
        game.Timer3_Timer();
        EXPECT_EQ(game.surfaces.PZeb.copy(10, 10, 20, 20), *pose);
    }
    EXPECT_NE(first, second);
    game.PZeb_Click();
    game.PZeb_Click();
    EXPECT_EQ(sound.calls, QStringList({QStringLiteral("midi:") + game.appFolder() + QStringLiteral("maki.mid"),
                                        QStringLiteral("midi:") + game.appFolder() + QStringLiteral("maki.mid")}));
    EXPECT_TRUE(game.controls.BGM_Check);
}

}  // namespace
