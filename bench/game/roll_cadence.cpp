// Measures the roll's cadence in the real game window: starts a roll with a
// real click, pauses it with P in the middle and goes on with P again, records
// when each roll tick arrives, and reports the intervals and the arrival of
// the 777th tick in running time (the pause not counted), which should be
// 15.54 s after the click.
//
//   roll_cadence [ticks] [pause at tick] [pause ms]
//   (defaults 1000, 300 and 2000; a pause at tick 0 is none; the roll ends
//   by itself at 1002)
#include "game/state/random.h"
#include "game/state/soundplayer.h"
#include "game/ui/hituji_window.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {
class SilentSound final : public SoundPlayer {
public:
    void PlayMidi(const QString&) override {}
    void PlayWave(const QString&, int16_t) override {}
};
}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int wanted = argc > 1 ? std::max(800, std::atoi(argv[1])) : 1000;
    const int pauseAt = argc > 2 ? std::clamp(std::atoi(argv[2]), 0, 776) : 300;
    const int pauseMs = argc > 3 ? std::max(0, std::atoi(argv[3])) : 2000;
    installGameFonts();
    QTemporaryDir dir;
    ClockSeededRandom random;
    SilentSound sound;
    HitujiGame game(random, sound, dir.path() + u'/');
    Hituji window(game);
    if (!window.Form_Load()) return 1;
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    QTest::mouseClick(window.pgamen(), Qt::LeftButton);

    std::vector<qint64> arrivals;  // ns of running time since the start click
    arrivals.reserve(static_cast<size_t>(wanted));
    QElapsedTimer clock;
    QElapsedTimer paused;
    qint64 pausedNs = 0;     // time spent paused, left out of the running time
    qint64 pausedFor = -1;   // the one pause, measured
    QObject::connect(&window, &Hituji::timer1Ticked, [&] {
        arrivals.push_back(clock.nsecsElapsed() - pausedNs);
        if (static_cast<int>(arrivals.size()) >= wanted || !window.timer(1)->isActive()) app.quit();
        if (static_cast<int>(arrivals.size()) == pauseAt) {
            // Some way into the next interval, as a player's key would come.
            QTimer::singleShot(7, Qt::PreciseTimer, [&] {
                QTest::keyClick(&window, Qt::Key_P);
                paused.start();
                QTimer::singleShot(pauseMs, Qt::PreciseTimer, [&] {
                    pausedFor = paused.nsecsElapsed();
                    pausedNs += pausedFor;
                    QTest::keyClick(&window, Qt::Key_P);
                });
            });
        }
    });
    QTimer::singleShot(100, [&] {
        clock.start();
        QTest::mouseClick(window.command(1), Qt::LeftButton);
    });
    app.exec();

    std::vector<double> intervals;
    for (size_t i = 0; i < arrivals.size(); ++i) {
        intervals.push_back((arrivals[i] - (i ? arrivals[i - 1] : 0)) / 1e6);
    }
    if (intervals.size() < 777) {
        std::printf("only %zu ticks arrived\n", intervals.size());
        return 1;
    }
    std::vector<double> sorted(intervals.begin() + 1, intervals.end());
    std::sort(sorted.begin(), sorted.end());
    double sum = 0;
    for (double v : sorted) sum += v;
    const double p99 = sorted[static_cast<size_t>(0.99 * (sorted.size() - 1))];
    const double at777 = arrivals[776] / 1e9;
    std::printf("ticks measured:        %zu\n", intervals.size());
    if (pauseAt > 0) {
        std::printf("pause:                 %.1f ms after tick %d, with P, and P again\n", pausedFor / 1e6, pauseAt);
        std::printf("interval over pause:   %.3f ms of running time\n", intervals[size_t(pauseAt)]);
    }
    std::printf("first tick after:      %.3f ms\n", intervals[0]);
    std::printf("mean interval:         %.3f ms\n", sum / sorted.size());
    std::printf("99th percentile:       %.3f ms\n", p99);
    std::printf("largest interval:      %.3f ms\n", sorted.back());
    std::printf("777th tick at:         %.4f s of running time (goal 15.54 s, off by %+.3f%%)\n", at777,
                (at777 - 15.54) / 15.54 * 100);
    std::printf("label at the end:      %s\n", qPrintable(game.controls.Label1.caption));
    const bool pauseSeen = pauseAt == 0 || pausedFor > 0;
    const bool ok = pauseSeen && std::abs(at777 - 15.54) / 15.54 <= 0.005 && sorted.back() <= 25.0;
    std::printf("goal (within 0.5%%, no interval above 25 ms): %s\n", ok ? "met" : "MISSED");
    return ok ? 0 : 2;
}
