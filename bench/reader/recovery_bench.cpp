// Keeping unsaved work as it goes, measured in the real window:
//  - BM_RecoveryWrite/330000: a designation added to the book of 330,000
//    lines, and its recovery file written: the time until the file is on
//    disk, and (counter stall_ms) the longest the window's event loop
//    waited meanwhile, which must stay at most 16 ms;
//  - BM_StartUp/0 and /20: a window made, shown and its first events
//    handled, with no recovery file waiting and with 20 (each of a book of
//    30,000 lines), which must stay within 1.1 times the first;
//  - BM_StartUpInTurns: the same two starts taken in turns, 400 of each,
//    and the ratio of their medians.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <vector>
#include <benchmark/benchmark.h>
#include <unistd.h>

#include "big_book_tools.h"
#include "reader/core/reader_core.h"
#include "reader/services/recovery.h"
#include "reader/services/recovery_files.h"
#include "reader/ui/vreader3.h"

namespace {

using velreader::ReaderFolders;
using velreader::VReader3;

QString scratch() {
    static QTemporaryDir dir;
    return dir.path() + u'/';
}

ReaderFolders folders(const QString& name) {
    ReaderFolders f = ReaderFolders::portable(scratch());
    f.dataFolder = scratch() + name + u'/';
    return f;
}

void BM_RecoveryWrite(benchmark::State& state) {
    VReader3 window(folders(QStringLiteral("write")));
    window.show();
    velreader::ReaderCore& core = window.core();
    core.state().DisplayLines = bigbooks::proseLines(int(state.range(0)));
    core.state().LineCount = int(state.range(0));
    qint64 worstStall = 0;
    int round = 0;
    for (auto _ : state) {
        bigbooks::StallWatch watch;
        QElapsedTimer clock;
        const QString designation = QStringLiteral("語%1：＞赤").arg(round++ % 40);
        watch.start();
        clock.start();
        // As the window runs a handler: the change, then the hand-over.
        QTimer::singleShot(0, &window, [&] {
            core.controls().Text1.text = designation;
            core.Command3_Click();
            core.keepRecoveryCurrent();
        });
        QApplication::processEvents();
        const QDateTime before = QFileInfo(core.recoveryFile()).lastModified();
        // The event loop turns until the file holds the change.
        while (core.recoveryFile().isEmpty() || QFileInfo(core.recoveryFile()).lastModified() == before ||
               !QFileInfo::exists(core.recoveryFile())) {
            QApplication::processEvents(QEventLoop::AllEvents, 5);
            if (clock.elapsed() > 20000) {
                state.SkipWithError("not written in 20 s");
                break;
            }
        }
        // The last write may be under way still: its end is what counts.
        core.keepUnsavedWork();
        state.SetIterationTime(double(clock.nsecsElapsed()) / 1e9);
        worstStall = std::max(worstStall, watch.stop());
    }
    state.counters["stall_ms"] = double(worstStall);
    core.finishCleanClose();
}
BENCHMARK(BM_RecoveryWrite)->Arg(330000)->Iterations(5)->UseManualTime()->Unit(benchmark::kMillisecond);

// Exactly `count` recovery files of a book of 30,000 lines, as readers that
// were killed leave them. The folder is emptied first: the benchmark calls
// this once for each of its trial runs.
void leaveRecoveryFiles(const QString& dataFolder, int count) {
    const QString folder = dataFolder + QStringLiteral("recovery/");
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
    velreader::RecoveredBook work;
    work.displayLines = bigbooks::proseLines(30000);
    work.lineCount = 30000;
    work.written = QDateTime::currentDateTime();
    const QByteArray bytes = velreader::serialiseRecovery(work);
    for (int i = 0; i < count; ++i) {
        QFile file(folder + velreader::recovery::newFileName(1000 + i));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
    }
    // On the disk before the clock starts, as the files of an earlier
    // session are: writing them back is no part of the start.
    ::sync();
}

void BM_StartUp(benchmark::State& state) {
    const QString name = QStringLiteral("start%1").arg(state.range(0));
    const ReaderFolders f = folders(name);
    leaveRecoveryFiles(f.dataFolder, int(state.range(0)));
    for (auto _ : state) {
        VReader3 window(f);
        window.show();
        QApplication::processEvents();
        benchmark::DoNotOptimize(window.core().recoveryAvailable());
    }
}
// Alternated, so that both see the same machine.
BENCHMARK(BM_StartUp)->Arg(0)->Arg(20)->Arg(0)->Arg(20)->Unit(benchmark::kMillisecond);

// The same two starts taken in turns, one with none waiting and one with
// 20, so that a busy machine slows both alike: the medians of each
// (ms_none, ms_20) and their ratio.
void BM_StartUpInTurns(benchmark::State& state) {
    const ReaderFolders none = folders(QStringLiteral("turns0"));
    const ReaderFolders twenty = folders(QStringLiteral("turns20"));
    leaveRecoveryFiles(none.dataFolder, 0);
    leaveRecoveryFiles(twenty.dataFolder, 20);
    std::vector<qint64> times[2];
    for (auto _ : state) {
        for (int waiting = 0; waiting < 2; ++waiting) {
            QElapsedTimer clock;
            clock.start();
            {
                VReader3 window(waiting ? twenty : none);
                window.show();
                QApplication::processEvents();
                benchmark::DoNotOptimize(window.core().recoveryAvailable());
            }
            times[waiting].push_back(clock.nsecsElapsed());
        }
    }
    const auto median = [](std::vector<qint64>& t) {
        std::sort(t.begin(), t.end());
        return double(t[t.size() / 2]) / 1e6;
    };
    const double noneMs = median(times[0]);
    const double twentyMs = median(times[1]);
    state.counters["ms_none"] = noneMs;
    state.counters["ms_20"] = twentyMs;
    state.counters["ratio"] = twentyMs / noneMs;
}
BENCHMARK(BM_StartUpInTurns)->Iterations(400)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its reading places and recent books in a settings
    // folder of the run's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
