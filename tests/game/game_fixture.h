#pragma once

#include "game/core/hituji_game.h"
#include "fakes.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

// A started game in a temporary application folder, driven through its
// handlers with a scripted random source and a recording sound player.
class GameFixture : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(game.Form_Load().ok); }

    // Lines up the three draws of one roll tick: x, y, sprite number.
    void lineUpRollTick(int x = 50, int y = 50, int sprite = 1) {
        random.push({ScriptedRandom::pick(x + 5, 180), ScriptedRandom::pick(y + 5, 120),
                     ScriptedRandom::pick(sprite - 1, 10)});
    }
    void rollTicks(int n) {
        for (int i = 0; i < n; ++i) {
            lineUpRollTick();
            game.Timer1_Timer();
        }
    }
    void startRound(int flockSize) {
        random.push({ScriptedRandom::pick(flockSize - 1, 5)});
        game.Command3_Click();
    }
    // Runs flock ticks until the round ends; returns how many ticks it took.
    int runRound() {
        int ticks = 0;
        while (game.controls.Timer2 && ticks < 1000) {
            game.Timer2_Timer();
            ++ticks;
        }
        return ticks;
    }

    QTemporaryDir dir;
    ScriptedRandom random;
    RecordingSound sound;
    HitujiGame game{random, sound, dir.path() + u'/'};
};
