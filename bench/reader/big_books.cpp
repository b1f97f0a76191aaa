// Big books through the real reader window, off screen: how long loading,
// "全文表示", the switch to the reading view, a save and a reading ("読み込み"
// of the book's text) take, the longest the event loop stood still
// meanwhile, a play step beside one in a 500-line book, what a close in the
// middle of a load costs, and the peak memory; beside the floors measured in
// the same run (reading the book file alone, and QPlainTextEdit::setPlainText
// of the same display lines one per paragraph).
//
//   big_books LINES [--main]  (30000 gives a book of about 1 MB, 330000 about
//                          9 MB, 660000 about 19.5 MB)
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "bench/reader/aozora_text.h"
#include "bench/reader/big_book_tools.h"
#include "common/cp932.h"
#include "common/large_blocks.h"
#include "reader/rules/bookformat.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"
#include "reader/ui/web_export.h"

namespace {

using bigbooks::memoryKb;
using bigbooks::proseLines;
using bigbooks::StallWatch;

// The mean time of a play step through the window ("再生" clicked), over
// `steps` steps from a rewind.
double playStepMs(velreader::VReader3& window, int steps) {
    window.command(4)->click();
    QApplication::processEvents();
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < steps; ++i) window.command(2)->click();
    return clock.nsecsElapsed() / 1e6 / steps;
}

// The resident memory of the process now and its peak so far, after `what`.
void printMemory(const char* what) {
    std::printf("    memory after %-38s now %6.1f MB, peak %6.1f MB\n", what, memoryKb("VmRSS:") / 1024.0,
                memoryKb("VmHWM:") / 1024.0);
}

// Runs `action`, then lets the window finish (the listing box filled, the
// window painted); returns the milliseconds and the longest stall.
template <typename F>
std::pair<double, qint64> timed(velreader::VReader3& window, StallWatch& watch, F action) {
    QElapsedTimer clock;
    QApplication::processEvents();
    watch.start();
    clock.start();
    action();
    while (window.text2()->filling() || window.text1()->filling()) QApplication::processEvents();
    QApplication::processEvents();
    const double ms = clock.nsecsElapsed() / 1e6;
    return {ms, watch.stop()};
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    common::giveLargeBlocksBack();  // as the reader's own start does
    // The window keeps its reading places and recent books in a settings
    // folder of the run's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    const int count = argc > 1 ? std::atoi(argv[1]) : 30000;
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Book"));
    const QString folder = dir.path() + u'/';
    const QString path = folder + QStringLiteral("Book/big.vln");

    // The tool keeps no list of the lines: their texts are made again when
    // needed, so that the process's peak memory is the window's.
    {
        velreader::Book book;
        book.lineCount = count;
        book.lines = proseLines(count);
        book.words[0] = QStringLiteral("海");
        book.entries[0] = QStringLiteral("umi.png＞青");
        book.wordCount = 1;
        const velreader::BookBytes bytes = velreader::serialiseBook(book);
        QFile file(path);
        if (!bytes.ok() || !file.open(QIODevice::WriteOnly) || file.write(bytes.bytes) != bytes.bytes.size()) return 1;
    }
    const double megabytes = QFileInfo(path).size() / 1048576.0;
    std::printf("book: %d display lines, %.2f MB\n", count, megabytes);
    printMemory("making the book");


    // With a data folder, as an installed reader has: unsaved work goes to
    // a recovery file as it comes.
    velreader::ReaderFolders folders = velreader::ReaderFolders::portable(folder);
    folders.dataFolder = folder + QStringLiteral("data/");
    auto owned = std::make_unique<velreader::VReader3>(folders);
    velreader::VReader3& window = *owned;
    window.core().setFileDialog([&](const velreader::FileDialogRequest&) { return path; });
    window.core().setUnsavedQuestion([] { return velreader::UnsavedAnswer::Discard; });
    window.show();
    StallWatch watch;

    const auto [loadMs, loadStall] = timed(window, watch, [&] { window.loadAction()->trigger(); });
    if (window.core().controls().Text1.text != QStringLiteral("ロード完了。")) {
        std::printf("load failed: %s\n", qPrintable(window.core().controls().Text1.text));
        return 1;
    }
    std::printf("load through the window                       %8.1f ms, longest stall %4lld ms\n", loadMs, loadStall);
    printMemory("the load");
    const auto [switchMs, switchStall] = timed(window, watch, [&] { emit window.tab(2)->clicked(); });
    std::printf("switch to the reading view                    %8.1f ms, longest stall %4lld ms\n", switchMs, switchStall);
    const auto [fullMs, fullStall] = timed(window, watch, [&] { window.command(6)->click(); });
    std::printf("全文表示                                       %8.1f ms, longest stall %4lld ms\n", fullMs, fullStall);
    printMemory("全文表示");
    const bool exact = window.core().controls().Text2.text == bigbooks::proseText(count, {}) &&
                       window.text2()->content() == window.core().controls().Text2.text;
    std::printf("the listing holds the design's text exactly: %s\n", exact ? "yes" : "NO");
    const auto [backMs, backStall] = timed(window, watch, [&] { emit window.tab(1)->clicked(); });
    std::printf("switch back to the player view                %8.1f ms, longest stall %4lld ms\n", backMs, backStall);

    // A play step here, beside one in a 500-line book in the same run; each
    // the best of five rounds of 2,000 steps.
    {
        const QString smallPath = folder + QStringLiteral("Book/small.vln");
        velreader::Book small;
        small.lineCount = 500;
        small.lines = proseLines(500);
        const velreader::BookBytes smallBytes = velreader::serialiseBook(small);
        QFile smallFile(smallPath);
        if (!smallFile.open(QIODevice::WriteOnly) || smallFile.write(smallBytes.bytes) != smallBytes.bytes.size()) return 1;
        smallFile.close();
        velreader::VReader3 smallWindow(folder);
        smallWindow.show();
        smallWindow.openFile(smallPath);
        emit smallWindow.tab(2)->clicked();
        smallWindow.command(6)->click();
        emit smallWindow.tab(1)->clicked();
        while (smallWindow.text2()->filling()) QApplication::processEvents();
        double bigStep = 1e9;
        double smallStep = 1e9;
        for (int round = 0; round < 5; ++round) {
            bigStep = std::min(bigStep, playStepMs(window, 2000));
            smallStep = std::min(smallStep, playStepMs(smallWindow, 480));
        }
        std::printf("a play step: %.4f ms here, %.4f ms in a 500-line book (%.2fx)\n", bigStep, smallStep, bigStep / smallStep);
    }

    const QString savedPath = folder + QStringLiteral("Book/saved.vln");
    window.core().setFileDialog([&](const velreader::FileDialogRequest&) { return savedPath; });
    const auto [saveMs, saveStall] = timed(window, watch, [&] { window.saveAction()->trigger(); });
    std::printf("save (セーブ)                                  %8.1f ms, longest stall %4lld ms (%s)\n", saveMs, saveStall,
                qPrintable(window.core().controls().Text1.text.left(12)));
    printMemory("the save");

    // A reading of the book's text typed (here: put) into Text1.
    {
        QString text = bigbooks::proseText(count, u"\r\n");
        emit window.tab(2)->clicked();
        window.core().controls().Text1.text = text;
        window.text1()->setContent(text);
        while (window.text1()->filling()) QApplication::processEvents();
        const auto [readMs, readStall] = timed(window, watch, [&] { window.command(1)->click(); });
        std::printf("reading (読み込み) of the text, %d lines        %8.1f ms, longest stall %4lld ms\n",
                    window.core().state().LineCount, readMs, readStall);
        printMemory("the reading");
        emit window.tab(1)->clicked();
    }
    // The text read, exported as a web page.
    {
        auto* exporter = window.findChild<velreader::WebExport*>();
        const QString pagePath = folder + QStringLiteral("Book/big.html");
        exporter->setPathChooser([&](const QString&) { return pagePath; });
        QSignalSpy finished(exporter, &velreader::WebExport::finished);
        const auto [exportMs, exportStall] = timed(window, watch, [&] {
            exporter->action()->trigger();
            while (finished.isEmpty()) QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        });
        std::printf("export as a web page (%.1f MB)               %8.1f ms, longest stall %4lld ms\n",
                    QFileInfo(pagePath).size() / 1048576.0, exportMs, exportStall);
        QFile::remove(pagePath);
    }
    // A designation added to the unsaved reading: until its recovery file
    // holds it.
    {
        const auto written = [&] { return QFileInfo(window.core().recoveryFile()).lastModified(); };
        QElapsedTimer wait;
        wait.start();
        while (window.core().recoveryFile().isEmpty() && wait.elapsed() < 20000) QApplication::processEvents();
        // The reading's own write is done first.
        window.core().keepUnsavedWork();
        const QDateTime before = written();
        const QString designation = QStringLiteral("羊：＞赤");
        window.core().controls().Text1.text = designation;
        window.text1()->setContent(designation);
        const auto [keepMs, keepStall] = timed(window, watch, [&] {
            window.command(3)->click();
            while (written() == before && wait.elapsed() < 40000)
                QApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        });
        std::printf("recovery file written after a designation  %8.1f ms, longest stall %4lld ms%s\n", keepMs, keepStall,
                    written() == before ? " (NOT WRITTEN)" : "");
        printMemory("the recovery write");
    }
    std::printf("peak memory of the process so far                %6.1f MB\n", memoryKb("VmHWM:") / 1024.0);
    // "--main" stops here, so that a heap profiler's peak is the window's.
    if (argc > 2 && std::strcmp(argv[2], "--main") == 0) return 0;
    window.core().finishCleanClose();
    owned.reset();

    // An Aozora Bunko text of about as many display lines, opened in a new
    // window: decoded, interpreted, cut, read in and listed.
    {
        const QString textPath = folder + QStringLiteral("aozora.txt");
        {
            const qint64 bytes = qint64(count) * 36000000 / 660000;
            const cp932::EncodeResult encoded = cp932::encode(aozorabench::generatedText(bytes));
            QFile file(textPath);
            if (!encoded.ok || !file.open(QIODevice::WriteOnly) || file.write(encoded.bytes) != encoded.bytes.size()) return 1;
        }
        velreader::VReader3 reader(folders);
        reader.core().setUnsavedQuestion([] { return velreader::UnsavedAnswer::Discard; });
        reader.show();
        const auto [openMs, openStall] = timed(reader, watch, [&] { reader.openFile(textPath); });
        std::printf("open an Aozora Bunko text (%.1f MB), %lld lines %8.1f ms, longest stall %4lld ms\n",
                    QFileInfo(textPath).size() / 1e6, static_cast<long long>(reader.core().state().LineCount), openMs,
                    openStall);
        printMemory("the Aozora open");
        reader.core().finishCleanClose();
    }

    // A close in the middle of a load ends it at once.
    velreader::VReader3 closing(folder);
    closing.core().setFileDialog([&](const velreader::FileDialogRequest&) { return path; });
    closing.show();
    // The close comes at the first moment the load lets the window breathe
    // (here after every step), whatever the machine's speed: a timer of a
    // few milliseconds came during the load on one machine and after it on
    // another, and a small book may end before the window breathes at all.
    closing.core().setPumpInterval(0);
    QElapsedTimer clock;
    QTimer::singleShot(0, &closing, [&] {
        clock.start();
        closing.close();
    });
    closing.loadAction()->trigger();
    if (clock.isValid())
        std::printf("close during a load: the load ended %.1f ms after the close (Text1 \"%s\", LineCount %d)\n",
                    clock.nsecsElapsed() / 1e6, qPrintable(closing.core().controls().Text1.text),
                    closing.core().state().LineCount);
    else
        std::printf("close during a load: the load had ended before the close came\n");
    // Floors.
    {
        QFile file(path);
        file.open(QIODevice::ReadOnly);
        const QByteArray bytes = file.readAll();
        QElapsedTimer clock;
        clock.start();
        const velreader::ParsedBook parsed = velreader::parseBook(bytes);
        std::printf("floor: reading the book file alone            %8.1f ms%s\n", clock.nsecsElapsed() / 1e6,
                    parsed.book ? "" : " (refused!)");
    }
    {
        QPlainTextEdit box;
        box.resize(316, 200);
        box.show();
        QApplication::processEvents();
        const QString text = bigbooks::proseText(count, u"\n");
        QElapsedTimer clock;
        clock.start();
        box.setPlainText(text);
        QApplication::processEvents();
        std::printf("floor: QPlainTextEdit::setPlainText, a line a paragraph %8.1f ms\n", clock.nsecsElapsed() / 1e6);
    }
    return 0;
}
