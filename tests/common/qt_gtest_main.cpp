// Test entry point: the Qt application on the off-screen platform, so tests
// can paint text, load pictures and (with WOOLMERE_WIDGET_TESTS) create
// widgets without a display; sound goes to SDL's dummy driver.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#ifdef WOOLMERE_WIDGET_TESTS
#include <QApplication>
using TestApplication = QApplication;
#else
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#endif

int main(int argc, char** argv) {
    // Settings go to a folder of the run's own, never the user's.
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", config.path().toUtf8());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("SDL_AUDIODRIVER")) qputenv("SDL_AUDIODRIVER", "dummy");
    ::testing::InitGoogleTest(&argc, argv);
    // Death tests start the executable again for each case.
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    TestApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
