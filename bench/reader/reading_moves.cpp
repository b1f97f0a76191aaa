// Moving through a big book in the real reader window, off screen: a step
// forward, a step back, an auto-play step, a jump to step 300,000 and a
// resume there, each until the page is painted; beside the same moves in a
// 500-line book in the same run. Also the record of the pages: its size per
// display line, the peak memory it adds, how long building it takes in
// slices, and the longest stall of a jump or a resume made before it was
// built; and auto-play's waits against the formula over 50 lines.
//
//   reading_moves [LINES] [--no-autoplay]     (LINES: 330000 by default)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/reader/big_book_tools.h"
#include "reader/rules/bookformat.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"

namespace {

using bigbooks::memoryKb;

// Random Japanese prose, 5 to 24 characters a line; every 100th line holds
// one of three marked words, so the designations change the picture or the
// colour every few hundred lines.
QStringList bookLines(int count) {
    const QString& pool = bigbooks::prosePool();
    static const QString marks[] = {QStringLiteral("〈うみ〉"), QStringLiteral("〈もり〉"), QStringLiteral("〈よる〉")};
    QRandomGenerator random(2026);
    QStringList lines;
    lines.reserve(count + 1);
    for (int i = 0; i < count; ++i) {
        QString line;
        const int length = random.bounded(5, 25);
        for (int k = 0; k < length; ++k) line += pool[random.bounded(int(pool.size()))];
        if (i % 100 == 37) line.insert(random.bounded(int(line.size())), marks[(i / 100) % 3]);
        lines << line.left(30);
    }
    lines << QString();
    return lines;
}

bool writeBook(const QString& path, int count) {
    velreader::Book book;
    book.lineCount = count;
    book.lines = bookLines(count);
    book.words[0] = QStringLiteral("〈うみ〉");
    book.entries[0] = QStringLiteral("umi.png＞青");
    book.words[1] = QStringLiteral("〈もり〉");
    book.entries[1] = QStringLiteral("mori.png＞緑");
    book.words[2] = QStringLiteral("〈よる〉");
    book.entries[2] = QStringLiteral("＞白");
    book.wordCount = 3;
    const velreader::BookBytes bytes = velreader::serialiseBook(book);
    QFile file(path);
    return bytes.ok() && file.open(QIODevice::WriteOnly) && file.write(bytes.bytes) == bytes.bytes.size();
}

struct Figures {
    double median = 0, worst = 0;
};

Figures summary(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    return {ms[ms.size() / 2], ms.back()};
}

// Runs `move` and paints the page; the time until it is on the screen.
template <typename F>
double timed(velreader::VReader3& window, F move) {
    QElapsedTimer clock;
    clock.start();
    move();
    window.pmain()->repaint();
    return clock.nsecsElapsed() / 1e6;
}

void waitUntilFilled(velreader::VReader3& window) {
    while (window.text1()->filling() || window.text2()->filling() || window.core().busy())
        QApplication::processEvents();
}

// Longest time between two turns of the event loop while `until` is false.
template <typename F>
qint64 longestStall(F until) {
    QElapsedTimer clock;
    clock.start();
    qint64 longest = 0;
    while (!until()) {
        QApplication::processEvents();
        longest = std::max(longest, clock.restart());
    }
    return longest;
}

// Steps forward and back, for a profiler (callgrind: --toggle-collect=*profileMoves*).
__attribute__((noinline)) void profileMoves(velreader::VReader3& window, int steps) {
    window.core().goToStep(1000);
    for (int i = 0; i < steps; ++i) {
        QTest::keyClick(window.pmain(), Qt::Key_Space);
        window.pmain()->repaint();
        QTest::keyClick(window.pmain(), Qt::Key_Left);
        window.pmain()->repaint();
    }
}

struct BookRun {
    Figures forward, back, autoStep, jump, resume, coreForward, coreBack;
};

BookRun measureMoves(velreader::VReader3& window, int lines) {
    BookRun run;
    QWidget* page = window.pmain();
    const int far = std::min(300000, lines - 10);
    window.core().goToStep(far - 300);
    std::vector<double> forward, back, autoStep, jump, resume;
    for (int i = 0; i < 200; ++i) forward.push_back(timed(window, [&] { QTest::keyClick(page, Qt::Key_Space); }));
    for (int i = 0; i < 200; ++i) back.push_back(timed(window, [&] { QTest::keyClick(page, Qt::Key_Left); }));
    for (int i = 0; i < 200; ++i) {
        window.autoPlay().start(window.core().printedLine(), true);
        autoStep.push_back(timed(window, [&] { emit window.autoPlay().nextLineWanted(); }));
    }
    window.autoPlay().stop();
    std::vector<double> coreForward, coreBack;
    QElapsedTimer c;
    for (int i = 0; i < 200; ++i) {
        c.start();
        window.core().Command2_Click();
        coreForward.push_back(c.nsecsElapsed() / 1e6);
    }
    for (int i = 0; i < 200; ++i) {
        c.start();
        window.core().stepBack();
        coreBack.push_back(c.nsecsElapsed() / 1e6);
    }
    run.coreForward = summary(coreForward);
    run.coreBack = summary(coreBack);
    for (int i = 0; i < 20; ++i) {
        window.setStepAsker([&](int, int) { return std::optional<int>(i % 2 ? 10 : far); });
        const double ms = timed(window, [&] { window.jumpAction()->trigger(); });
        if (i % 2 == 0) jump.push_back(ms);
    }
    run.forward = summary(forward);
    run.back = summary(back);
    run.autoStep = summary(autoStep);
    run.jump = summary(jump);
    // The place reached is remembered; opened again, the book offers it.
    for (int i = 0; i < 5; ++i) {
        window.setStepAsker([&](int, int) { return std::optional<int>(far); });
        window.jumpAction()->trigger();
        window.storeSettings();
        window.loadAction()->trigger();
        waitUntilFilled(window);
        // The record is built between events after a load, long before a
        // person reaches for 続きから読む.
        while (!window.core().buildPageMap(8)) QApplication::processEvents();
        resume.push_back(timed(window, [&] { window.resumeAction()->trigger(); }));
        if (window.core().currentStep() != far) std::printf("resume went to %d, not %d!\n", window.core().currentStep(), far);
    }
    run.resume = summary(resume);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    int count = 330000;
    bool autoPlayWaits = true;
    int profileSteps = 0;  // --profile N: N steps forward and back in the big book, for a profiler
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--no-autoplay") == 0) autoPlayWaits = false;
        else if (std::strcmp(argv[i], "--profile") == 0 && i + 1 < argc) profileSteps = std::atoi(argv[++i]);
        else count = std::atoi(argv[i]);
    }
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Book"));
    QDir(dir.path()).mkpath(QStringLiteral("E"));
    for (const char* name : {"umi.png", "mori.png"})
        QFile::copy(QStringLiteral(VELREADER_ASSETS "/E/") + name, dir.path() + QStringLiteral("/E/") + name);
    const QString folder = dir.path() + u'/';
    const QString small = folder + QStringLiteral("Book/small.vln");
    const QString big = folder + QStringLiteral("Book/big.vln");
    if (!writeBook(small, 500) || !writeBook(big, count)) return 1;
    std::printf("books: 500 and %d display lines (%.2f MB); a picture or colour changes every 100 lines\n", count,
                QFileInfo(big).size() / 1048576.0);

    velreader::VReader3 window(folder);
    window.core().setUnsavedQuestion([] { return velreader::UnsavedAnswer::Discard; });
    window.show();
    QString path = small;
    window.core().setFileDialog([&](const velreader::FileDialogRequest&) { return path; });
    window.loadAction()->trigger();
    waitUntilFilled(window);
    while (!window.core().buildPageMap(8)) {
    }
    const BookRun smallRun = measureMoves(window, 500);

    path = big;
    const long beforeLoad = memoryKb("VmHWM:");
    window.loadAction()->trigger();
    waitUntilFilled(window);
    const long afterLoad = memoryKb("VmHWM:");
    // A jump at once, before the record is built: the stall it costs.
    QElapsedTimer clock;
    clock.start();
    window.core().goToStep(std::min(300000, count - 10));
    window.pmain()->repaint();
    const double earlyJump = clock.nsecsElapsed() / 1e6;
    window.loadAction()->trigger();
    waitUntilFilled(window);
    const long afterSecondLoad = memoryKb("VmHWM:");
    clock.restart();
    int slices = 0;
    const qint64 buildStall = longestStall([&] {
        ++slices;
        return window.core().buildPageMap(8);
    });
    const double buildMs = clock.nsecsElapsed() / 1e6;
    const long afterMap = memoryKb("VmHWM:");
    const qsizetype mapBytes = window.core().pageMap().memoryBytes();
    if (profileSteps > 0) {
        profileMoves(window, profileSteps);
        return 0;
    }
    const BookRun bigRun = measureMoves(window, count);
    // The small book once more, now that the big one has been through the
    // process's memory: what is left of the difference is the book's size.
    path = small;
    window.loadAction()->trigger();
    waitUntilFilled(window);
    while (!window.core().buildPageMap(8)) QApplication::processEvents();
    const BookRun smallAfter = measureMoves(window, 500);
    path = big;

    std::printf("\nmedian / max until the page is painted: the 500-line book first, the big book, the 500-line book again\n");
    std::printf("%-32s %20s %20s %20s %7s\n", "", "500 lines, first", QString("%1 lines").arg(count).toUtf8().constData(),
                "500 lines, again", "ratio");
    const auto row = [](const char* what, Figures a, Figures b, Figures c) {
        std::printf("%-32s %8.3f /%7.3f ms %8.3f /%7.3f ms %8.3f /%7.3f ms %6.2fx\n", what, a.median, a.worst, b.median,
                    b.worst, c.median, c.worst, b.median / c.median);
    };
    row("step forward (Space)", smallRun.forward, bigRun.forward, smallAfter.forward);
    row("step back (Left)", smallRun.back, bigRun.back, smallAfter.back);
    row("auto-play step", smallRun.autoStep, bigRun.autoStep, smallAfter.autoStep);
    row("jump (to step 300,000 if any)", smallRun.jump, bigRun.jump, smallAfter.jump);
    row("resume (続きから読む)", smallRun.resume, bigRun.resume, smallAfter.resume);
    row("the core's step forward alone", smallRun.coreForward, bigRun.coreForward, smallAfter.coreForward);
    row("the core's step back alone", smallRun.coreBack, bigRun.coreBack, smallAfter.coreBack);
    std::printf("\nrecord of the pages: %lld bytes, %.2f bytes a display line\n", (long long)mapBytes,
                double(mapBytes) / count);
    std::printf("built in %d slices of 8 ms: %.1f ms in all, longest stall %lld ms\n", slices, buildMs,
                (long long)buildStall);
    std::printf("a jump to step 300,000 before the record was built: %.1f ms\n", earlyJump);
    std::printf("peak memory: %.1f MB before the load, %.1f MB after, %.1f MB after a second load, %.1f MB with the "
                "record (+%.2f bytes a line)\n",
                beforeLoad / 1024.0, afterLoad / 1024.0, afterSecondLoad / 1024.0, afterMap / 1024.0,
                (afterMap - afterSecondLoad) * 1024.0 / count);

    if (autoPlayWaits) {
        // Auto-play over 50 lines of the small book, at the default speed.
        window.core().goToStep(100);
        std::vector<double> errors;
        QElapsedTimer since;
        int lastStep = window.core().currentStep();
        QString lastLine = window.core().printedLine();
        window.autoPlay().start(lastLine, true);
        since.start();
        while (errors.size() < 50 && window.autoPlay().running()) {
            QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
            if (window.core().currentStep() != lastStep) {
                const double waited = since.nsecsElapsed() / 1e6;
                since.restart();
                const double formula = velreader::autoPlayWaitMs(lastLine, 1.0);
                errors.push_back((waited - formula) / formula * 100.0);
                lastStep = window.core().currentStep();
                lastLine = window.core().printedLine();
            }
        }
        window.autoPlay().stop();
        double worst = 0, sum = 0;
        for (double e : errors) {
            worst = std::max(worst, std::abs(e));
            sum += e;
        }
        std::printf("auto-play over %zu lines: waits %.2f %% off the formula on average, %.2f %% at most\n",
                    errors.size(), sum / double(errors.size()), worst);
    }
    return 0;
}
