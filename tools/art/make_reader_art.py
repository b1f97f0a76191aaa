#!/usr/bin/env python3
"""Paint the pictures of the reader's sample book and write them as PNG
files to assets/reader/E/:

    asa.png   morning: the sun rising over a village in the hills
    mori.png  a forest of tall trees
    umi.png   the sea with a small sailing boat
    yoru.png  the night sky with stars and a crescent moon in the corner

    python3 tools/art/make_reader_art.py [output-dir]

Every picture is 400 x 200 pixels, the size of the reader's page.  Where
the reader prints its text (TEXT_AREA) the colours are kept soft and light
enough for the dark text colours the sample book uses over them, and the
night dark enough for its yellow text; bright things like the moon stay
outside that area.  Shapes are painted with anti-aliased edges: each shape
gives a signed distance (negative inside) and a pixel is covered in
proportion to how far inside it lies.  Deterministic: the same files on
every run.
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from raster import Canvas, Rng, write_png  # noqa: E402

W, H = 400, 200

# The reader prints its rows of text from x 10 to about x 370 and from y 17
# down to about y 190 (x0, y0, x1, y1).  The pictures keep that area calm:
# light enough for dark text, or dark enough for light text at night.
TEXT_AREA = (10, 17, 370, 190)
# centre and radius of the night's moon
MOON = (386, 21, 13)


class Picture:
    """A floating-point RGB picture with alpha-blended painting."""

    def __init__(self, top, bottom=None, horizon=H):
        bottom = bottom or top
        self.px = []
        for y in range(H):
            t = min(1.0, y / float(max(1, horizon - 1)))
            self.px.append([mix(top, bottom, t) for _ in range(W)])

    def blend(self, x, y, colour, a):
        if a <= 0.0 or not (0 <= x < W and 0 <= y < H):
            return
        a = min(1.0, a)
        self.px[y][x] = mix(self.px[y][x], colour, a)

    def paint(self, sdf, colour, alpha=1.0, box=(0, 0, W, H)):
        """Fill the shape whose signed distance function is `sdf`.  `colour`
        may be a function (x, y) -> colour for gradients."""
        x0, y0, x1, y1 = (int(v) for v in box)
        for y in range(max(0, y0), min(H, y1)):
            for x in range(max(0, x0), min(W, x1)):
                d = sdf(x + 0.5, y + 0.5)
                cover = 0.5 - d
                if cover <= 0.0:
                    continue
                c = colour(x, y) if callable(colour) else colour
                self.blend(x, y, c, min(1.0, cover) * alpha)

    def glow(self, cx, cy, radius, colour, strength):
        """A soft radial light that fades out at `radius`."""
        for y in range(max(0, int(cy - radius)), min(H, int(cy + radius) + 1)):
            for x in range(max(0, int(cx - radius)), min(W, int(cx + radius) + 1)):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy) / radius
                if d < 1.0:
                    self.blend(x, y, colour, strength * (1.0 - d) ** 2)

    def to_canvas(self):
        c = Canvas(W, H)
        c.px = [[tuple(max(0, min(255, int(round(v)))) for v in p) for p in row]
                for row in self.px]
        return c


def mix(a, b, t):
    return (a[0] + (b[0] - a[0]) * t, a[1] + (b[1] - a[1]) * t, a[2] + (b[2] - a[2]) * t)


# --- signed distance functions --------------------------------------------

def circle(cx, cy, r):
    return lambda x, y: math.hypot(x - cx, y - cy) - r


def ellipse(cx, cy, rx, ry):
    # approximate distance: exact enough for soft edges of round shapes
    def d(x, y):
        k = math.hypot((x - cx) / rx, (y - cy) / ry)
        return (k - 1.0) * min(rx, ry)
    return d


def rect(x0, y0, x1, y1):
    def d(x, y):
        dx = max(x0 - x, x - x1)
        dy = max(y0 - y, y - y1)
        if dx > 0 and dy > 0:
            return math.hypot(dx, dy)
        return max(dx, dy)
    return d


def polygon(points):
    """Signed distance to a simple polygon (even-odd rule for the sign)."""
    edges = list(zip(points, points[1:] + points[:1]))

    def d(x, y):
        best = 1e9
        inside = False
        for (ax, ay), (bx, by) in edges:
            ex, ey = bx - ax, by - ay
            t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey)))
            best = min(best, math.hypot(x - ax - t * ex, y - ay - t * ey))
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / (ey or 1e-9):
                inside = not inside
        return -best if inside else best
    return d


def segment(ax, ay, bx, by, r):
    def d(x, y):
        ex, ey = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey)))
        return math.hypot(x - ax - t * ex, y - ay - t * ey) - r
    return d


def below(f):
    """Everything below the curve y = f(x)."""
    return lambda x, y: f(x) - y


def union(*sdfs):
    return lambda x, y: min(s(x, y) for s in sdfs)


def subtract(a, b):
    return lambda x, y: max(a(x, y), -b(x, y))


def cloud(cx, cy, size):
    return union(ellipse(cx, cy, 30 * size, 9 * size),
                 circle(cx - 12 * size, cy - 5 * size, 10 * size),
                 circle(cx + 5 * size, cy - 9 * size, 13 * size),
                 circle(cx + 18 * size, cy - 3 * size, 9 * size))


def box_of(cx, cy, rx, ry):
    return (cx - rx - 2, cy - ry - 2, cx + rx + 3, cy + ry + 3)


def bird(p, x, y, s, colour):
    p.paint(segment(x - 5 * s, y - 2 * s, x, y, 0.6), colour, 0.9, box_of(x, y, 7 * s, 4 * s))
    p.paint(segment(x, y, x + 5 * s, y - 2.5 * s, 0.6), colour, 0.9, box_of(x, y, 7 * s, 4 * s))


def house(p, x, base, w, h, wall, roof, window):
    p.paint(rect(x, base - h, x + w, base), wall, 1.0, (x - 2, base - h - 2, x + w + 3, base + 2))
    p.paint(polygon([(x - 2, base - h), (x + w / 2.0, base - h - w * 0.55), (x + w + 2, base - h)]),
            roof, 1.0, (x - 4, base - h - w, x + w + 5, base - h + 2))
    p.paint(rect(x + w * 0.3, base - h * 0.65, x + w * 0.55, base - h * 0.3), window, 1.0,
            (x, base - h, x + w, base))


# --- the four scenes --------------------------------------------------------

def morning():
    p = Picture((150, 196, 236), (255, 226, 186), horizon=125)
    # the sun low over the hills, and its warm glow across the sky
    p.glow(292, 120, 170, (255, 236, 190), 0.55)
    p.glow(292, 120, 60, (255, 246, 210), 0.6)
    p.paint(circle(292, 120, 24), (255, 232, 140), 1.0, box_of(292, 120, 26, 26))
    for k in range(9):   # faint rays
        a = math.pi * (1.05 + k * 0.11)
        p.paint(segment(292 + 34 * math.cos(a), 120 + 34 * math.sin(a),
                        292 + 62 * math.cos(a), 120 + 62 * math.sin(a), 1.4),
                (255, 240, 180), 0.5, (200, 40, 400, 130))
    for cx, cy, s in ((70, 40, 0.9), (180, 26, 0.7), (370, 48, 0.6)):
        p.paint(cloud(cx, cy, s), (255, 240, 232), 0.85, (cx - 40, cy - 25, cx + 40, cy + 15))
    far = lambda x: 116 + 9 * math.sin(x / 41.0 + 1.0) + 5 * math.sin(x / 17.0)  # noqa: E731
    p.paint(below(far), (176, 178, 214), 1.0)
    mid = lambda x: 140 + 10 * math.sin(x / 55.0 + 2.2) + 3 * math.sin(x / 13.0)  # noqa: E731
    p.paint(below(mid), lambda x, y: mix((168, 212, 150), (140, 190, 126), (y - 125) / 75.0))
    # the village on the near slope
    rng = Rng(11)
    for i, x in enumerate(range(70, 230, 22)):
        base = int(mid(x + 8)) + 6 + rng.randint(0, 4)
        w = 14 + rng.randint(0, 4)
        roof = ((226, 142, 120), (206, 150, 176), (230, 172, 112))[i % 3]
        house(p, x, base, w, 11 + rng.randint(0, 4), (248, 238, 220), roof, (156, 174, 208))
    # the church with its spire
    cx, base = 150, int(mid(150)) + 2
    p.paint(rect(cx, base - 30, cx + 10, base), (244, 236, 224), 1.0, (cx - 2, base - 32, cx + 13, base + 2))
    p.paint(polygon([(cx - 1, base - 30), (cx + 5, base - 48), (cx + 11, base - 30)]),
            (184, 156, 192), 1.0, (cx - 3, base - 50, cx + 14, base - 28))
    for tx in (50, 60, 245, 258, 330):  # round trees
        ty = mid(tx) + 4
        p.paint(rect(tx - 1.2, ty - 8, tx + 1.2, ty + 6), (172, 142, 110), 1.0, (tx - 3, ty - 10, tx + 4, ty + 8))
        p.paint(circle(tx, ty - 12, 7), (134, 188, 128), 1.0, box_of(tx, ty - 12, 8, 8))
    near = lambda x: 176 + 6 * math.sin(x / 37.0 + 0.4)  # noqa: E731
    p.paint(below(near), lambda x, y: mix((160, 210, 130), (130, 190, 110), (y - 165) / 35.0))
    for i in range(40):  # flowers in the near grass
        x, y = rng.randint(4, 396), rng.randint(182, 197)
        col = ((255, 255, 255), (255, 230, 120), (250, 170, 190))[i % 3]
        p.paint(circle(x, y, 1.3), col, 1.0, box_of(x, y, 2, 2))
    for x, y, s in ((120, 60, 1.0), (135, 52, 0.8), (150, 64, 0.9)):
        bird(p, x, y, s, (140, 130, 150))
    return p


def forest():
    p = Picture((226, 240, 206), (200, 226, 182), horizon=200)
    # sunlight falling through the trees from the top right
    for k in range(5):
        x0 = 150 + k * 55
        p.paint(polygon([(x0, 0), (x0 + 22, 0), (x0 - 60, 200), (x0 - 95, 200)]),
                (255, 252, 220), 0.22, (x0 - 100, 0, x0 + 25, 200))
    ground = lambda x: 168 + 5 * math.sin(x / 45.0)  # noqa: E731

    def conifer(x, base, height, width, crown, trunk, alpha=1.0):
        p.paint(rect(x - width * 0.09, base - height * 0.6, x + width * 0.09, base + 2), trunk,
                alpha, (x - width, base - height, x + width, base + 4))
        tiers = 4
        for t in range(tiers):
            top = base - height + t * height * 0.17
            bottom = top + height * 0.32
            half = width * (0.35 + 0.17 * t)
            p.paint(polygon([(x, top), (x + half, bottom), (x - half, bottom)]), crown, alpha,
                    (x - half - 2, top - 2, x + half + 3, bottom + 2))

    rng = Rng(5)
    for i in range(11):   # far trees: pale, thin
        x = 10 + i * 37 + rng.randint(-8, 8)
        conifer(x, ground(x) - 8, 150 + rng.randint(0, 30), 26, (194, 222, 188), (196, 182, 164))
    for i in range(8):    # middle row
        x = 28 + i * 50 + rng.randint(-10, 10)
        conifer(x, ground(x) - 2, 170 + rng.randint(0, 25), 34, (160, 202, 152), (182, 156, 126))
    p.paint(below(ground), lambda x, y: mix((176, 206, 132), (150, 188, 112), (y - 160) / 40.0))
    for x in (36, 180, 352):  # near trees: tall trunks running out of the picture
        p.paint(rect(x - 6, -5, x + 6, ground(x) + 6), lambda xx, yy: (190, 160, 128) if xx < x
                else (176, 146, 116), 1.0, (x - 8, 0, x + 9, 200))
        for t in range(4):
            top = -20 + t * 34
            half = 26 + t * 8
            p.paint(polygon([(x, top), (x + half, top + 52), (x - half, top + 52)]),
                    (136, 186, 134), 1.0, (x - half - 2, top - 2, x + half + 3, top + 55))
    for mx, my in ((100, 182), (118, 186), (268, 179)):  # mushrooms
        p.paint(rect(mx - 1.5, my - 5, mx + 1.5, my + 2), (245, 238, 220), 1.0, box_of(mx, my, 4, 8))
        p.paint(subtract(circle(mx, my - 4, 6), rect(mx - 9, my - 4, mx + 9, my + 9)),
                (232, 122, 106), 1.0, box_of(mx, my - 4, 8, 8))
        for dx in (-3, 2):
            p.paint(circle(mx + dx, my - 7, 1.0), (255, 250, 240), 1.0, box_of(mx + dx, my - 7, 2, 2))
    for i in range(60):
        x, y = rng.randint(2, 398), rng.randint(175, 198)
        p.paint(segment(x, y, x + rng.randint(-2, 2), y - 5, 0.6), (138, 186, 112), 0.9,
                box_of(x, y - 3, 4, 6))
    return p


def sea():
    horizon = 96
    p = Picture((162, 206, 242), (226, 242, 250), horizon=horizon)
    for cx, cy, s in ((60, 30, 1.0), (210, 48, 0.7), (330, 22, 0.9)):
        p.paint(cloud(cx, cy, s), (255, 255, 255), 0.9, (cx - 45, cy - 25, cx + 45, cy + 15))
    p.glow(320, 70, 60, (255, 250, 220), 0.5)
    p.paint(circle(320, 70, 14), (255, 246, 200), 1.0, box_of(320, 70, 16, 16))
    # a far island on the horizon
    p.paint(ellipse(70, horizon + 2, 55, 10), (168, 204, 188), 1.0, (10, horizon - 12, 130, horizon + 1))
    p.paint(rect(0, horizon, W, H), lambda x, y: mix((184, 222, 240), (150, 202, 232),
                                                     (y - horizon) / float(H - horizon)))
    rng = Rng(3)
    for i in range(90):  # wave crests, smaller towards the horizon
        y = horizon + 4 + (rng.uniform() ** 1.4) * (H - horizon - 6)
        s = 0.4 + (y - horizon) / float(H - horizon) * 1.6
        x = rng.randint(0, W)
        p.paint(segment(x - 6 * s, y, x + 6 * s, y, 0.55 * s), (214, 236, 248), 0.8,
                box_of(x, y, 8 * s, 2 * s))
    for i in range(25):  # the sun's glitter on the water
        y = horizon + 3 + i * 4
        x = 320 + rng.randint(-10, 10)
        p.paint(segment(x - 4, y, x + 4, y, 0.7), (255, 250, 225), 0.8, box_of(x, y, 6, 2))
    # the boat
    bx, by = 178, 150
    p.paint(polygon([(bx - 34, by - 8), (bx + 36, by - 8), (bx + 26, by + 5), (bx - 26, by + 5)]),
            (224, 176, 140), 1.0, (bx - 40, by - 12, bx + 40, by + 8))
    p.paint(rect(bx - 32, by - 8, bx + 34, by - 5), (230, 210, 180), 1.0, (bx - 36, by - 10, bx + 38, by - 3))
    p.paint(rect(bx - 1.2, by - 72, bx + 1.2, by - 8), (200, 172, 140), 1.0, (bx - 3, by - 75, bx + 4, by - 6))
    p.paint(polygon([(bx + 3, by - 70), (bx + 3, by - 13), (bx + 40, by - 13)]),
            lambda x, y: mix((255, 255, 252), (228, 232, 240), (x - bx) / 40.0), 1.0,
            (bx, by - 73, bx + 43, by - 10))
    p.paint(polygon([(bx - 3, by - 60), (bx - 3, by - 13), (bx - 30, by - 13)]),
            (246, 244, 236), 1.0, (bx - 33, by - 63, bx, by - 10))
    p.paint(polygon([(bx, by - 72), (bx + 12, by - 69), (bx, by - 66)]), (230, 90, 80), 1.0,
            (bx - 1, by - 74, bx + 14, by - 64))
    for k in range(6):   # its wobbling reflection
        y = by + 7 + k * 3
        p.paint(segment(bx - 24 + k * 2, y, bx + 20 - k * 3, y, 0.8), (120, 150, 180), 0.3,
                box_of(bx, y, 30, 2))
    for x, y, s in ((96, 44, 1.0), (112, 52, 0.8), (262, 36, 0.9)):
        bird(p, x, y, s, (130, 140, 160))
    return p


def night():
    p = Picture((40, 50, 108), (88, 98, 156), horizon=160)
    rng = Rng(99)
    for i in range(160):   # stars, a few with a sparkle
        x, y = rng.uniform() * W, rng.uniform() * 150
        b = 0.4 + 0.6 * rng.uniform()
        col = ((255, 255, 240), (220, 230, 255), (255, 236, 190))[i % 3]
        p.paint(circle(x, y, 0.5 + 0.7 * b), col, b, box_of(x, y, 2, 2))
        if i % 23 == 0:
            p.paint(segment(x - 4, y, x + 4, y, 0.4), col, 0.7, box_of(x, y, 6, 2))
            p.paint(segment(x, y - 4, x, y + 4, 0.4), col, 0.7, box_of(x, y, 2, 6))
    # the crescent moon and its halo in the top right corner, beside the
    # text area: the bright moon would swallow light text printed over it
    mx, my, mr = MOON
    assert mx - mr > TEXT_AREA[2] + 1, 'the moon must stay out of the text area'
    p.glow(mx, my, 2.6 * mr, (200, 200, 240), 0.3)
    moon = subtract(circle(mx, my, mr), circle(mx + mr * 0.48, my - mr * 0.33, mr * 0.85))
    p.paint(moon, (255, 246, 206), 1.0, box_of(mx, my, mr + 2, mr + 2))
    for cx, cy, s in ((250, 86, 0.8), (120, 40, 0.9)):
        p.paint(cloud(cx, cy, s), (130, 138, 190), 0.55, (cx - 40, cy - 25, cx + 40, cy + 15))
    hills = lambda x: 160 + 10 * math.sin(x / 47.0 + 0.5) + 4 * math.sin(x / 15.0)  # noqa: E731
    p.paint(below(hills), (64, 74, 126))
    near = lambda x: 182 + 6 * math.sin(x / 30.0 + 1.7)  # noqa: E731
    # houses on the hill with lit windows
    for i, x in enumerate((40, 62, 88, 300, 324, 350)):
        base = int(hills(x + 7)) + 8
        house(p, x, base, 15, 12, (82, 90, 140), (70, 72, 120), (255, 220, 130))
    p.paint(below(near), (52, 62, 110))
    return p


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, '..', '..', 'assets', 'reader', 'E')
    out = os.path.normpath(out)
    os.makedirs(out, exist_ok=True)
    for name, scene in (('asa', morning), ('mori', forest), ('umi', sea), ('yoru', night)):
        write_png(os.path.join(out, name + '.png'), scene().to_canvas())


if __name__ == '__main__':
    main()
