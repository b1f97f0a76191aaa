// Both windows on screens of every scale (run once per QT_SCALE_FACTOR):
// the pictures keep every pixel, in uniform blocks at whole ratios, their
// frames are whole on all four sides and cover none of them, and a press
// lands on the pixel drawn under the pointer.
#include <QApplication>
#include <QDir>
#include <QHash>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

#include "game/state/random.h"
#include "game/state/soundplayer.h"
#include "common/ui/window_zoom.h"
#include "game/ui/hituji_window.h"
#include "reader/ui/vreader3.h"

namespace {

class SilentSound final : public SoundPlayer {
public:
    void PlayMidi(const QString&) override {}
    void PlayWave(const QString&, int16_t) override {}
};

// Where each colour stands in a grab, in device pixels.
using Places = QHash<QRgb, QList<QPoint>>;

// Only the device pixels of `widget` (with a pixel to spare) are looked at,
// so that colours elsewhere in the window cannot be mistaken for its own.
Places placesOf(const QImage& image, const QWidget* widget, qreal ratio) {
    const QRectF logical(widget->mapTo(widget->window(), QPointF(0, 0)), QSizeF(widget->size()));
    const QRect device = QRect(QPoint(int(std::floor(logical.left() * ratio)) - 1, int(std::floor(logical.top() * ratio)) - 1),
                               QPoint(int(std::ceil(logical.right() * ratio)), int(std::ceil(logical.bottom() * ratio))))
                             .intersected(image.rect());
    Places places;
    for (int y = device.top(); y <= device.bottom(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = device.left(); x <= device.right(); ++x) places[line[x] | 0xFF000000u].append(QPoint(x, y));
    }
    return places;
}

QImage grabbed(QWidget& window) {
    return window.grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Checks a picture of `size` whose pixel (x, y) has colour `colour(x, y)`:
// every pixel present, as one rectangular block; uniform blocks of
// ratio x ratio at whole ratios. `skip` leaves out pixels that something is
// drawn over. Returns the device rectangle of each pixel.
QHash<QPoint, QRect> checkPicture(const Places& places, QSize size, qreal ratio,
                                  const std::function<QRgb(int, int)>& colour,
                                  const std::function<bool(int, int)>& skip = {}) {
    QHash<QPoint, QRect> blocks;
    const bool whole = ratio == std::floor(ratio);
    int missing = 0, uneven = 0;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (skip && skip(x, y)) continue;
            const QList<QPoint> at = places.value(colour(x, y));
            if (at.isEmpty()) {
                if (++missing < 5) ADD_FAILURE() << "pixel " << x << "," << y << " is not shown";
                continue;
            }
            QRect block;
            for (const QPoint& p : at) block |= QRect(p, QSize(1, 1));
            blocks.insert(QPoint(x, y), block);
            const bool solid = block.width() * block.height() == at.size();
            if (!solid || (whole && (block.width() != int(ratio) || block.height() != int(ratio)))) {
                if (++uneven < 5) ADD_FAILURE() << "pixel " << x << "," << y << " is a block of " << at.size();
            }
        }
    }
    EXPECT_EQ(missing, 0);
    EXPECT_EQ(uneven, 0);
    return blocks;
}

// The frame beside a picture: the device pixels just outside the picture's
// edge blocks are the frame's colour, all the way round.
void checkFrame(const QImage& image, const QHash<QPoint, QRect>& blocks, QSize size, QRgb frame, int gapBelow = 0) {
    int broken = 0;
    const auto expect = [&](int x, int y, const char* side) {
        if (x < 0 || y < 0 || x >= image.width() || y >= image.height() || (image.pixel(x, y) | 0xFF000000u) != frame) {
            if (++broken < 5) ADD_FAILURE() << side << " frame missing at device " << x << "," << y;
        }
    };
    for (int x = 0; x < size.width(); ++x) {
        const QRect top = blocks.value(QPoint(x, 0)), bottom = blocks.value(QPoint(x, size.height() - 1));
        for (int dx = top.left(); dx <= top.right(); ++dx) expect(dx, top.top() - 1, "top");
        for (int dx = bottom.left(); dx <= bottom.right(); ++dx) {
            int dy = bottom.bottom() + 1;
            while (gapBelow > 0 && dy < image.height() && (image.pixel(dx, dy) | 0xFF000000u) != frame &&
                   dy <= bottom.bottom() + gapBelow)
                ++dy;
            expect(dx, dy, "bottom");
        }
    }
    for (int y = 0; y < size.height(); ++y) {
        const QRect left = blocks.value(QPoint(0, y)), right = blocks.value(QPoint(size.width() - 1, y));
        for (int dy = left.top(); dy <= left.bottom(); ++dy) expect(left.left() - 1, dy, "left");
        for (int dy = right.top(); dy <= right.bottom(); ++dy) expect(right.right() + 1, dy, "right");
    }
    EXPECT_EQ(broken, 0);
}

QRgb fieldColour(int x, int y) { return qRgb(x, y, 0x5A); }

class GameScale : public ::testing::Test {
protected:
    void SetUp() override {
        installGameFonts();
        window.setErrorReporter([](const QString& text) { ADD_FAILURE() << text.toStdString(); });
        ASSERT_TRUE(window.Form_Load());
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        QTest::keyClick(window.pgamen(), Qt::Key_Return);
        ratio = window.devicePixelRatioF();
        for (int y = 0; y < 150; ++y)
            for (int x = 0; x < 200; ++x) game.surfaces.Pmain.setPixel(x, y, fieldColour(x, y));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 200; ++x) game.surfaces.PZeb.setPixel(x, y, qRgb(x, 200 + y, 0xA5));
        game.controls.Timer3 = false;  // the banner stays as painted
        window.pzeb()->update();
        window.pmain()->update();
    }
    QTemporaryDir dir;
    ClockSeededRandom random{7};
    SilentSound sound;
    HitujiGame game{random, sound, dir.path() + u'/'};
    Hituji window{game};
    qreal ratio = 1;
};

TEST_F(GameScale, fieldAndBannerKeepEveryPixelInsideWholeFrames) {
    ASSERT_EQ(ratio, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
    for (int zoom = 1; zoom <= 2; ++zoom) {
        window.zoom()->setZoom(zoom);
        const QImage shot = grabbed(window);
        const qreal scale = ratio * zoom;
        const auto field = checkPicture(placesOf(shot, window.pmain(), ratio), {200, 150}, scale, fieldColour);
        checkFrame(shot, field, {200, 150}, 0xFF000000u);
        const auto banner = checkPicture(placesOf(shot, window.pzeb(), ratio), {200, 40}, scale,
                                         [](int x, int y) { return qRgb(x, 200 + y, 0xA5); });
        checkFrame(shot, banner, {200, 40}, 0xFF000000u);
    }
    window.zoom()->setZoom(1);
}

TEST_F(GameScale, aPressLandsOnTheFieldPixelDrawnUnderThePointer) {
    const QImage shot = grabbed(window);
    const auto field = checkPicture(placesOf(shot, window.pmain(), ratio), {200, 150}, ratio, fieldColour);
    const QPointF origin = window.pmain()->mapTo(&window, QPointF(0, 0));
    int wrong = 0;
    for (const QPoint pixel : {QPoint(0, 0), QPoint(1, 0), QPoint(100, 50), QPoint(101, 51), QPoint(199, 149),
                               QPoint(37, 112), QPoint(38, 113)}) {
        const QRect block = field.value(pixel);
        for (const QPoint device : {block.topLeft(), block.bottomRight()}) {
            // The pointer's place as the platform reports it: a whole device
            // pixel, in logical units.
            const QPointF local = QPointF(device) / ratio - origin;
            QMouseEvent press(QEvent::MouseButtonPress, local, window.pmain()->mapToGlobal(local), Qt::LeftButton,
                              Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window.pmain(), &press);
            if (game.state.ClickX != pixel.x() || game.state.ClickY != pixel.y()) {
                ++wrong;
                ADD_FAILURE() << "device " << device.x() << "," << device.y() << " shows " << pixel.x() << ","
                              << pixel.y() << " but pressed " << game.state.ClickX << "," << game.state.ClickY;
            }
        }
    }
    EXPECT_EQ(wrong, 0);
}

TEST_F(GameScale, theTitleIsDrawnInWholePixelsNeverSmoothed) {
    if (ratio != std::floor(ratio)) GTEST_SKIP() << "uneven blocks at a fractional ratio";
    QTemporaryDir folder;
    HitujiGame fresh(random, sound, folder.path() + u'/');
    GameSurfaces& s = fresh.surfaces;
    Hituji title(fresh);
    ASSERT_TRUE(title.Form_Load());
    title.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&title));
    const QImage shot = grabbed(title);
    const int r = int(ratio);
    int wrong = 0;
    // The visible part of the title, inside its two-pixel frame.
    for (int y = 2 * r; y < shot.height(); ++y)
        for (int x = 2 * r; x < shot.width(); ++x)
            if (QRect(125 * r, 147 * r, 177 * r, 15 * r).contains(x, y)) continue;  // the prompt
            else if ((shot.pixel(x, y) | 0xFF000000u) != (s.Pgamen.pixel(x / r - 2, y / r - 2) | 0xFF000000u)) ++wrong;
    EXPECT_EQ(wrong, 0);
}

// The reader's page at every scale: a picture of unique colours behind it.
TEST(ReaderScale, thePageKeepsEveryPixelInsideItsWholeFrame) {
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("E"));
    QImage pattern(400, 200, QImage::Format_RGB32);
    const auto colour = [](int x, int y) { return qRgb(x & 0xFF, y, 0x80 | (x >> 8) | 0x10); };
    for (int y = 0; y < 200; ++y)
        for (int x = 0; x < 400; ++x) pattern.setPixel(x, y, colour(x, y));
    ASSERT_TRUE(pattern.save(dir.filePath(QStringLiteral("E/pattern.png"))));
    velreader::VReader3 window(dir.path() + u'/');
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.core().controls().Text1.text = QStringLiteral("絵");
    window.core().Command1_Click();
    window.core().controls().Text1.text = QStringLiteral("絵：pattern.png");
    window.core().Command3_Click();
    window.command(2)->click();
    const qreal ratio = window.devicePixelRatioF();
    for (int zoom = 1; zoom <= 2; ++zoom) {
        window.zoom()->setZoom(zoom);
        QApplication::processEvents();
        const QImage shot = grabbed(window);
        // The printed row covers the page's top left corner.
        const auto page = checkPicture(placesOf(shot, window.pmain(), ratio), {400, 200}, ratio * zoom, colour,
                                       [](int x, int y) { return x < 60 && y < 40; });
        QHash<QPoint, QRect> edges = page;
        checkFrame(shot, edges, {400, 200}, qRgb(255, 156, 0), int(std::ceil(2 * ratio * zoom)));
    }
}

}  // namespace
