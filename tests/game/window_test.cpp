// The real game window on the off-screen platform, driven by real clicks.
#include "common/ui/window_zoom.h"
#include "game/ui/hituji_window.h"
#include "fakes.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        installGameFonts();
        window.setErrorReporter([this](const QString& text) { errors << text; });
        ASSERT_TRUE(window.Form_Load());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    void click(QWidget* widget, QPoint at = {}) {
        QTest::mouseClick(widget, Qt::LeftButton, {}, at.isNull() ? widget->rect().center() : at);
    }
    void leaveTitle() {
        click(window.pgamen(), QPoint(200, 150));  // on the prompt
        ASSERT_FALSE(window.pgamen()->isVisible());
    }

    QTemporaryDir dir;
    ClockSeededRandom random{20261207};
    RecordingSound sound;
    HitujiGame game{random, sound, dir.path() + u'/'};
    Hituji window{game};
    QStringList errors;
};

TEST_F(WindowTest, controlsStandAtTheirPlacesWithTheirCaptions) {
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Woolmere"));
    EXPECT_EQ(window.windowIcon().availableSizes().size(), 4) << "our own icon, 16 to 64 pixels";
    EXPECT_EQ(window.size(), QSize(424, 164));
    EXPECT_EQ(window.pmain()->geometry(), QRect(7, 7, 202, 152));
    EXPECT_EQ(window.command(1)->geometry(), QRect(217, 7, 71, 22));
    EXPECT_EQ(window.command(4)->geometry(), QRect(287, 56, 71, 22));
    EXPECT_EQ(window.label(3)->geometry(), QRect(308, 35, 57, 13));
    EXPECT_EQ(window.pzeb()->geometry(), QRect(217, 119, 202, 42));
    EXPECT_EQ(window.pChange()->geometry(), QRect(392, 7, 29, 85));
    EXPECT_EQ(window.option(4)->geometry(), QRect(7, 63, 15, 22));
    EXPECT_EQ(window.pgamen()->geometry(), QRect(0, 0, 429, 174));
    EXPECT_EQ(window.command(1)->text(), QStringLiteral("はじめる"));
    EXPECT_EQ(window.command(3)->text(), QStringLiteral("羊毛を刈る"));
    EXPECT_FALSE(window.command(2)->isEnabled());
    EXPECT_EQ(window.label(1)->text(), QStringLiteral("羊の数：０"));
    EXPECT_EQ(window.label(5)->text(), QStringLiteral("- Click this picture -"));
    EXPECT_TRUE(window.pgamen()->isVisible());
    EXPECT_TRUE(window.timer(3)->isActive());
    EXPECT_TRUE(window.timer(4)->isActive());
    EXPECT_EQ(window.timer(1)->interval(), 20);
    EXPECT_EQ(window.timer(1)->timerType(), Qt::PreciseTimer);
    // The title covers the game: the picture on screen is the title art.
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(100, 20), game.surfaces.Pgamen.pixel(98, 18));
}

TEST_F(WindowTest, titleClickUncoversTheGameForGood) {
    leaveTitle();
    EXPECT_FALSE(window.timer(4)->isActive());
    EXPECT_TRUE(window.timer(3)->isActive()) << "the banner goes on walking";
    const QImage shot = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(shot.pixel(8 + 100, 8 + 140), game.surfaces.Pmain.pixel(100, 140));
}

TEST_F(WindowTest, wholeRollThroughTheButtons) {
    leaveTitle();
    QSignalSpy ticks(&window, &Hituji::timer1Ticked);
    click(window.command(1));
    EXPECT_FALSE(window.pChange()->isVisible());
    EXPECT_FALSE(window.command(3)->isEnabled());
    QTRY_VERIFY_WITH_TIMEOUT(ticks.count() >= 10, 5000);
    EXPECT_EQ(window.command(1)->text(), QStringLiteral("777de止め"));
    click(window.command(1));
    const int counted = game.state.SheepCount;
    EXPECT_EQ(window.label(1)->text(), QStringLiteral("羊の数：%1").arg(counted));
    EXPECT_FALSE(window.timer(1)->isActive());
    EXPECT_FALSE(window.command(1)->isEnabled());
    EXPECT_TRUE(window.command(2)->isEnabled());
    EXPECT_TRUE(window.command(4)->isEnabled());
    EXPECT_TRUE(window.pChange()->isVisible());
    EXPECT_EQ(sound.calls.last(), counted == 777 ? QStringLiteral("wave:777.wav:1") : QStringLiteral("wave:other.wav:1"));
    // What the field shows is the back buffer's last frame.
    EXPECT_EQ(game.surfaces.Pmain, game.surfaces.Pura);
    click(window.command(2));
    EXPECT_EQ(window.command(1)->text(), QStringLiteral("はじめる"));
    EXPECT_EQ(game.surfaces.Pmain, game.surfaces.Pic1);
    click(window.option(2));
    EXPECT_EQ(game.surfaces.Pmain, game.surfaces.Pic2);
}

TEST_F(WindowTest, wholeTenRoundGameThroughTheButtonsAndTheMouse) {
    leaveTitle();
    window.timer(2)->setInterval(2);  // the same ticks, faster
    for (int round = 1; round <= 10; ++round) {
        ASSERT_TRUE(window.command(3)->isEnabled()) << round;
        click(window.command(3));
        EXPECT_EQ(window.command(3)->text(), QStringLiteral("%1回目").arg(round));
        EXPECT_FALSE(window.pChange()->isVisible());
        // Press on the first sheep as soon as it is fully on the field.
        QTRY_VERIFY_WITH_TIMEOUT(game.state.SheepX[1] < 150 || !window.timer(2)->isActive(), 5000);
        if (window.timer(2)->isActive()) {
            const QPoint at(1 + game.state.SheepX[1] + 20, 1 + game.state.SheepY[1] + 20);
            QTest::mousePress(window.pmain(), Qt::RightButton, Qt::ShiftModifier, at);
        }
        QTRY_VERIFY_WITH_TIMEOUT(!window.timer(2)->isActive(), 5000);
        EXPECT_TRUE(window.pChange()->isVisible());
    }
    EXPECT_FALSE(window.command(3)->isEnabled());
    EXPECT_TRUE(window.command(1)->isEnabled());
    EXPECT_TRUE(window.command(2)->isEnabled());
    EXPECT_TRUE(window.command(4)->isEnabled());
    EXPECT_GE(sound.calls.count(QStringLiteral("wave:karu.wav:1")), 5);
    EXPECT_GE(game.state.Wool, 500);
    EXPECT_EQ(window.label(2)->text(), QStringLiteral("羊毛：%1g").arg(game.state.Wool));
    EXPECT_EQ(window.label(4)->text(), QStringLiteral("最高：%1g").arg(game.state.Wool));
    EXPECT_EQ(sound.calls.last(), QStringLiteral("wave:777.wav:1"));
    click(window.command(4));
    EXPECT_EQ(window.command(3)->text(), QStringLiteral("羊毛を刈る"));
    EXPECT_EQ(window.label(2)->text(), QStringLiteral("羊毛：0g"));
}

TEST_F(WindowTest, bannerClickStartsTheMusicAndClosingWritesBothFiles) {
    leaveTitle();
    click(window.pzeb());
    EXPECT_EQ(sound.calls.last(), QStringLiteral("midi:") + dir.path() + QStringLiteral("/maki.mid"));
    click(window.command(1));  // close in the middle of a roll
    window.close();
    EXPECT_EQ(sound.calls.last(), QStringLiteral("midi:"));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("hituji.dat"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("H_Score.txt"))));
    EXPECT_TRUE(errors.isEmpty());
}

// The roll mirrors its state every 20 ms; a timer that is already running
// must go on ticking through it, not start its interval again each time.
TEST_F(WindowTest, runningTimersKeepTheirBeatWhileTheRollMirrorsEveryTick) {
    leaveTitle();
    QSignalSpy banner(window.timer(3), &QTimer::timeout);
    QSignalSpy ticks(&window, &Hituji::timer1Ticked);
    click(window.command(1));
    QTest::qWait(1300);
    EXPECT_GE(ticks.count(), 40);
    EXPECT_GE(banner.count(), 10) << "the banner walks on during the roll";
}

// While the title shows, the keys are the title's: Space and Enter uncover
// the game like a click, and nothing behind the title starts.
TEST_F(WindowTest, theTitleTakesSpaceAndEnterAndNothingBehindItActs) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_EQ(QApplication::focusWidget(), window.pgamen());
    QTest::keyClick(window.command(1), Qt::Key_Space);  // a key sent straight to the button behind
    QTest::keyClick(&window, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), window.pgamen()) << "Tab does not reach the buttons behind";
    EXPECT_FALSE(window.timer(1)->isActive()) << "no roll behind the title";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    EXPECT_FALSE(window.pgamen()->isVisible());
    EXPECT_EQ(QApplication::focusWidget(), window.command(1)) << "the focus is on はじめる";
    EXPECT_FALSE(game.state.RollState) << "the key that uncovered the game did nothing more";
}

// The roll played from the keyboard alone: when the stop disables the
// button with the focus, the focus moves on to the next enabled one.
TEST_F(WindowTest, spaceGoesOnPlayingAsTheFocusMovesOn) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(window.pgamen(), Qt::Key_Space);
    ASSERT_EQ(QApplication::focusWidget(), window.command(1));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // はじめる
    EXPECT_TRUE(window.timer(1)->isActive());
    QTest::qWait(100);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // stop
    EXPECT_FALSE(window.timer(1)->isActive());
    EXPECT_FALSE(window.command(1)->isEnabled());
    EXPECT_EQ(QApplication::focusWidget(), window.command(2)) << "on to もう一度";
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);  // もう一度
    EXPECT_EQ(window.command(1)->text(), QStringLiteral("はじめる"));
    EXPECT_TRUE(QApplication::focusWidget() && QApplication::focusWidget()->isEnabled());
    // Keys never shear.
    for (int key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Right}) QTest::keyClick(window.pmain(), Qt::Key(key));
    EXPECT_EQ(game.state.Wool, 0);
}

TEST_F(WindowTest, ctrlQClosesAsTheCloseBoxDoesWritingBothFiles) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_Q, Qt::ControlModifier);
    EXPECT_FALSE(window.isVisible());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("hituji.dat"))));
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("H_Score.txt"))));
}

TEST_F(WindowTest, zoomStepsResizeTheWindowAndEverythingInIt) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    for (int zoom = 2; zoom <= 4; ++zoom) {
        QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
        EXPECT_EQ(window.size(), QSize(424, 164) * zoom);
        EXPECT_EQ(window.pmain()->geometry(), QRect(7 * zoom, 7 * zoom, 202 * zoom, 152 * zoom));
        EXPECT_EQ(window.command(4)->geometry(), QRect(287 * zoom, 56 * zoom, 71 * zoom, 22 * zoom));
    }
    QTest::keyClick(&window, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(window.zoom()->zoom(), 4) << "4x is the largest";
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    // Plus on the keypad too. (Plus typed with Shift reaches the window as
    // Ctrl+Plus through the platform's keyboard map, seen under X; the
    // test platform has no keyboard map.)
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier | Qt::KeypadModifier);
    EXPECT_EQ(window.zoom()->zoom(), 2);
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    QTest::keyClick(&window, Qt::Key_Plus, Qt::ControlModifier);
    EXPECT_EQ(window.zoom()->zoom(), 4);
    QTest::keyClick(&window, Qt::Key_Minus, Qt::ControlModifier);
    EXPECT_EQ(window.size(), QSize(424, 164) * 3);
    // A press at 3x lands on the field pixel under it: a sheep's left edge
    // misses, one pixel further hits.
    leaveTitle();
    game.state.FlockSize = 1;
    game.state.SheepX[1] = 100;
    game.state.SheepY[1] = 50;
    const QPointF inside = window.pmain()->pictureRect().topLeft();
    const auto pressAt = [&](int x, int y) {
        QTest::mousePress(window.pmain(), Qt::LeftButton, {}, (inside + QPointF(x + 0.5, y + 0.5) * 3).toPoint());
    };
    pressAt(100, 70);
    EXPECT_EQ(game.state.Sheared[1], 0);
    EXPECT_EQ(game.state.ClickX, 100.0f);
    pressAt(101, 70);
    EXPECT_EQ(game.state.Sheared[1], 1);
    EXPECT_EQ(game.state.ClickX, 101.0f);
    EXPECT_EQ(game.state.ClickY, 70);
    QTest::keyClick(&window, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(window.size(), QSize(424, 164));
}

TEST_F(WindowTest, fullScreenShowsTheLargestWholeZoomCentred) {
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window, Qt::Key_F11);
    QTRY_VERIFY(window.isFullScreen());
    const QSize screen = window.size();
    const int fit = std::min(screen.width() / 424, screen.height() / 164);
    QTRY_COMPARE(window.zoom()->zoom(), fit);
    EXPECT_EQ(window.content()->size(), QSize(424, 164) * fit);
    EXPECT_EQ(window.content()->geometry().center(), window.rect().center());
    QTest::keyClick(&window, Qt::Key_Escape);
    QTRY_VERIFY(!window.isFullScreen());
    EXPECT_EQ(window.zoom()->zoom(), 1);
    EXPECT_EQ(window.size(), QSize(424, 164));
}

// A screen reader hears what each control is, and its actions do what a
// click does.
TEST_F(WindowTest, everyControlHasANameAndTheToggleActionChangesTheBackground) {
    const char16_t* names[] = {u"背景1 草原", u"背景2 星空", u"背景3 水色", u"背景4 羊毛もよう"};
    for (int i = 1; i <= 4; ++i) EXPECT_EQ(window.option(i)->accessibleName(), QString::fromUtf16(names[i - 1]));
    EXPECT_FALSE(window.pmain()->accessibleName().isEmpty());
    EXPECT_FALSE(window.pzeb()->accessibleName().isEmpty());
    EXPECT_EQ(window.pgamen()->accessibleName(), QStringLiteral("タイトル画面"));
    for (int i = 1; i <= 4; ++i) {
        QAccessibleInterface* button = QAccessible::queryAccessibleInterface(window.command(i));
        ASSERT_TRUE(button);
        EXPECT_FALSE(button->text(QAccessible::Name).isEmpty()) << i;
    }
    leaveTitle();
    QAccessibleInterface* second = QAccessible::queryAccessibleInterface(window.option(2));
    ASSERT_TRUE(second && second->actionInterface());
    second->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(window.option(2)->isChecked());
    EXPECT_EQ(game.surfaces.Pmain, game.surfaces.Pic2) << "the toggle chose the starry night";
    QAccessibleInterface* fourth = QAccessible::queryAccessibleInterface(window.option(4));
    fourth->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTRY_VERIFY(game.surfaces.Pmain == game.surfaces.Pic4);
}

TEST(WindowFaults, closeIntoAFolderThatIsGoneReportsBothFilesAndStillCloses) {
    installGameFonts();
    ClockSeededRandom random(1);
    RecordingSound sound;
    QTemporaryDir dir;
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("gone")));
    HitujiGame game(random, sound, dir.path() + QStringLiteral("/gone/"));
    Hituji window(game);
    QStringList errors;
    window.setErrorReporter([&](const QString& text) { errors << text; });
    ASSERT_TRUE(window.Form_Load());
    window.show();
    ASSERT_TRUE(QDir(dir.path() + QStringLiteral("/gone")).removeRecursively());
    EXPECT_TRUE(window.close());
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QStringLiteral("hituji.dat")));
    EXPECT_TRUE(errors[0].contains(QStringLiteral("H_Score.txt")));
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
