// Generated Aozora Bunko texts opened through the real reader window, off
// screen: how long the open takes, the longest the event loop stood still
// meanwhile, and the display lines it gives; then a find over them.
//
//   aozora_open [plain] KB...     (default: 1350 20000; "plain": the same
//                                  files with the notation's preference off)
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "bench/reader/aozora_text.h"
#include "bench/reader/big_book_tools.h"
#include "common/cp932.h"
#include "reader/ui/textbox.h"
#include "reader/ui/vreader3.h"

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The window keeps its reading places and recent books in a settings
    // folder of the run's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    QApplication app(argc, argv);
    QList<qint64> sizes;
    const bool plain = argc > 1 && QByteArray(argv[1]) == "plain";
    for (int i = plain ? 2 : 1; i < argc; ++i) sizes << std::atoll(argv[i]);
    if (sizes.isEmpty()) sizes = {1350, 20000};
    QTemporaryDir dir;
    const QString folder = dir.path() + u'/';
    for (const qint64 kb : sizes) {
        const QString path = folder + QStringLiteral("text%1.txt").arg(kb);
        const cp932::EncodeResult bytes = cp932::encode(aozorabench::generatedText(kb * 1000));
        QFile file(path);
        if (!bytes.ok || !file.open(QIODevice::WriteOnly) || file.write(bytes.bytes) != bytes.bytes.size()) return 1;
        file.close();

        velreader::VReader3 window(folder);
        window.core().setUnsavedQuestion([] { return velreader::UnsavedAnswer::Discard; });
        window.show();
        if (plain) {
            velreader::ReaderPreferences preferences;
            preferences.interpretAozora = false;
            window.setPreferences(preferences);
        }
        QApplication::processEvents();
        bigbooks::StallWatch watch;
        QElapsedTimer clock;
        watch.start();
        clock.start();
        window.openFile(path);
        while (window.text2()->filling() || window.text1()->filling()) QApplication::processEvents();
        QApplication::processEvents();
        const double ms = clock.nsecsElapsed() / 1e6;
        const qint64 stall = watch.stop();
        std::printf("%.2f MB: opened in %8.1f ms, longest stall %4lld ms, %lld display lines\n", bytes.bytes.size() / 1e6, ms,
                    stall, static_cast<long long>(window.core().state().LineCount));
        std::printf("  %s\n", qPrintable(window.core().controls().Text1.text.section(QStringLiteral("\r\n"), -1)));

        window.setFindAsker([](const QString&) { return std::optional<QString>(QStringLiteral("山羊の角笛")); });
        watch.start();
        clock.start();
        window.findAction()->trigger();
        QApplication::processEvents();
        std::printf("  a find that finds nothing:   %8.1f ms, longest stall %4lld ms\n", clock.nsecsElapsed() / 1e6, watch.stop());
        window.close();
    }
    return 0;
}
