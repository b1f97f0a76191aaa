#include "game/drawing/game_drawing.h"

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

}  // namespace

int roundArgument(double value) {
    if (!std::isfinite(value)) return 0;
    const double r = std::nearbyint(std::clamp(value, -1.0e9, 1.0e9));  // ties to even
    return static_cast<int>(r);
}

void CopyBlock(const QImage& source, double sx, double sy, double width, double height,
               QImage& dest, double dx, double dy) {
    const Clip c = clipBlock(source, roundArgument(sx), roundArgument(sy), roundArgument(width),
                             roundArgument(height), dest, roundArgument(dx), roundArgument(dy));
    if (c.empty()) return;
    const size_t rowBytes = static_cast<size_t>(c.w) * sizeof(uint32_t);
    uchar* destBits = dest.bits();
    const uchar* srcBits = source.constBits();
    const qsizetype destStride = dest.bytesPerLine();
    const qsizetype srcStride = source.bytesPerLine();
    if (c.sx == 0 && c.dx == 0 && c.w == source.width() && c.w == dest.width() && srcStride == destStride) {
        // Whole rows on both sides: one contiguous copy.
        std::memcpy(destBits + c.dy * destStride, srcBits + c.sy * srcStride,
                    static_cast<size_t>(srcStride) * c.h);
        return;
    }
    for (int y = 0; y < c.h; ++y) {
        std::memcpy(destBits + (c.dy + y) * destStride + c.dx * sizeof(uint32_t),
                    srcBits + (c.sy + y) * srcStride + c.sx * sizeof(uint32_t), rowBytes);
    }
}

void DrawMasked(const QImage& sprite, const QImage& mask, double sx, double sy, double width,
                double height, QImage& dest, double dx, double dy) {
    // The block must lie inside the mask as well as the sprite.
    Clip c = clipBlock(sprite, roundArgument(sx), roundArgument(sy), roundArgument(width),
                       roundArgument(height), dest, roundArgument(dx), roundArgument(dy));
    c.w = std::min(c.w, mask.width() - c.sx);
    c.h = std::min(c.h, mask.height() - c.sy);
    if (c.empty()) return;
    uchar* destBits = dest.bits();
    for (int y = 0; y < c.h; ++y) {
        auto* d = reinterpret_cast<uint32_t*>(destBits + (c.dy + y) * dest.bytesPerLine()) + c.dx;
        const auto* m = reinterpret_cast<const uint32_t*>(mask.constScanLine(c.sy + y)) + c.sx;
        const auto* s = reinterpret_cast<const uint32_t*>(sprite.constScanLine(c.sy + y)) + c.sx;
        for (int x = 0; x < c.w; ++x) d[x] = (d[x] | m[x]) & s[x];
    }
}

}  // namespace Game
