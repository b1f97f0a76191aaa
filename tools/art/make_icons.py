#!/usr/bin/env python3
"""Draw the desktop icons of the two programs and of the reader's book
files, as PNG files at the usual hicolor sizes and as scalable SVG:

    <out>/hicolor/<N>x<N>/apps/org.woolmere.Fleeceslot.png        the game
    <out>/hicolor/<N>x<N>/apps/org.woolmere.Velreader.png         the reader
    <out>/hicolor/<N>x<N>/mimetypes/application-x-velin-book.png  a book file
    <out>/hicolor/scalable/apps/*.svg, .../scalable/mimetypes/*.svg

    python3 tools/art/make_icons.py [output-dir]     (default: assets/icons)

N runs over 16, 32, 48, 64, 128 and 256.  Each picture is described once as
a list of filled shapes (circles, ellipses, rounded rectangles, paths made
of straight and quadratic pieces, and round-capped poly-lines).  The same
list is painted into the PNG files and written out as SVG elements, so the
scalable icon and the bitmaps show the same picture.  The smallest sizes
get their own simpler drawings laid out on the pixel grid, since fine
detail would only blur there.

Painting: every shape gives a signed distance (negative inside, in drawing
units); a pixel is covered in proportion to how far its centre lies inside,
so edges are anti-aliased over about one pixel.  A shape may be "grown" by a
width, which paints its outline when the grown shape is drawn first in a
darker colour (in SVG: the same element with a round-joined stroke).  The
background stays fully transparent outside the shapes.

Deterministic: the same bytes on every run.
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from raster import Canvas, Rng, write_png_rgba  # noqa: E402

SIZES = (16, 32, 48, 64, 128, 256)
APP_GAME = 'org.woolmere.Fleeceslot'
APP_READER = 'org.woolmere.Velreader'
MIME_BOOK = 'application-x-velin-book'

# Colours shared with the programs' own pictures.
READER_PINK = (255, 220, 224)   # the reader's window
PAGE_PINK = (255, 240, 240)     # its page
FRAME_ORANGE = (255, 156, 0)    # the frame round the page

# Colours of the icons.
FRAME_DARK = (222, 118, 0)
PAGE_LINE = (226, 150, 120)
PAGE_SHADE = (246, 206, 212)
TEXT_SOFT = (206, 168, 178)
TEXT_DARK = (150, 104, 126)
WOOL = (255, 255, 255)
WOOL_LOW = (226, 228, 238)
WOOL_LINE = (116, 118, 132)
WOOL_CURL = (214, 216, 228)
FACE_TOP = (88, 80, 90)
FACE_LOW = (56, 50, 58)
FACE_DARK = (40, 36, 42)
EAR_PINK = (238, 164, 178)
CHEEK_PINK = (246, 150, 170)
EYE_WHITE = (255, 255, 255)
PUPIL = (28, 24, 30)
SKY_TOP = (160, 214, 246)
SKY_LOW = (220, 242, 248)
HILL_FAR = (132, 200, 128)
MEADOW_TOP = (178, 228, 124)
MEADOW_LOW = (138, 204, 100)
MEADOW_RIM = (92, 158, 84)
MORNING_SKY = (150, 196, 236)
MORNING_LOW = (255, 226, 186)
SUN = (255, 222, 120)
HILL_MAUVE = (176, 178, 214)
HILL_GREEN = (150, 204, 120)


# ---------------------------------------------------------------------------
# Number and colour formatting for the SVG files.

def num(v):
    text = ('%.2f' % v).rstrip('0').rstrip('.')
    return '0' if text in ('-0', '') else text


def hex6(c):
    return '#%02x%02x%02x' % c


def mix(a, b, t):
    return tuple(a[i] + (b[i] - a[i]) * t for i in range(3))


# ---------------------------------------------------------------------------
# Paints: a plain colour or a linear gradient.

class Linear:
    """A linear gradient from (x0, y0) to (x1, y1) with (offset, colour)
    stops; beyond its ends the end colours continue (SVG's "pad")."""

    def __init__(self, x0, y0, x1, y1, *stops):
        self.x0, self.y0, self.x1, self.y1 = x0, y0, x1, y1
        self.stops = stops
        dx, dy = x1 - x0, y1 - y0
        self.k = 1.0 / (dx * dx + dy * dy)

    def at(self, x, y):
        t = ((x - self.x0) * (self.x1 - self.x0) + (y - self.y0) * (self.y1 - self.y0)) * self.k
        stops = self.stops
        if t <= stops[0][0]:
            return stops[0][1]
        for (t0, c0), (t1, c1) in zip(stops, stops[1:]):
            if t <= t1:
                return mix(c0, c1, (t - t0) / (t1 - t0)) if t1 > t0 else c1
        return stops[-1][1]

    def svg_def(self, ident):
        lines = ['<linearGradient id="%s" gradientUnits="userSpaceOnUse" '
                 'x1="%s" y1="%s" x2="%s" y2="%s">'
                 % (ident, num(self.x0), num(self.y0), num(self.x1), num(self.y1))]
        for t, c in self.stops:
            lines.append('  <stop offset="%s" stop-color="%s"/>' % (num(t), hex6(c)))
        lines.append('</linearGradient>')
        return lines


# ---------------------------------------------------------------------------
# Shapes.  Each gives sdf(x, y), a bounding box (x0, y0, x1, y1) and its SVG
# element name with geometry attributes.

class Circle:
    def __init__(self, cx, cy, r):
        self.cx, self.cy, self.r = cx, cy, r

    def sdf(self, x, y):
        return math.hypot(x - self.cx, y - self.cy) - self.r

    def box(self):
        return (self.cx - self.r, self.cy - self.r, self.cx + self.r, self.cy + self.r)

    def svg(self):
        return 'circle', 'cx="%s" cy="%s" r="%s"' % (num(self.cx), num(self.cy), num(self.r))


class Ellipse:
    """An ellipse turned by `angle` degrees (clockwise on screen, as SVG's
    rotate()).  Its distance is the usual first-order estimate, which is
    exact on the rim and close enough for a one-pixel edge."""

    def __init__(self, cx, cy, rx, ry, angle=0.0):
        self.cx, self.cy, self.rx, self.ry, self.angle = cx, cy, rx, ry, angle
        a = math.radians(angle)
        self.cos, self.sin = math.cos(a), math.sin(a)

    def sdf(self, x, y):
        dx, dy = x - self.cx, y - self.cy
        u = dx * self.cos + dy * self.sin
        v = -dx * self.sin + dy * self.cos
        k0 = math.hypot(u / self.rx, v / self.ry)
        k1 = math.hypot(u / (self.rx * self.rx), v / (self.ry * self.ry))
        if k1 < 1e-9:
            return -min(self.rx, self.ry)
        return k0 * (k0 - 1.0) / k1

    def box(self):
        r = max(self.rx, self.ry) if self.angle else 0.0
        rx, ry = (r, r) if self.angle else (self.rx, self.ry)
        return (self.cx - rx, self.cy - ry, self.cx + rx, self.cy + ry)

    def svg(self):
        attrs = 'cx="%s" cy="%s" rx="%s" ry="%s"' % (num(self.cx), num(self.cy),
                                                     num(self.rx), num(self.ry))
        if self.angle:
            attrs += ' transform="rotate(%s %s %s)"' % (num(self.angle), num(self.cx), num(self.cy))
        return 'ellipse', attrs


class RoundRect:
    def __init__(self, x0, y0, x1, y1, r=0.0):
        self.x0, self.y0, self.x1, self.y1, self.r = x0, y0, x1, y1, r

    def sdf(self, x, y):
        cx, cy = (self.x0 + self.x1) * 0.5, (self.y0 + self.y1) * 0.5
        hx, hy = (self.x1 - self.x0) * 0.5 - self.r, (self.y1 - self.y0) * 0.5 - self.r
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - self.r

    def box(self):
        return (self.x0, self.y0, self.x1, self.y1)

    def svg(self):
        attrs = 'x="%s" y="%s" width="%s" height="%s"' % (
            num(self.x0), num(self.y0), num(self.x1 - self.x0), num(self.y1 - self.y0))
        if self.r:
            attrs += ' rx="%s"' % num(self.r)
        return 'rect', attrs


class Path:
    """A closed outline from ('M', x, y), ('L', x, y) and ('Q', cx, cy, x, y)
    steps.  For painting, each quadratic piece is cut into short straight
    ones; inside is decided by the even-odd rule."""

    STEPS = 16

    def __init__(self, *steps):
        self.steps = steps
        pts = []
        for s in steps:
            if s[0] in ('M', 'L'):
                pts.append((s[1], s[2]))
            else:
                (ax, ay), (cx, cy), (bx, by) = pts[-1], (s[1], s[2]), (s[3], s[4])
                for i in range(1, self.STEPS + 1):
                    t = i / float(self.STEPS)
                    u = 1.0 - t
                    pts.append((u * u * ax + 2 * u * t * cx + t * t * bx,
                                u * u * ay + 2 * u * t * cy + t * t * by))
        if pts[0] == pts[-1]:
            pts.pop()
        self.points = pts
        self.edges = []
        for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
            ex, ey = bx - ax, by - ay
            self.edges.append((ax, ay, bx, by, ex, ey, 1.0 / (ex * ex + ey * ey)))

    def sdf(self, x, y):
        best = 1e18
        inside = False
        for ax, ay, bx, by, ex, ey, k in self.edges:
            px, py = x - ax, y - ay
            t = (px * ex + py * ey) * k
            t = 0.0 if t < 0.0 else (1.0 if t > 1.0 else t)
            qx, qy = px - t * ex, py - t * ey
            d = qx * qx + qy * qy
            if d < best:
                best = d
            if (ay > y) != (by > y) and x < ax + (y - ay) * ex / ey:
                inside = not inside
        best = math.sqrt(best)
        return -best if inside else best

    def box(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return (min(xs), min(ys), max(xs), max(ys))

    def svg(self):
        pieces = []
        for s in self.steps:
            pieces.append(s[0] + ' ' + ' '.join(num(v) for v in s[1:]))
        return 'path', 'd="%s Z"' % ' '.join(pieces)


class Line:
    """A poly-line of half-width r with round caps and joins."""

    def __init__(self, points, r):
        self.points, self.r = points, r

    def sdf(self, x, y):
        best = 1e18
        pts = self.points
        if len(pts) == 1:
            return math.hypot(x - pts[0][0], y - pts[0][1]) - self.r
        for (ax, ay), (bx, by) in zip(pts, pts[1:]):
            ex, ey = bx - ax, by - ay
            px, py = x - ax, y - ay
            t = max(0.0, min(1.0, (px * ex + py * ey) / (ex * ex + ey * ey)))
            qx, qy = px - t * ex, py - t * ey
            best = min(best, qx * qx + qy * qy)
        return math.sqrt(best) - self.r

    def box(self):
        xs = [p[0] for p in self.points]
        ys = [p[1] for p in self.points]
        return (min(xs) - self.r, min(ys) - self.r, max(xs) + self.r, max(ys) + self.r)

    def svg(self):
        return 'polyline', 'points="%s"' % ' '.join('%s,%s' % (num(x), num(y))
                                                    for x, y in self.points)


# ---------------------------------------------------------------------------
# A picture: shapes painted one over the other.

class Op:
    def __init__(self, shape, paint, opacity, grow, clip):
        self.shape, self.paint, self.opacity, self.grow, self.clip = \
            shape, paint, opacity, grow, clip


class Scene:
    def __init__(self, size):
        self.size = size       # drawing units across the square picture
        self.ops = []
        self.notes = []        # (index of the next op, comment) for the SVG

    def note(self, text):
        self.notes.append((len(self.ops), text))

    def fill(self, shape, paint, opacity=1.0, grow=0.0, clip=None):
        self.ops.append(Op(shape, paint, opacity, grow, clip))

    def outlined(self, shapes, paint, line, width, clip=None):
        """Fill the union of `shapes` and give it one outline of `width`
        drawing units outside the shape, in the colour `line`."""
        for s in shapes:
            self.fill(s, line, grow=width, clip=clip)
        for s in shapes:
            self.fill(s, paint, clip=clip)


def render(scene, n):
    """Paint the scene into an n x n RGBA canvas."""
    s = n / float(scene.size)
    inv = 1.0 / s
    size = n * n
    pr = [0.0] * size          # premultiplied colour and coverage
    pg = [0.0] * size
    pb = [0.0] * size
    pa = [0.0] * size
    for op in scene.ops:
        x0, y0, x1, y1 = op.shape.box()
        if op.clip is not None:
            cx0, cy0, cx1, cy1 = op.clip.box()
            x0, y0, x1, y1 = max(x0, cx0), max(y0, cy0), min(x1, cx1), min(y1, cy1)
        g = op.grow
        px0 = max(0, int(math.floor((x0 - g) * s)) - 1)
        py0 = max(0, int(math.floor((y0 - g) * s)) - 1)
        px1 = min(n, int(math.ceil((x1 + g) * s)) + 2)
        py1 = min(n, int(math.ceil((y1 + g) * s)) + 2)
        sdf = op.shape.sdf
        clip = op.clip.sdf if op.clip is not None else None
        paint = op.paint
        flat = not isinstance(paint, Linear)
        for py in range(py0, py1):
            v = (py + 0.5) * inv
            row = py * n
            for px in range(px0, px1):
                u = (px + 0.5) * inv
                d = sdf(u, v) - g
                if clip is not None:
                    d = max(d, clip(u, v))
                cover = 0.5 - d * s
                if cover <= 0.0:
                    continue
                a = (1.0 if cover >= 1.0 else cover) * op.opacity
                c = paint if flat else paint.at(u, v)
                i = row + px
                keep = 1.0 - a
                pr[i] = c[0] * a + pr[i] * keep
                pg[i] = c[1] * a + pg[i] * keep
                pb[i] = c[2] * a + pb[i] * keep
                pa[i] = a + pa[i] * keep
    canvas = Canvas(n, n)
    for py in range(n):
        row = []
        for px in range(n):
            i = py * n + px
            a = pa[i]
            alpha = int(round(a * 255.0))
            if alpha == 0:
                row.append((0, 0, 0, 0))
                continue
            row.append((min(255, int(round(pr[i] / a))), min(255, int(round(pg[i] / a))),
                        min(255, int(round(pb[i] / a))), alpha))
        canvas.px[py] = row
    return canvas


def to_svg(scene, title):
    """The scene as an SVG 1.1 file: gradients and clip shapes in
    <defs>, then one element per painted shape, in painting order."""
    defs = []
    ids = {}

    def ref(obj, prefix, make):
        key = id(obj)
        if key not in ids:
            ids[key] = '%s%d' % (prefix, len([k for k in ids.values() if k.startswith(prefix)]) + 1)
            defs.extend('    ' + line for line in make(ids[key]))
        return ids[key]

    body = []
    notes = dict()
    for index, text in scene.notes:
        notes.setdefault(index, []).append(text)
    for index, op in enumerate(scene.ops):
        for text in notes.get(index, []):
            body.append('  <!-- %s -->' % text)
        if isinstance(op.paint, Linear):
            colour = 'url(#%s)' % ref(op.paint, 'g', op.paint.svg_def)
        else:
            colour = hex6(tuple(int(round(v)) for v in op.paint))
        name, geometry = op.shape.svg()
        attrs = [geometry]
        if isinstance(op.shape, Line):
            attrs.append('fill="none" stroke="%s" stroke-width="%s" '
                         'stroke-linecap="round" stroke-linejoin="round"'
                         % (colour, num(2 * (op.shape.r + op.grow))))
        else:
            attrs.append('fill="%s"' % colour)
            if op.grow:
                attrs.append('stroke="%s" stroke-width="%s" stroke-linejoin="round"'
                             % (colour, num(2 * op.grow)))
        if op.opacity < 1.0:
            attrs.append('opacity="%s"' % num(op.opacity))
        if op.clip is not None:
            def clip_def(ident, shape=op.clip):
                cname, cgeom = shape.svg()
                return ['<clipPath id="%s">' % ident, '  <%s %s/>' % (cname, cgeom), '</clipPath>']
            attrs.append('clip-path="url(#%s)"' % ref(op.clip, 'c', clip_def))
        body.append('  <%s %s/>' % (name, ' '.join(attrs)))
    head = ['<?xml version="1.0" encoding="UTF-8"?>',
            '<!-- %s -->' % title,
            '<svg xmlns="http://www.w3.org/2000/svg" version="1.1" width="%d" height="%d" '
            'viewBox="0 0 %d %d">' % (scene.size, scene.size, scene.size, scene.size)]
    if defs:
        head += ['  <defs>'] + defs + ['  </defs>']
    return '\n'.join(head + body + ['</svg>']) + '\n'


# ---------------------------------------------------------------------------
# The game: a round white woolly sheep on a disc of sky and meadow.

def fleece_bumps(cx, cy, rx, ry, count, r, phase, rng, wobble):
    """Circles along an ellipse, the wool's bumpy rim."""
    out = [Ellipse(cx, cy, rx, ry)]
    for k in range(count):
        t = 2 * math.pi * k / count + phase
        out.append(Circle(cx + rx * math.cos(t), cy + ry * math.sin(t),
                          r + wobble * (rng.uniform() - 0.5)))
    return out


def game_icon(n):
    if n <= 16:
        return game_icon_16()
    if n <= 32:
        return game_icon_32()
    sc = Scene(256)
    rng = Rng(7)
    disc = Circle(128, 124, 108)
    sc.note('the disc: meadow rim, sky, hills and meadow')
    sc.fill(Circle(128, 132, 108), MEADOW_RIM)
    sc.fill(disc, Linear(0, 16, 0, 150, (0, SKY_TOP), (1, SKY_LOW)))
    sc.fill(Path(('M', 0, 150), ('Q', 50, 112, 110, 138), ('Q', 170, 164, 256, 124),
                 ('L', 256, 256), ('L', 0, 256)), HILL_FAR, clip=disc)
    sc.fill(Path(('M', 0, 176), ('Q', 128, 150, 256, 176), ('L', 256, 256), ('L', 0, 256)),
            Linear(0, 160, 0, 232, (0, MEADOW_TOP), (1, MEADOW_LOW)), clip=disc)
    sc.note('the sheep: shadow, legs, fleece, ears, head')
    sc.fill(Ellipse(128, 212, 70, 9), MEADOW_RIM, opacity=0.35)
    for x in (104, 152):
        sc.fill(Line([(x, 186), (x, 208)], 9), FACE_DARK)
    wool = fleece_bumps(128, 128, 62, 50, 13, 23, 0.25, rng, 4)
    sc.outlined(wool, Linear(0, 64, 0, 204, (0, WOOL), (0.55, WOOL), (1, WOOL_LOW)), WOOL_LINE, 5)
    if n >= 64:
        for pts in (((60, 132), (64, 124), (72, 122)), ((186, 150), (194, 146), (198, 138)),
                    ((76, 176), (84, 180), (92, 178)), ((170, 90), (178, 94), (182, 102)),
                    ((78, 90), (84, 84), (92, 84))):
            sc.fill(Line(list(pts), 3.5), WOOL_CURL)
    for side in (-1, 1):
        ear = Ellipse(128 + side * 40, 128, 18, 9, side * 25)
        sc.fill(ear, FACE_DARK, grow=2.5)
        sc.fill(ear, FACE_LOW)
        if n >= 64:
            sc.fill(Ellipse(128 + side * 45, 130.5, 8, 3.5, side * 25), EAR_PINK)
    head = Ellipse(128, 142, 31, 37)
    sc.fill(head, Linear(0, 110, 0, 180, (0, FACE_TOP), (1, FACE_LOW)))
    tuft = [Circle(110, 106, 13), Circle(128, 100, 15), Circle(146, 106, 13)]
    sc.outlined(tuft, WOOL, WOOL_LINE, 4)
    sc.note('the face')
    for side in (-1, 1):
        sc.fill(Circle(128 + side * 13, 138, 9), EYE_WHITE)
        sc.fill(Circle(128 + side * 13 + 1, 140, 5.5), PUPIL)
        sc.fill(Circle(128 + side * 13 + 3, 137, 2), EYE_WHITE)
        if n >= 64:
            sc.fill(Circle(128 + side * 21, 158, 6), CHEEK_PINK, opacity=0.55)
    sc.fill(Ellipse(128, 160, 6, 4), EAR_PINK)
    sc.fill(Line([(120, 167), (124, 170), (128, 168), (132, 170), (136, 167)], 1.8), EAR_PINK)
    return sc


def game_icon_32():
    sc = Scene(32)
    disc = Circle(16, 15.5, 14)
    sc.fill(Circle(16, 16.5, 14), MEADOW_RIM)
    sc.fill(disc, Linear(0, 2, 0, 19, (0, SKY_TOP), (1, SKY_LOW)))
    sc.fill(Path(('M', 0, 19), ('Q', 6, 14, 14, 17), ('Q', 22, 20, 32, 15.5),
                 ('L', 32, 32), ('L', 0, 32)), HILL_FAR, clip=disc)
    sc.fill(Path(('M', 0, 22), ('Q', 16, 19, 32, 22), ('L', 32, 32), ('L', 0, 32)),
            MEADOW_TOP, clip=disc)
    for x in (12, 18):
        sc.fill(RoundRect(x, 23, x + 2, 27, 0.8), FACE_DARK)
    wool = [Ellipse(16, 16, 7.5, 6)]
    for x, y in ((9.5, 14), (11.5, 10), (16, 8.5), (20.5, 10), (22.5, 14),
                 (21.5, 19.5), (16, 21.8), (10.5, 19.5)):
        wool.append(Circle(x, y, 3.4))
    sc.outlined(wool, Linear(0, 8, 0, 24, (0, WOOL), (0.55, WOOL), (1, WOOL_LOW)), WOOL_LINE, 0.9)
    for side in (-1, 1):
        sc.fill(Ellipse(16 + side * 6.4, 15.6, 2.7, 1.4, side * 20), FACE_DARK)
    sc.fill(Ellipse(16, 18.2, 4.2, 5), FACE_LOW)
    sc.outlined([Circle(13.6, 12.8, 1.8), Circle(16, 12.2, 2.1), Circle(18.4, 12.8, 1.8)], WOOL,
                WOOL_LINE, 0.7)
    for x in (13, 17):
        sc.fill(RoundRect(x, 16, x + 2, 18, 0.5), EYE_WHITE)
    for x in (14, 18):   # both look a little to the right, as on the large icon
        sc.fill(RoundRect(x, 17, x + 1, 18), PUPIL)
    sc.fill(RoundRect(15, 20, 17, 21, 0.3), EAR_PINK)
    return sc


def game_icon_16():
    # laid out on whole pixels; the sheep is centred on x = 8.5 so that its
    # five-pixel face has a middle column between the eyes
    sc = Scene(16)
    disc = Circle(8, 7.5, 7.5)
    sc.fill(Circle(8, 8.5, 7.5), MEADOW_RIM)
    sc.fill(disc, SKY_TOP)
    sc.fill(RoundRect(0, 11, 16, 16), MEADOW_TOP, clip=disc)
    for x in (6, 10):
        sc.fill(RoundRect(x, 12, x + 1, 14), FACE_DARK)
    wool = [Ellipse(8.5, 8.5, 4.5, 3.5), Circle(4.5, 7.5, 2.2), Circle(8.5, 4.8, 2.4),
            Circle(12.5, 7.5, 2.2), Circle(5, 10.5, 2.2), Circle(12, 10.5, 2.2)]
    sc.outlined(wool, WOOL, WOOL_LINE, 0.7)
    for x, y in ((5, 7), (4, 8), (11, 7), (12, 8)):   # drooping ears
        sc.fill(RoundRect(x, y, x + 1, y + 1), FACE_DARK)
    sc.fill(RoundRect(6, 6, 11, 12, 1.5), FACE_LOW)
    sc.fill(RoundRect(7, 5, 10, 7, 0.8), WOOL)
    sc.fill(RoundRect(7, 8, 8, 9), EYE_WHITE)
    sc.fill(RoundRect(9, 8, 10, 9), EYE_WHITE)
    return sc


# ---------------------------------------------------------------------------
# The reader: an open book in the reader's pink and orange, with a small
# morning picture on the left page and lines of text on the right.

def little_picture(sc, x0, y0, x1, y1, frame, detail):
    """The reader's picture in a small orange frame: sky, sun and hills."""
    sc.fill(RoundRect(x0, y0, x1, y1, frame * 0.8), FRAME_ORANGE)
    ix0, iy0, ix1, iy1 = x0 + frame, y0 + frame, x1 - frame, y1 - frame
    inner = RoundRect(ix0, iy0, ix1, iy1)
    w, h = ix1 - ix0, iy1 - iy0
    sc.fill(inner, Linear(0, iy0, 0, iy1, (0, MORNING_SKY), (0.75, MORNING_LOW)))
    sc.fill(Circle(ix0 + w * 0.68, iy0 + h * 0.52, h * 0.2), SUN, clip=inner)
    sc.fill(Path(('M', ix0, iy0 + h * 0.62), ('Q', ix0 + w * 0.3, iy0 + h * 0.38, ix0 + w * 0.55,
                                               iy0 + h * 0.6),
                 ('Q', ix0 + w * 0.8, iy0 + h * 0.5, ix1, iy0 + h * 0.58),
                 ('L', ix1, iy1), ('L', ix0, iy1)), HILL_MAUVE, clip=inner)
    sc.fill(Path(('M', ix0, iy0 + h * 0.82), ('Q', ix0 + w * 0.5, iy0 + h * 0.58, ix1,
                                               iy0 + h * 0.8),
                 ('L', ix1, iy1), ('L', ix0, iy1)), HILL_GREEN, clip=inner)
    if detail:
        # a tiny sheep on the near hill
        sx, sy = ix0 + w * 0.3, iy0 + h * 0.72
        u = h / 40.0
        sc.fill(Line([(sx - 2 * u, sy + 2 * u), (sx - 2 * u, sy + 5 * u)], 0.9 * u), FACE_DARK)
        sc.fill(Line([(sx + 2 * u, sy + 2 * u), (sx + 2 * u, sy + 5 * u)], 0.9 * u), FACE_DARK)
        sc.fill(Ellipse(sx, sy, 5 * u, 3.6 * u), WOOL)
        sc.fill(Ellipse(sx - 5 * u, sy - 1 * u, 2 * u, 2.4 * u), FACE_LOW)


def reader_icon(n):
    if n <= 16:
        return reader_icon_16()
    if n <= 32:
        return reader_icon_32()
    sc = Scene(256)
    edge = max(2.0, 256.0 / n)   # page outlines at least a pixel wide
    sc.note('the cover, seen below and beside the pages')
    sc.fill(Path(('M', 128, 100), ('Q', 72, 84, 14, 92), ('L', 14, 206), ('Q', 72, 200, 128, 216),
                 ('Q', 184, 200, 242, 206), ('L', 242, 92), ('Q', 184, 84, 128, 100)),
            FRAME_DARK, grow=2)
    sc.fill(Path(('M', 128, 96), ('Q', 72, 80, 14, 88), ('L', 14, 200), ('Q', 72, 194, 128, 210),
                 ('Q', 184, 194, 242, 200), ('L', 242, 88), ('Q', 184, 80, 128, 96)),
            FRAME_ORANGE)
    sc.note('the pages underneath, then the open pages')
    for side in (-1, 1):
        def page(dy, inset, side=side):
            ox = 128 + side * (100 - inset)
            return Path(('M', 128, 78 + dy), ('Q', 128 + side * 50, 54 + dy, ox, 60 + dy),
                        ('L', ox, 186 + dy), ('Q', 128 + side * 50, 180 + dy, 128, 196 + dy))
        sc.fill(page(6, -2), PAGE_LINE, grow=edge)
        sc.fill(page(6, -2), READER_PINK)
        sc.fill(page(0, 0), PAGE_LINE, grow=edge)
        sc.fill(page(0, 0), Linear(128 + side * 100, 0, 128, 0, (0, PAGE_PINK), (0.8, PAGE_PINK),
                                   (1, PAGE_SHADE)))
    sc.fill(Line([(128, 79), (128, 195)], 1.5), PAGE_LINE)
    sc.note('the left page: a picture and two lines')
    little_picture(sc, 44, 80, 112, 136, 5, n >= 64)
    sc.fill(Line([(46, 156), (110, 156)], 4), TEXT_SOFT)
    sc.fill(Line([(46, 172), (94, 172)], 4), TEXT_SOFT)
    sc.note('the right page: lines of text, the line being read darker')
    if n >= 64:
        rows = ((82, 212), (98, 212), (114, 212), (130, 212), (146, 212), (162, 212), (178, 184))
        r, dark = 4, 3
    else:
        # fewer, thicker lines where seven would run together
        rows = ((84, 212), (108, 212), (132, 212), (156, 212), (180, 184))
        r, dark = 5.5, 2
    for i, (y, x1) in enumerate(rows):
        sc.fill(Line([(144, y), (x1, y)], r), TEXT_DARK if i == dark else TEXT_SOFT)
    return sc


def reader_icon_32():
    sc = Scene(32)
    sc.fill(Path(('M', 16, 13), ('Q', 9, 11, 1, 12), ('L', 1, 27), ('Q', 9, 26, 16, 28),
                 ('Q', 23, 26, 31, 27), ('L', 31, 12), ('Q', 23, 11, 16, 13)), FRAME_ORANGE)
    sc.fill(Path(('M', 1, 26), ('Q', 9, 25, 16, 27), ('Q', 23, 25, 31, 26), ('L', 31, 27),
                 ('Q', 23, 26, 16, 28), ('Q', 9, 26, 1, 27)), FRAME_DARK)
    for side in (-1, 1):
        ox = 16 + side * 13
        pg = Path(('M', 16, 9), ('Q', 16 + side * 6, 6, ox, 6), ('L', ox, 24),
                  ('Q', 16 + side * 6, 23, 16, 25))
        sc.fill(pg, PAGE_LINE, grow=1)
        sc.fill(pg, Linear(ox, 0, 16, 0, (0, PAGE_PINK), (0.75, PAGE_PINK), (1, PAGE_SHADE)))
    sc.fill(RoundRect(15.5, 9, 16.5, 25), PAGE_LINE, opacity=0.6)
    little_picture(sc, 5, 10, 14, 17, 1, False)
    sc.fill(Line([(5.5, 20.5), (13.5, 20.5)], 0.5), TEXT_SOFT)
    for i, y in enumerate((10.5, 13.5, 16.5, 19.5)):
        sc.fill(Line([(18.5, y), (26.5 if i < 3 else 23.5, y)], 0.5),
                TEXT_DARK if i == 1 else TEXT_SOFT)
    return sc


def reader_icon_16():
    # laid out on whole pixels: the orange cover shows at the sides and
    # below, the crease is the two middle columns
    sc = Scene(16)
    sc.fill(RoundRect(0, 4, 16, 14), FRAME_ORANGE)
    sc.fill(RoundRect(0, 13, 16, 14), FRAME_DARK)
    sc.fill(RoundRect(1, 2, 7, 13), PAGE_LINE)
    sc.fill(RoundRect(9, 2, 15, 13), PAGE_LINE)
    sc.fill(RoundRect(7, 3, 9, 13), PAGE_LINE)
    sc.fill(RoundRect(2, 3, 7, 12), PAGE_PINK)
    sc.fill(RoundRect(9, 3, 14, 12), PAGE_PINK)
    sc.fill(RoundRect(7, 4, 9, 12), PAGE_SHADE)
    sc.fill(RoundRect(2, 4, 6, 6), MORNING_SKY)
    sc.fill(RoundRect(2, 6, 6, 8), HILL_GREEN)
    sc.fill(RoundRect(2, 9, 6, 10), TEXT_SOFT)
    for y in (4, 6, 8, 10):
        sc.fill(RoundRect(10, y, 14 if y < 10 else 12, y + 1), TEXT_DARK if y == 6 else TEXT_SOFT)
    return sc


# ---------------------------------------------------------------------------
# A book file: a pink sheet with a folded corner, the reader's framed
# picture and a few lines of text.

def book_icon(n):
    if n <= 16:
        return book_icon_16()
    if n <= 32:
        return book_icon_32()
    sc = Scene(256)
    edge = max(3.0, 256.0 / n)   # the sheet's outline at least a pixel wide
    sc.note('the sheet and its folded corner')
    sheet = Path(('M', 58, 16), ('L', 166, 16), ('L', 210, 60), ('L', 210, 230),
                 ('Q', 210, 240, 200, 240), ('L', 58, 240), ('Q', 48, 240, 48, 230),
                 ('L', 48, 26), ('Q', 48, 16, 58, 16))
    sc.fill(sheet, PAGE_LINE, grow=edge)
    sc.fill(sheet, Linear(0, 16, 0, 240, (0, PAGE_PINK), (1, (255, 232, 234))))
    fold = Path(('M', 166, 16), ('L', 166, 52), ('Q', 166, 60, 174, 60), ('L', 210, 60))
    sc.fill(fold, PAGE_LINE, grow=edge)
    sc.fill(fold, READER_PINK)
    sc.note('the reader\'s picture and lines of text')
    little_picture(sc, 72, 72, 184, 148, 7, n >= 64)
    for i, (y, x1) in enumerate(((172, 184), (192, 184), (212, 150))):
        sc.fill(Line([(74, y), (x1, y)], 5), TEXT_DARK if i == 0 else TEXT_SOFT)
    return sc


def book_icon_32():
    sc = Scene(32)
    sheet = Path(('M', 6, 2), ('L', 20, 2), ('L', 26, 8), ('L', 26, 30), ('L', 6, 30))
    sc.fill(sheet, PAGE_LINE, grow=1)
    sc.fill(sheet, PAGE_PINK)
    fold = Path(('M', 20.5, 2), ('L', 20.5, 7.5), ('L', 26, 7.5))
    sc.fill(fold, PAGE_LINE, grow=0.5)
    sc.fill(fold, READER_PINK)
    little_picture(sc, 9, 9, 23, 18, 1, False)
    for i, (y, x1) in enumerate(((21.5, 22.5), (24.5, 22.5), (27.5, 18.5))):
        sc.fill(Line([(9.5, y), (x1, y)], 0.5), TEXT_DARK if i == 0 else TEXT_SOFT)
    return sc


def book_icon_16():
    sc = Scene(16)
    sheet = Path(('M', 3, 1), ('L', 10, 1), ('L', 13, 4), ('L', 13, 15), ('L', 3, 15))
    sc.fill(sheet, PAGE_LINE, grow=1)
    sc.fill(sheet, PAGE_PINK)
    fold = Path(('M', 10.5, 1), ('L', 10.5, 3.5), ('L', 13, 3.5))
    sc.fill(fold, PAGE_LINE, grow=0.5)
    sc.fill(fold, READER_PINK)
    sc.fill(RoundRect(4, 4, 12, 9), FRAME_ORANGE)
    sc.fill(RoundRect(5, 5, 11, 7), MORNING_SKY)
    sc.fill(RoundRect(5, 7, 11, 8), HILL_GREEN)
    sc.fill(RoundRect(4, 10, 12, 11), TEXT_DARK)
    sc.fill(RoundRect(4, 12, 10, 13), TEXT_SOFT)
    return sc


# ---------------------------------------------------------------------------

ICONS = ((os.path.join('apps', APP_GAME), game_icon, 'Woolmere: a woolly sheep on a meadow'),
         (os.path.join('apps', APP_READER), reader_icon,
          'Velin-Reader: an open book with a picture and lines of text'),
         (os.path.join('mimetypes', MIME_BOOK), book_icon,
          'Velin-Reader book file: a sheet with the reader\'s picture'))


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, '..', '..', 'assets', 'icons')
    out = os.path.normpath(out)
    for name, draw, title in ICONS:
        for n in SIZES:
            path = os.path.join(out, 'hicolor', '%dx%d' % (n, n), name + '.png')
            os.makedirs(os.path.dirname(path), exist_ok=True)
            write_png_rgba(path, render(draw(n), n))
        path = os.path.join(out, 'hicolor', 'scalable', name + '.svg')
        os.makedirs(os.path.dirname(path), exist_ok=True)
        with open(path, 'w', newline='\n') as f:
            f.write(to_svg(draw(256), title))


if __name__ == '__main__':
    main()
