// The zoom both windows share, on the test platform's two screens: a large
// one at (0, 0) and one of 1600 x 900 at (3840, 0).
#include "common/ui/window_zoom.h"

#include <QAction>
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>
#include <QScreen>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

constexpr QSize kDesign(424, 164);

QScreen* screenNamed(const QString& name) {
    for (QScreen* screen : QGuiApplication::screens())
        if (screen->name() == name) return screen;
    return nullptr;
}

// A window of the game's design size, or with a menu bar above its content
// like the reader's.
struct ZoomedWindow {
    explicit ZoomedWindow(bool withMenuBar, QSize design = kDesign) {
        if (withMenuBar) {
            auto* main = new QMainWindow;
            main->menuBar()->addMenu(QStringLiteral("表示"));
            holder = new QWidget(main);
            main->setCentralWidget(holder);
            window.reset(main);
        } else {
            window = std::make_unique<QWidget>();
            holder = window.get();
        }
        content = new QWidget(holder);
        content->resize(design);
        zoom = new common::WindowZoom(window.get(), holder, content, design,
                                      [this, design](int z) { content->resize(design * z); });
    }
    std::unique_ptr<QWidget> window;
    QWidget* holder = nullptr;
    QWidget* content = nullptr;
    common::WindowZoom* zoom = nullptr;
};

class WindowZoomTest : public ::testing::Test {
protected:
    void SetUp() override {
        small = screenNamed(QStringLiteral("1600x900"));
        ASSERT_TRUE(small) << "the test platform gives a 1600 x 900 screen";
        ASSERT_EQ(small->availableGeometry().size(), QSize(1600, 900) / small->devicePixelRatio());
        if (small->devicePixelRatio() != 1) GTEST_SKIP() << "sizes below are for a screen scale of 1";
    }
    QScreen* small = nullptr;
};

TEST_F(WindowZoomTest, zoomStepsStopAtTheLargestZoomThatFitsTheScreen) {
    ZoomedWindow w(false);
    w.window->move(small->geometry().topLeft() + QPoint(100, 100));
    w.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
    EXPECT_EQ(w.window->screen(), small);
    EXPECT_EQ(w.zoom->largestFittingZoom(), 3) << "1,696 pixels at 4x do not fit 1,600";
    for (int i = 0; i < 5; ++i) w.zoom->zoomIn();
    EXPECT_EQ(w.zoom->zoom(), 3);
    EXPECT_EQ(w.window->size(), kDesign * 3);
    EXPECT_FALSE(w.zoom->zoomInAction()->isEnabled());
    EXPECT_TRUE(small->availableGeometry().contains(w.window->frameGeometry()));
    w.zoom->setZoom(4);
    EXPECT_EQ(w.zoom->zoom(), 3) << "setZoom is capped the same way";
    w.zoom->zoomOut();
    EXPECT_EQ(w.zoom->zoom(), 2);
    EXPECT_TRUE(w.zoom->zoomInAction()->isEnabled());
}

// The reader restores its remembered zoom before the window is shown: the
// cap then uses the screen the window will open on, menu bar included.
TEST_F(WindowZoomTest, aZoomSetBeforeTheWindowIsShownIsCappedForItsScreen) {
    ZoomedWindow w(true, QSize(418, 304));
    w.window->move(small->geometry().topLeft() + QPoint(50, 50));
    ASSERT_FALSE(w.window->isVisible());
    EXPECT_EQ(w.window->screen(), small);
    w.zoom->setZoom(4);
    EXPECT_EQ(w.zoom->zoom(), 2) << "304 x 3 and a menu bar are taller than 900";
    EXPECT_LE(w.window->height(), 900);
    EXPECT_GT(w.window->height(), 304 * 2) << "the menu bar is counted";
    // On the large screen the same window takes 4x.
    ZoomedWindow large(true, QSize(418, 304));
    large.zoom->setZoom(4);
    EXPECT_EQ(large.zoom->zoom(), 4);
}

TEST_F(WindowZoomTest, aZoomKeepsTheCentreAndStaysOnTheScreen) {
    ZoomedWindow w(false);
    const QRect room = small->availableGeometry();
    w.window->move(room.topLeft() + QPoint(600, 300));
    w.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
    const QPoint centre = w.window->frameGeometry().center();
    w.zoom->setZoom(2);
    EXPECT_LE((w.window->frameGeometry().center() - centre).manhattanLength(), 1);
    w.zoom->setZoom(1);
    EXPECT_LE((w.window->frameGeometry().center() - centre).manhattanLength(), 1)
        << "zooming back returns to where the window was";
    // Near the bottom right corner a zoom moves the window back onto the
    // screen, no further than needed.
    w.window->move(room.right() - 430, room.bottom() - 170);
    w.zoom->setZoom(3);
    EXPECT_EQ(w.window->frameGeometry().bottomRight(), room.bottomRight());
    // Near the top left corner.
    w.zoom->setZoom(1);
    w.window->move(room.topLeft() + QPoint(5, 5));
    w.zoom->setZoom(2);
    EXPECT_EQ(w.window->frameGeometry().topLeft(), room.topLeft());
}

TEST_F(WindowZoomTest, fullScreenStillTakesTheLargestZoomAndLeavingItKeepsTheWindowZoom) {
    ZoomedWindow w(false);
    w.window->move(small->geometry().topLeft() + QPoint(100, 100));
    w.window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w.window.get()));
    w.zoom->setZoom(2);
    w.zoom->toggleFullScreen();
    QTRY_VERIFY(w.window->isFullScreen());
    QTRY_COMPARE(w.zoom->zoom(), 3);  // 1600 / 424
    w.zoom->leaveFullScreen();
    QTRY_VERIFY(!w.window->isFullScreen());
    EXPECT_EQ(w.zoom->zoom(), 2);
    EXPECT_EQ(w.window->size(), kDesign * 2);
}

}  // namespace
