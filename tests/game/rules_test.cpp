// The game's rules on their own, each compared with a second way of working
// out the same answer: the flock's geometry, the press that shears, the
// pause's hold on the timers, the title's counters and the best games' door.
#include "game/rules/best_game_rank.h"
#include "game/rules/flock.h"
#include "game/rules/pause.h"
#include "game/rules/title_banner.h"
#include "fakes.h"

#include <gtest/gtest.h>
#include <random>

namespace {

// For every flock size: the watched slot is the one that starts rightmost,
// and the round ends on the first tick that takes it past x -40, worked out
// from its start x alone; no other slot ends it earlier.
TEST(FlockRules, theRightmostSheepEndsTheRoundOnTheTickItPassesTheExitLine) {
    for (int size = 1; size <= 5; ++size) {
        GameState state;
        ScriptedRandom random;
        random.push({ScriptedRandom::pick(size - 1, 5)});
        ASSERT_EQ(flock::layOut(state, random), size);
        int rightmost = 1;
        for (int k = 2; k <= size; ++k)
            if (state.SheepX[k] > state.SheepX[rightmost]) rightmost = k;
        EXPECT_EQ(flock::watchedSlot(size), rightmost) << "size " << size;
        for (int k = size + 1; k <= 10; ++k) EXPECT_EQ(state.SheepX[k], flock::kParkedX) << "size " << size;

        // x0 - 11 t < -40 first holds at t = floor((x0 + 40) / 11) + 1.
        const int expected = (state.SheepX[rightmost] + 40) / 11 + 1;
        int ticks = 0;
        do {
            flock::move(state);
            ++ticks;
        } while (!flock::roundOver(state) && ticks < 100);
        EXPECT_EQ(ticks, expected) << "size " << size;
        EXPECT_EQ(ticks, size == 4 ? 21 : 22) << "size " << size;
        for (int k = 1; k <= size; ++k) EXPECT_LT(state.SheepX[k], -40) << "every sheep has left, size " << size;
    }
    GameState none;
    flock::move(none);
    EXPECT_FALSE(flock::roundOver(none)) << "no flock before the first round";
}

// Random flocks and presses on whole pixels and half pixels: a sheep is hit
// when the press lies in the 39 x 39 block of whole pixels one in from its
// box's edges, y rounded half to even; each newly shorn sheep adds its own
// draw, lower slots first, and every hit counts.
TEST(FlockRules, aPressShearsExactlyTheSheepWhoseInnerBlockHoldsIt) {
    std::mt19937 engine(20261208);
    const auto uniform = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(engine); };
    for (int trial = 0; trial < 4000; ++trial) {
        GameState state;
        const int size = uniform(1, 5);
        state.FlockSize = float(size);
        state.Wool = int16_t(uniform(0, 2000));
        for (int k = 0; k <= 10; ++k) {
            state.SheepX[k] = int16_t(uniform(-60, 220));
            state.SheepY[k] = int16_t(uniform(-60, 170));
            state.Sheared[k] = int16_t(uniform(0, 1));
        }
        // Most presses near a sheep, so that edges are met often.
        const int near = uniform(1, size);
        const int px = state.SheepX[near] + uniform(-2, 42);
        const int py = state.SheepY[near] + uniform(-2, 42);
        const bool halfY = uniform(0, 1) == 1;
        const float y = halfY ? float(py) + 0.5f : float(py);
        // 20.5 counts as 20 and 21.5 as 22: a tie goes to the even neighbour.
        const int rowY = halfY ? (py % 2 == 0 ? py : py + 1) : py;

        GameState expected = state;
        ScriptedRandom random;
        int hits = 0;
        for (int k = 1; k <= size; ++k) {
            const bool inside = px >= state.SheepX[k] + 1 && px <= state.SheepX[k] + 39 &&
                                rowY >= state.SheepY[k] + 1 && rowY <= state.SheepY[k] + 39;
            if (!inside) continue;
            ++hits;
            if (expected.Sheared[k] == 0) {
                const int grams = uniform(0, 9);
                random.push({ScriptedRandom::pick(grams, 10)});
                expected.Wool = int16_t(expected.Wool + 100 + grams);
            }
            expected.Sheared[k] = 1;
        }
        ASSERT_EQ(flock::shearAt(state, random, float(px), y), hits) << "trial " << trial;
        ASSERT_EQ(state.Wool, expected.Wool) << "trial " << trial;
        ASSERT_EQ(state.Sheared, expected.Sheared) << "trial " << trial;
        ASSERT_EQ(state.ClickY, rowY) << "trial " << trial;
        ASSERT_EQ(random.left(), 0u) << "one draw per newly shorn sheep, trial " << trial;
    }
}

// A random run of pause keys, lost focus and timer changes: the pause only
// ever holds a running roll or round, stops both play timers while it lasts
// and gives back exactly the timers it took.
TEST(PauseRules, aPauseHoldsTheRunningTimersAndGivesBackExactlyThose) {
    std::mt19937 engine(7);
    Pause pause;
    GameControls controls;
    GameControls beforePause;
    for (int step = 0; step < 5000; ++step) {
        const bool wasPaused = pause.paused();
        const bool couldToggle = pause.canToggle(controls);
        switch (std::uniform_int_distribution<int>(0, 3)(engine)) {
        case 0:
            if (!wasPaused) beforePause = controls;
            pause.toggle(controls);
            EXPECT_EQ(pause.paused() != wasPaused, couldToggle) << "step " << step;
            break;
        case 1:
            pause.setWhenInactive(std::uniform_int_distribution<int>(0, 1)(engine) == 1);
            if (!wasPaused) beforePause = controls;
            pause.windowLeft(controls);
            EXPECT_EQ(pause.paused(), wasPaused || (couldToggle && pause.whenInactive())) << "step " << step;
            break;
        default:
            // The handlers change the timers only outside a pause.
            if (!wasPaused) {
                controls.Timer1 = std::uniform_int_distribution<int>(0, 1)(engine) == 1;
                controls.Timer2 = !controls.Timer1 && std::uniform_int_distribution<int>(0, 1)(engine) == 1;
            }
            break;
        }
        if (pause.paused()) {
            EXPECT_FALSE(controls.Timer1 || controls.Timer2) << "step " << step;
        } else if (wasPaused) {
            EXPECT_EQ(controls.Timer1, beforePause.Timer1) << "step " << step;
            EXPECT_EQ(controls.Timer2, beforePause.Timer2) << "step " << step;
        }
    }
}

// The prompt's blink and the banner's poses over many ticks, from start-up:
// the prompt hides on every second tick and shows on the others, the poses
// alternate 1, 2, 1, 2.
TEST(TitleRules, thePromptBlinksEveryOtherSecondAndThePosesAlternate) {
    int16_t blink = 0, frame = 0;
    bool shown = true;
    for (int tick = 1; tick <= 200; ++tick) {
        if (const std::optional<bool> change = title::blinkStep(blink)) shown = *change;
        EXPECT_EQ(shown, tick % 2 == 1) << "tick " << tick;
        EXPECT_EQ(title::bannerStep(frame), tick % 2 == 1 ? 1 : 2) << "tick " << tick;
    }
}

// Whether a total enters the best games agrees with putting it in: a total
// belongs in exactly when the merged table, the new game played later than
// every other, still holds it.
TEST(BestGameRules, aTotalBelongsInExactlyWhenTheMergedTableKeepsIt) {
    std::mt19937 engine(1208);
    const QDateTime day(QDate(2026, 12, 8), QTime(9, 0));
    for (int trial = 0; trial < 2000; ++trial) {
        QList<scores::BestGame> table;
        const int size = std::uniform_int_distribution<int>(0, 10)(engine);
        for (int i = 0; i < size; ++i)
            table.append({std::uniform_int_distribution<int>(1, 1100)(engine), day.addSecs(i), QStringLiteral("め")});
        table = scores::merged(table, {});
        const int grams = std::uniform_int_distribution<int>(-5, 1105)(engine);
        const scores::BestGame game{grams, day.addDays(1), QStringLiteral("め")};
        const bool kept = grams > 0 && scores::merged(table, {game}).contains(game);
        EXPECT_EQ(scores::belongsIn(table, grams), kept) << "trial " << trial << ", " << grams << " g";
    }
}

}  // namespace
