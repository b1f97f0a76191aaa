#include "game/drawing/game_drawing.h"
#include "game/drawing/surfaces.h"

#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = 0xFFFFFFFF;
constexpr QRgb kBlack = 0xFF000000;
constexpr QRgb kGrass = 0xFF55FF00;
constexpr QRgb kWool = 0xFFC0C0C0;
constexpr QRgb kEye = 0xFF202020;

QImage filled(int w, int h, QRgb colour) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(colour);
    return image;
}

// A 40 x 40 test sprite: a figure in the square (5..34, 5..34) whose left
// half is grey wool with a white highlight at (10, 10) and whose right half is
// dark, on a pure white background; and its mask.
struct TestSprite {
    QImage sprite = filled(40, 40, kWhite);
    QImage mask = filled(40, 40, kBlack);
    TestSprite() {
        for (int y = 5; y < 35; ++y) {
            for (int x = 5; x < 35; ++x) {
                sprite.setPixel(x, y, x < 20 ? kWool : kEye);
                mask.setPixel(x, y, kWhite);
            }
        }
        sprite.setPixel(10, 10, kWhite);
    }
};

// The rectangle of pixels where two images differ.
QRect changedArea(const QImage& before, const QImage& after) {
    QRect area;
    for (int y = 0; y < before.height(); ++y) {
        for (int x = 0; x < before.width(); ++x) {
            if (before.pixel(x, y) != after.pixel(x, y)) area |= QRect(x, y, 1, 1);
        }
    }
    return area;
}

TEST(CopyBlock, copiesAndClipsToTheDestination) {
    QImage source = filled(40, 40, kEye);
    QImage dest = filled(200, 150, kGrass);
    const QImage before = dest.copy();
    Game::CopyBlock(source, 0, 0, 40, 40, dest, -30, 140);
    EXPECT_EQ(changedArea(before, dest), QRect(0, 140, 10, 10));

    QImage field = filled(200, 150, kGrass);
    Game::CopyBlock(filled(200, 150, kBlack), 0, 0, 200, 150, field, 0, 0);
    EXPECT_EQ(field, filled(200, 150, kBlack));
}

TEST(CopyBlock, roundsFractionalArgumentsHalfToEven) {
    EXPECT_EQ(Game::roundArgument(2.5), 2);
    EXPECT_EQ(Game::roundArgument(3.5), 4);
    EXPECT_EQ(Game::roundArgument(-0.5), 0);
    EXPECT_EQ(Game::roundArgument(-1.6), -2);
    QImage dest = filled(20, 20, kGrass);
    const QImage before = dest.copy();
    Game::CopyBlock(filled(4, 4, kEye), 0, 0, 3.5, 2.4, dest, 10.5, 11.5);
    EXPECT_EQ(changedArea(before, dest), QRect(10, 12, 4, 2));
}

TEST(DrawMasked, spriteHalfLeftOfTheFieldShowsItsRightHalf) {
    const TestSprite s;
    QImage pura = filled(200, 150, kGrass);
    const QImage before = pura.copy();
    Game::DrawMasked(s.sprite, s.mask, 0, 0, 40, 40, pura, -20, 10);
    // Only columns 0 to 19 of rows 10 to 49 may change, and they hold the
    // sprite's right half.
    EXPECT_TRUE(QRect(0, 10, 20, 40).contains(changedArea(before, pura)));
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 20; ++x) {
            const QRgb expected = s.mask.pixel(x + 20, y) == kWhite ? s.sprite.pixel(x + 20, y) : kGrass;
            ASSERT_EQ(pura.pixel(x, y + 10), expected) << x << "," << y;
        }
    }
}

TEST(DrawMasked, spriteInTheBottomRightCornerIsCutToTenByTen) {
    QImage sprite = filled(40, 40, kEye);
    QImage mask = filled(40, 40, kWhite);
    QImage pura = filled(200, 150, kGrass);
    const QImage before = pura.copy();
    Game::DrawMasked(sprite, mask, 0, 0, 40, 40, pura, 190, 140);
    EXPECT_EQ(changedArea(before, pura), QRect(190, 140, 10, 10));
}

TEST(DrawMasked, figureIsOpaqueAndItsSurroundingsTransparent) {
    const TestSprite s;
    QImage pura = filled(200, 150, kGrass);
    Game::DrawMasked(s.sprite, s.mask, 0, 0, 40, 40, pura, 50, 50);
    EXPECT_EQ(pura.pixel(60, 60), kWhite) << "a white pixel inside the figure is drawn white";
    EXPECT_EQ(pura.pixel(56, 56), kWool);
    EXPECT_EQ(pura.pixel(80, 80), kEye);
    EXPECT_EQ(pura.pixel(52, 52), kGrass) << "the white around the figure leaves the background";
    EXPECT_EQ(pura.pixel(88, 88), kGrass);
}

TEST(DrawMasked, laterSpriteCoversEarlierOnlyWithinItsMask) {
    const TestSprite s;
    QImage pura = filled(200, 150, kGrass);
    Game::DrawMasked(s.sprite, s.mask, 0, 0, 40, 40, pura, 50, 50);
    const QImage first = pura.copy();
    Game::DrawMasked(s.sprite, s.mask, 0, 0, 40, 40, pura, 70, 50);
    // Where the second sprite's mask is black (its columns 0..4 at x 70..74),
    // the first sprite stays visible.
    for (int x = 70; x < 75; ++x) EXPECT_EQ(pura.pixel(x, 60), first.pixel(x, 60));
    EXPECT_EQ(first.pixel(75, 60), kEye);
    EXPECT_EQ(pura.pixel(75, 60), kWool) << "inside its mask the newer sheep covers the older";
}

TEST(DrawMasked, blockWhollyOutsideChangesNothing) {
    const TestSprite s;
    QImage pura = filled(200, 150, kGrass);
    const QImage before = pura.copy();
    for (const QPoint p : {QPoint(-40, 0), QPoint(200, 0), QPoint(0, 150), QPoint(0, -40), QPoint(-500, 9000)}) {
        Game::DrawMasked(s.sprite, s.mask, 0, 0, 40, 40, pura, p.x(), p.y());
    }
    EXPECT_EQ(pura, before);
}

// The raster rules themselves, on literal pixels: OR with the mask, then
// AND with the sprite, channel by channel; a copy replaces.
TEST(DrawMasked, combinesDestinationMaskAndSpriteBitwisePerChannel) {
    QImage dest = filled(2, 1, 0xFF123456);
    const QImage mask = filled(2, 1, 0xFF00FF00);
    const QImage sprite = filled(2, 1, 0xFFF0F0F0);
    Game::DrawMasked(sprite, mask, 0, 0, 1, 1, dest, 1, 0);
    EXPECT_EQ(dest.pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(dest.pixel(1, 0), 0xFF10F050u) << "(12 34 56 | 00 FF 00) & F0 F0 F0";
    Game::CopyBlock(filled(1, 1, 0xFFABCDEF), 0, 0, 1, 1, dest, 0, 0);
    EXPECT_EQ(dest.pixel(0, 0), 0xFFABCDEFu);
}

// A block copied within its own surface arrives whole, whichever way the
// rows and columns overlap.
TEST(CopyBlock, copiesWithinOneSurfaceAcrossOverlappingRowsAndColumns) {
    QImage field(20, 20, QImage::Format_RGB32);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) field.setPixel(x, y, qRgb(x * 10, y * 10, 7));
    const QImage original = field.copy();
    const struct { int sx, sy, dx, dy; } moves[] = {{0, 0, 3, 5}, {5, 6, 2, 1}, {0, 0, 0, 4}, {0, 4, 0, 0}, {2, 3, 6, 3}};
    for (const auto& m : moves) {
        QImage surface = original.copy();
        Game::CopyBlock(surface, m.sx, m.sy, 10, 10, surface, m.dx, m.dy);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 10; ++x)
                ASSERT_EQ(surface.pixel(m.dx + x, m.dy + y), qRgb((m.sx + x) * 10, (m.sy + y) * 10, 7))
                    << "move " << m.sx << "," << m.sy << " to " << m.dx << "," << m.dy << " at " << x << "," << y;
    }
    // Whole rows moved down the same surface.
    QImage surface = original.copy();
    Game::CopyBlock(surface, 0, 0, 20, 15, surface, 0, 5);
    EXPECT_EQ(surface.copy(0, 5, 20, 15), original.copy(0, 0, 20, 15));
}

// A surface of another pixel format would let the raster loops run past
// its rows: that stops the program at once instead.
TEST(DrawingDeathTest, aSurfaceOfAnotherFormatStopsTheProgram) {
    const QImage field = filled(200, 150, kGrass);
    QImage dest = filled(200, 150, kGrass);
    const QImage small8bit = QImage(40, 40, QImage::Format_Grayscale8);
    const QImage rgb16 = filled(40, 40, kWhite).convertToFormat(QImage::Format_RGB16);
    EXPECT_DEATH(Game::CopyBlock(small8bit, 0, 0, 40, 40, dest, 0, 0), "not a 32-bit RGB image");
    EXPECT_DEATH(Game::DrawMasked(rgb16, filled(40, 40, kWhite), 0, 0, 40, 40, dest, 0, 0), "sprite");
    QImage wrongDest = field.convertToFormat(QImage::Format_RGB888);
    EXPECT_DEATH(Game::CopyBlock(field, 0, 0, 200, 150, wrongDest, 0, 0), "destination");
}

// Our own art keeps the mask convention: a sprite is pure white wherever its
// mask is black, masks are only black and white, and sprites that share a
// mask share its outline.
TEST(GameArt, spritesFollowTheMaskConvention) {
    GameSurfaces s;
    QString error;
    ASSERT_TRUE(loadGameSurfaces(s, &error)) << error.toStdString();
    struct Pair { const QImage* sprite; const QImage* mask; const char* name; };
    std::vector<Pair> pairs;
    for (int i = 0; i < 5; ++i) {
        pairs.push_back({&s.Ph[i], &s.Phb1, "left sheep"});
        pairs.push_back({&s.PhRight[i], &s.Phb2, "right sheep"});
    }
    pairs.push_back({&s.Phh, &s.Phhb, "shorn sheep"});
    pairs.push_back({&s.Pminh1, &s.Pminh1b, "small sheep 1"});
    pairs.push_back({&s.Pminh2, &s.Pminh2b, "small sheep 2"});
    for (const Pair& p : pairs) {
        int figure = 0;
        for (int y = 0; y < p.mask->height(); ++y) {
            for (int x = 0; x < p.mask->width(); ++x) {
                const QRgb m = p.mask->pixel(x, y);
                ASSERT_TRUE(m == kWhite || m == kBlack) << p.name;
                if (m == kBlack) ASSERT_EQ(p.sprite->pixel(x, y), kWhite) << p.name << " at " << x << "," << y;
                else ++figure;
            }
        }
        EXPECT_GT(figure, p.mask->width() * p.mask->height() / 5) << p.name << " has a figure";
    }
    EXPECT_EQ(s.Pmain, s.Pic1);
    EXPECT_EQ(s.Pura, s.Pic1);
    EXPECT_EQ(s.Pkiso, s.Pic1);
    EXPECT_EQ(s.Pminkiso.pixel(0, 0), 0xFFFFD5D5);
}

}  // namespace
