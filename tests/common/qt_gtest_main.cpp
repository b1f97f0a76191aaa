// Test entry point: the Qt application on the off-screen platform, so tests
// can paint text, load pictures and (with WOOLMERE_WIDGET_TESTS) create
// widgets without a display; sound goes to SDL's dummy driver.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QList>
#include <QTemporaryDir>
#include <unistd.h>

#ifdef WOOLMERE_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

namespace {

// The off-screen platform's screens: a large one (3840 x 2160, where both
// windows fit at every zoom, also at a screen scale of 3) and beside it, at
// x 3840, one of 1600 x 900 for the tests of a zoom that must fit.
constexpr char kScreens[] =
    R"({"screens": [)"
    R"({"name": "large", "x": 0, "y": 0, "width": 3840, "height": 2160, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1},)"
    R"({"name": "1600x900", "x": 3840, "y": 0, "width": 1600, "height": 900, "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1})"
    R"(]})";

}  // namespace

int main(int argc, char** argv) {
    // Settings go to a folder of the run's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    ::testing::InitGoogleTest(&argc, argv);
    // Death tests start the executable again for each case.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    // The screens are given on the command line of this process alone (a
    // death test's new process writes its own file).
    QList<char*> args(argv, argv + argc);
    QByteArray platform;
    const QString screens = QDir::temp().filePath(QStringLiteral("woolmere-test-screens-%1.json").arg(getpid()));
    if (qgetenv("QT_QPA_PLATFORM") == "offscreen") {
        QFile file(screens);
        if (file.open(QIODevice::WriteOnly) && file.write(kScreens) == qint64(sizeof kScreens - 1)) {
            file.close();
            platform = "offscreen:configfile=" + QFile::encodeName(screens);
            args << const_cast<char*>("-platform") << platform.data();
        }
    }
    int count = int(args.size());
    args << nullptr;
    TestApplication app(count, args.data());
    QFile::remove(screens);
    return RUN_ALL_TESTS();
}
