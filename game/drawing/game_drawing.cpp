#include "game/drawing/game_drawing.h"

#include <QtGlobal>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace Game {
namespace {

// The part of a block that lies inside both the source and the destination.
struct Clip {
    int sx, sy, dx, dy, w, h;
    bool empty() const { return w <= 0 || h <= 0; }
};

Clip clipBlock(const QImage& source, int sx, int sy, int w, int h, const QImage& dest, int dx, int dy) {
    // Trim the left/top edge where either the source or the destination
    // coordinate is negative, then the right/bottom edge against both sizes.
    int cut = std::max({0, -sx, -dx});
    sx += cut; dx += cut; w -= cut;
    cut = std::max({0, -sy, -dy});
    sy += cut; dy += cut; h -= cut;
    w = std::min({w, source.width() - sx, dest.width() - dx});
    h = std::min({h, source.height() - sy, dest.height() - dy});
    return {sx, sy, dx, dy, w, h};
}

// Both procedures read and write 32-bit pixels directly; a surface of any
// other format would let them run past its rows. Every surface is made in
// Format_RGB32, so another format is a programming error: stop at once, in
// every build, rather than corrupt memory.
void requireSurface(const QImage& image, const char* role) {
    if (image.format() != QImage::Format_RGB32)
        qFatal("Game drawing: the %s surface is not a 32-bit RGB image (format %d, %dx%d)", role,
               int(image.format()), image.width(), image.height());
}

}  // namespace

int roundArgument(double value) {
    if (!std::isfinite(value)) return 0;
    const double r = std::nearbyint(std::clamp(value, -1.0e9, 1.0e9));  // ties to even
    return static_cast<int>(r);
}

void CopyBlock(const QImage& source, double sx, double sy, double width, double height,
               QImage& dest, double dx, double dy) {
    requireSurface(source, "source");
    requireSurface(dest, "destination");
    const Clip c = clipBlock(source, roundArgument(sx), roundArgument(sy), roundArgument(width),
                             roundArgument(height), dest, roundArgument(dx), roundArgument(dy));
    if (c.empty()) return;
    const size_t rowBytes = static_cast<size_t>(c.w) * sizeof(uint32_t);
    // bits() first: it gives the destination pixels of its own if it shared
    // them, after which only a copy within one surface can overlap.
    uchar* destBits = dest.bits();
    const uchar* srcBits = source.constBits();
    const qsizetype destStride = dest.bytesPerLine();
    const qsizetype srcStride = source.bytesPerLine();
    if (c.sx == 0 && c.dx == 0 && c.w == source.width() && c.w == dest.width() && srcStride == destStride) {
        // Whole rows on both sides: one contiguous move.
        std::memmove(destBits + c.dy * destStride, srcBits + c.sy * srcStride,
                     static_cast<size_t>(srcStride) * c.h);
        return;
    }
    // A block moved down within its own surface is copied from the bottom row
    // up, so that no row is overwritten before it has been read; memmove
    // takes care of the overlap within a row.
    const bool upwards = srcBits == destBits && c.dy > c.sy;
    for (int i = 0; i < c.h; ++i) {
        const int y = upwards ? c.h - 1 - i : i;
        std::memmove(destBits + (c.dy + y) * destStride + c.dx * sizeof(uint32_t),
                     srcBits + (c.sy + y) * srcStride + c.sx * sizeof(uint32_t), rowBytes);
    }
}

void DrawMasked(const QImage& sprite, const QImage& mask, double sx, double sy, double width,
                double height, QImage& dest, double dx, double dy) {
    requireSurface(sprite, "sprite");
    requireSurface(mask, "mask");
    requireSurface(dest, "destination");
    // The block must lie inside the mask as well as the sprite.
    Clip c = clipBlock(sprite, roundArgument(sx), roundArgument(sy), roundArgument(width),
                       roundArgument(height), dest, roundArgument(dx), roundArgument(dy));
    c.w = std::min(c.w, mask.width() - c.sx);
    c.h = std::min(c.h, mask.height() - c.sy);
    if (c.empty()) return;
    uchar* destBits = dest.bits();
    // Drawn onto itself, the sprite or mask block is read from a copy taken
    // before the first pixel changes.
    QImage spriteCopy, maskCopy;
    const QImage* s = &sprite;
    const QImage* m = &mask;
    int ssx = c.sx, ssy = c.sy;
    if (sprite.constBits() == destBits || mask.constBits() == destBits) {
        spriteCopy = sprite.copy(c.sx, c.sy, c.w, c.h);
        maskCopy = mask.copy(c.sx, c.sy, c.w, c.h);
        s = &spriteCopy;
        m = &maskCopy;
        ssx = ssy = 0;
    }
    for (int y = 0; y < c.h; ++y) {
        auto* d = reinterpret_cast<uint32_t*>(destBits + (c.dy + y) * dest.bytesPerLine()) + c.dx;
        const auto* mp = reinterpret_cast<const uint32_t*>(m->constScanLine(ssy + y)) + ssx;
        const auto* sp = reinterpret_cast<const uint32_t*>(s->constScanLine(ssy + y)) + ssx;
        for (int x = 0; x < c.w; ++x) d[x] = (d[x] | mp[x]) & sp[x];
    }
}

}  // namespace Game
