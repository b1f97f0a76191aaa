#!/usr/bin/env python3
"""Draw every picture of the game (backgrounds, sheep sprites and their
masks, the banner and the title screen) and write them as XPM files to
assets/game/.

    python3 tools/art/make_game_art.py [output-dir]

Deterministic: running it again produces identical files.

Sprite convention used throughout: a sprite shows its figure on pure white
and its mask is pure white where the figure is and pure black elsewhere.
The game draws a sprite by OR-ing the mask into the destination and then
AND-ing the sprite, so every sprite pixel outside the figure must be exactly
white, while white pixels inside the figure are drawn opaque.
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from raster import Canvas, Rng, WHITE, BLACK, hex_colour, write_xpm  # noqa: E402
from pixfont import CAP_HEIGHT, draw_text, text_width  # noqa: E402

# Named colours of the game's pictures.
GRASS = hex_colour('#55FF00')
HILLS = hex_colour('#00D500')
SKY = hex_colour('#80FFD5')
FIELD_BLUE = hex_colour('#80AAD5')
PALE_YELLOW = hex_colour('#FFFFAA')
FLEECE_ORANGE = hex_colour('#FFD580')
BANNER_PINK = hex_colour('#FFD5D5')
TITLE_GREY = hex_colour('#3F3F3F')

# Wool and sheep colours.
WOOL_OUTLINE = (84, 84, 84)
WOOL_INNER_LINE = (100, 100, 100)
WOOL_SHADE = (226, 226, 226)
WOOL_CURL = (196, 196, 196)
LEG_NEAR = (92, 84, 78)
LEG_FAR = (64, 58, 54)
LEG_OUTLINE = (24, 22, 20)
HOOF = (0, 0, 0)
EYE_WHITE = (255, 255, 255)
EYE_BLACK = (16, 16, 16)


# ---------------------------------------------------------------------------
# Geometry helpers.  Shapes are tested at pixel centres (x + 0.5, y + 0.5).

def ellipse(cx, cy, rx, ry):
    return lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1.0


def circle(cx, cy, r):
    return ellipse(cx, cy, r, r)


def capsule(points, r):
    """A thick poly-line through `points` with half-width r."""
    segs = list(zip(points, points[1:]))

    def test(x, y):
        for (ax, ay), (bx, by) in segs:
            dx, dy = bx - ax, by - ay
            t = ((x - ax) * dx + (y - ay) * dy) / float(dx * dx + dy * dy)
            t = max(0.0, min(1.0, t))
            if (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2 <= r * r:
                return True
        return False
    return test


def union(*shapes):
    return lambda x, y: any(s(x, y) for s in shapes)


def fleece(cx, cy, rx, ry, bumps, bump_r, phase=0.0):
    """A cloud-like woolly blob: an ellipse with round bumps along its rim."""
    parts = [ellipse(cx, cy, rx, ry)]
    for k in range(bumps):
        t = 2 * math.pi * k / bumps + phase
        parts.append(circle(cx + rx * math.cos(t), cy + ry * math.sin(t), bump_r))
    return union(*parts)


def closest_segment_t(points, x, y):
    """Fraction 0..1 along a poly-line of the point nearest to (x, y)."""
    best = (1e9, 0.0)
    lengths = [math.hypot(bx - ax, by - ay) for (ax, ay), (bx, by) in zip(points, points[1:])]
    total = sum(lengths)
    done = 0.0
    for ((ax, ay), (bx, by)), ln in zip(zip(points, points[1:]), lengths):
        dx, dy = bx - ax, by - ay
        t = max(0.0, min(1.0, ((x - ax) * dx + (y - ay) * dy) / (dx * dx + dy * dy)))
        d = (x - ax - t * dx) ** 2 + (y - ay - t * dy) ** 2
        if d < best[0]:
            best = (d, (done + t * ln) / total)
        done += ln
    return best[1]


# ---------------------------------------------------------------------------
# Layered sprite builder.  Each layer has a depth; a pixel takes the deepest
# (front-most) layer covering it.  A pixel is drawn as an outline when one of
# its four neighbours is outside the figure or belongs to a layer behind it,
# which separates overlapping parts (head over body, body over legs).

class Layer:
    def __init__(self, name, shape, fill, outline, depth, texture=None):
        self.name = name
        self.shape = shape
        self.fill = fill          # colour, or function (x, y) -> colour
        self.outline = outline
        self.depth = depth
        self.texture = texture    # optional function (x, y, colour) -> colour


def render_layers(size_w, size_h, layers, inner_outline=None):
    """Return (sprite, mask, labels).  `inner_outline` optionally gives a
    softer colour for edges between two parts (as opposed to the figure's
    outer silhouette)."""
    ordered = sorted(layers, key=lambda l: l.depth)
    labels = [[None] * size_w for _ in range(size_h)]
    for y in range(size_h):
        for x in range(size_w):
            for layer in ordered:
                if layer.shape(x + 0.5, y + 0.5):
                    labels[y][x] = layer
    sprite = Canvas(size_w, size_h, WHITE)
    mask = Canvas(size_w, size_h, BLACK)
    for y in range(size_h):
        for x in range(size_w):
            layer = labels[y][x]
            if layer is None:
                continue
            mask.set(x, y, WHITE)
            outer = False
            inner = False
            for nx, ny in ((x - 1, y), (x + 1, y), (x, y - 1), (x, y + 1)):
                other = labels[ny][nx] if 0 <= nx < size_w and 0 <= ny < size_h else None
                if other is None:
                    outer = True
                elif other.depth < layer.depth:
                    inner = True
            if outer:
                colour = layer.outline
            elif inner:
                colour = (inner_outline or {}).get(layer.name, layer.outline)
            else:
                colour = layer.fill(x, y) if callable(layer.fill) else layer.fill
                if layer.texture:
                    colour = layer.texture(x, y, colour)
            sprite.set(x, y, colour)
    return sprite, mask, labels


def rim_shade(shape, colour):
    """Shade the wool on the lower-right rim of a round shape, away from the
    light that comes from the top left."""
    def tex(x, y, c):
        px, py = x + 0.5, y + 0.5
        if not shape(px + 2, py + 2) or not shape(px, py + 3):
            return colour
        return c
    return tex


def shade(colour, f):
    return tuple(max(0, min(255, int(round(c * f)))) for c in colour)


def paint_figure(sprite, mask, x, y, rows, palette):
    """Paint a hand-drawn character grid at (x, y): each character other than
    '.' becomes its palette colour in the sprite and part of the figure in
    the mask."""
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch != '.':
                sprite.set(x + dx, y + dy, palette[ch])
                mask.set(x + dx, y + dy, WHITE)


def stamp(sprite, labels, layer_name, x, y, rows, colour):
    """Put a small hand-drawn mark ('#' pixels) on a sprite, but only on
    interior pixels of the named layer, so marks never touch an outline."""
    for dy, row in enumerate(rows):
        for dx, ch in enumerate(row):
            if ch != '#':
                continue
            px, py = x + dx, y + dy
            lab = labels[py][px]
            if lab is None or lab.name != layer_name:
                continue
            if sprite.get(px, py) in (lab.outline, WOOL_INNER_LINE):
                continue
            sprite.set(px, py, colour)


# ---------------------------------------------------------------------------
# The woolly sheep, 40 x 40, running to the left.  The fluffy body, tail and
# legs are built from shapes; the head is drawn by hand.  All five variants
# share the same silhouette: the heads below differ only inside one common
# head outline (including the ear), so a single mask serves all of them.

BODY_C = (23.6, 17.4)
BODY_R = (11.0, 7.2)

BIG_LEGS = {
    'far_front': [(15.6, 23.5), (14.0, 28.6), (10.4, 33.4)],
    'near_front': [(13.0, 23.0), (9.6, 27.4), (5.0, 30.2)],
    'far_hind': [(29.0, 24.0), (30.2, 29.2), (33.2, 33.4)],
    'near_hind': [(32.0, 23.5), (34.6, 28.0), (37.6, 30.6)],
}

# Wool curls drawn on the body: (x, y) of each small arc.
CURL = ['#..#', '.##.']
CURLS = [(16, 10), (23, 9), (29, 11), (19, 15), (26, 14), (32, 16),
         (16, 20), (22, 19), (28, 20)]


def leg_fill(points, base):
    """Legs end in a black hoof over their last stretch."""
    def fill(x, y):
        if closest_segment_t(points, x + 0.5, y + 0.5) > 0.86:
            return HOOF
        return base
    return fill


def woolly_body_layers():
    bx, by = BODY_C
    layers = []
    for name, pts in BIG_LEGS.items():
        far = name.startswith('far')
        layers.append(Layer(name, capsule(pts, 1.35),
                            leg_fill(pts, LEG_FAR if far else LEG_NEAR),
                            LEG_OUTLINE, 1 if far else 3))
    body = fleece(bx, by, BODY_R[0], BODY_R[1], 14, 3.1, phase=0.2)
    layers.append(Layer('body', body, WHITE, WOOL_OUTLINE, 4,
                        rim_shade(body, WOOL_SHADE)))
    tail = fleece(36.6, 12.6, 1.2, 1.2, 5, 1.4)
    layers.append(Layer('tail', tail, WHITE, WOOL_OUTLINE, 5))
    return layers


# Hand-drawn heads, 15 x 16 pixels, placed with their top-left corner at
# HEAD_AT.  Letters: '.' not part of the head, 'o' wool outline, 'w' wool,
# 'c' wool curl, 'K' face and ear colour, 'k' dark edge of the face,
# 'E' white of the eye, 'p' pupil, 'n' dark detail (nostril, closed eye),
# 'r' pink (inside of the ear, nose, blush), 'm' open mouth, 'y' ear tag.
HEAD_AT = (2, 5)

HEADS = [
    # 1: black face seen from the side, muzzle forward and down.
    ((52, 48, 50), [
        "....oooo.......",
        "..oowwwwoo.....",
        ".owwcwwwwwo....",
        ".owwwwwcwwwo...",
        "okkkkkwwwwwo.kk",
        "kKKKKKkwwwkkkKk",
        "kKEEKKKkwwkKrk.",
        "kKpEKKKkwwwkk..",
        "kKKKKKKkwwwwo..",
        "kKKKKKKkwwwo...",
        "kKKKKKkwwcwo...",
        "knKKKkwwwwo....",
        "kKKKkwwwwo.....",
        ".kkkowwwwo.....",
        "..owwwwwo......",
        "...oooo........",
    ]),
    # 2: cream face turned to the viewer inside a hood of wool.
    ((244, 222, 186), [
        "....oooo.......",
        "..oowwwwoo.....",
        ".owwcwwwwwo....",
        ".owwwwwwcwwo...",
        "owwkkkkkkwwo.kk",
        "owkKKKKKKkwokrk",
        "okKKKKKKKKkkkk.",
        "okKEpKKEpKkwo..",
        "okKEpKKEpKkwo..",
        "okKKKKKKKKko...",
        "owkKKrrKKkwo...",
        "owkKKnnKKko....",
        "owwkKKKKko.....",
        ".owwkkkkwo.....",
        "..owwwwwo......",
        "...oooo........",
    ]),
    # 3: pink face raised, bleating with open mouth and a happy closed eye.
    ((246, 182, 170), [
        "....oooo.......",
        "..kkkwwwoo.....",
        ".kKKKkwcwwo....",
        ".kmKKKkwwwwo...",
        "kmmKKKKkwcwo.kk",
        "kmKKKnKKkwkkkKk",
        "kKKKnKnKkkkKrk.",
        "okKKKKKKKkwkk..",
        "owkKKrKKKkwwo..",
        "owwkkKKKkwwo...",
        "owcwwkkkwwwo...",
        "owwwwwwcwwo....",
        "owwwcwwwwo.....",
        ".owwwwwcwo.....",
        "..owwwwwo......",
        "...oooo........",
    ]),
    # 4: brown face lowered, muzzle pointing down, sleepy eye, ear tag.
    ((160, 108, 70), [
        "....oooo.......",
        "..oowwwwoo.....",
        ".owwwwcwwwo....",
        ".owcwwwwwwwo...",
        "owwwwwwcwwwo.kk",
        "owwkkkkkwwkkkKk",
        "owkKKKKKkwkKyk.",
        "okKnnKKKKkkyk..",
        "okKKKKKKKkwwo..",
        "okKKKKKKKkwo...",
        "okKKKKKKKkwo...",
        "owkKKKKKKko....",
        "owkKKKKKko.....",
        ".okKKKKKko.....",
        "..kKnKnKk......",
        "...kkkk........",
    ]),
    # 5: grey face in three-quarter view, wide eyes, blushing.
    ((150, 150, 164), [
        "....oooo.......",
        "..oowwwwoo.....",
        ".owwcwwwwwo....",
        ".owwwwwwcwwo...",
        "okkkkkkwwwwo.kk",
        "kKKKKKKkwwkkkrk",
        "kKEpKEpKkwkkkk.",
        "kKEpKEpKkwwwo..",
        "kKKKKKKKkwwwo..",
        "krKKKKrKkwwo...",
        "kKKnnKKkwcwo...",
        "okKKKKkwwwo....",
        "okkkkkwwwo.....",
        ".owwwwwwwo.....",
        "..owwwcwo......",
        "...oooo........",
    ]),
]


def head_palette(face):
    return {'o': WOOL_OUTLINE, 'w': WHITE, 'c': WOOL_CURL, 'K': face,
            'k': shade(face, 0.45) if sum(face) > 300 else (20, 18, 18),
            'E': (255, 255, 255), 'p': (16, 16, 16),
            'n': shade(face, 0.35) if sum(face) > 300 else (10, 10, 10),
            'r': (240, 150, 160), 'm': (170, 40, 50), 'y': (255, 214, 0)}


def head_silhouette(rows):
    return [''.join('.' if ch == '.' else '#' for ch in row) for row in rows]


def woolly_sheep(index):
    face, rows = HEADS[index]
    assert all(head_silhouette(r) == head_silhouette(HEADS[0][1]) for _, r in HEADS), \
        'the five heads must share one outline'
    layers = woolly_body_layers()
    sprite, mask, labels = render_layers(40, 40, layers,
                                         inner_outline={'body': WOOL_INNER_LINE})
    for cx, cy in CURLS:
        stamp(sprite, labels, 'body', cx, cy, CURL, WOOL_CURL)
    hx, hy = HEAD_AT
    paint_figure(sprite, mask, hx, hy, rows, head_palette(face))
    return sprite, mask


# ---------------------------------------------------------------------------
# The shorn sheep, 40 x 40, running to the left: orange skin, no wool.

SKIN = hex_colour('#FF9933')
SKIN_OUTLINE = (160, 80, 16)
SKIN_SHADE = (232, 122, 36)
SKIN_LIGHT = (255, 196, 130)


def skin_texture(cx, cy, rx, ry):
    def tex(x, y, colour):
        px, py = x + 0.5, y + 0.5
        v = (px - cx) / rx * 0.4 + (py - cy) / ry
        if v > 0.5:
            return SKIN_SHADE
        if v < -0.6 and (px - cx) / rx < 0.2:
            return SKIN_LIGHT
        return colour
    return tex


# Hand-drawn bald head of the shorn sheep, placed at SHORN_HEAD_AT.
# 'k' outline, 'K' skin, 'l' lit skin, 'd' shaded skin, 'E' eye white,
# 'p' pupil, 'r' blush, 'n' nostril, 'm' open mouth, 'B'/'b' a drop of sweat.
SHORN_HEAD_AT = (2, 5)
SHORN_HEAD = [
    "...............B..",
    "..............BbB.",
    "..............BbB.",
    "....kkkkk......B..",
    "..kkKlKKKk.kkk....",
    ".kKllKKKKKkKdk....",
    ".kKlEEKKKKKddk....",
    "kKKKEpKKKKkkk.....",
    "kKKKEEKKKKk.......",
    "kKKKKKKKrKk.......",
    "knKKKKKKKdk.......",
    "kKKKKKKKddk.......",
    ".kKmmKKddk........",
    "..kkkkkkk.........",
]


def shorn_sheep():
    layers = []
    for name, pts in BIG_LEGS.items():
        far = name.startswith('far')
        layers.append(Layer(name, capsule(pts, 1.35),
                            leg_fill(pts, LEG_FAR if far else LEG_NEAR),
                            LEG_OUTLINE, 1 if far else 3))
    # without its wool the body is slim: an ellipse and a neck to the head
    bx, by, rx, ry = 23.4, 18.8, 11.0, 6.0
    body = union(ellipse(bx, by, rx, ry), capsule([(11.5, 15.5), (16.0, 17.5)], 2.8))
    layers.append(Layer('body', body, SKIN, SKIN_OUTLINE, 4, skin_texture(bx, by, rx, ry)))
    layers.append(Layer('tail', capsule([(33.4, 15.6), (36.2, 13.6)], 1.1), SKIN,
                        SKIN_OUTLINE, 2))
    sprite, mask, labels = render_layers(40, 40, layers)
    pal = {'k': SKIN_OUTLINE, 'K': SKIN, 'l': SKIN_LIGHT, 'd': SKIN_SHADE,
           'E': EYE_WHITE, 'p': EYE_BLACK, 'r': (255, 110, 110), 'n': (120, 50, 20),
           'm': (150, 30, 30), 'B': (40, 110, 200), 'b': (170, 220, 255)}
    hx, hy = SHORN_HEAD_AT
    paint_figure(sprite, mask, hx, hy, SHORN_HEAD, pal)
    return sprite, mask


# ---------------------------------------------------------------------------
# The small walking sheep of the banner, 20 x 20, facing left, drawn by hand.
# 'o' wool outline, 'w' wool, 's' wool shade, 'k' face edge, 'K' face,
# 'E' eye, 'l' near leg, 'f' far leg, 'h' hoof.

SMALL_BODY = [
    "....................",
    "....................",
    "....................",
    "........oo.oo.oo....",
    "...kk..owwowwowwo...",
    "..kKKk.owwwwwwwwwoo.",
    ".kKKKKkowwwwwwwwwwwo",
    ".kEKKKkwwwwwwwwwwwwo",
    "kKKKKKkwwwwwwwwwwwo.",
    "kKKKKKkwwwwwwwwwwso.",
    ".kKKKkowwwwwwwwwsso.",
    "..kkkoowwwwwwwssso..",
    "......osswssswsso...",
    ".......oooooooooo...",
]

# Leg pixels below the body for the two steps of the walk: (x, y, kind).
SMALL_STEPS = [
    # step 1: legs spread, front legs reaching forward and back
    [(7, 14, 'l'), (6, 15, 'l'), (6, 16, 'l'), (5, 17, 'h'),
     (9, 14, 'f'), (9, 15, 'f'), (10, 16, 'f'), (10, 17, 'h'),
     (14, 14, 'l'), (14, 15, 'l'), (13, 16, 'l'), (13, 17, 'h'),
     (16, 14, 'f'), (16, 15, 'f'), (17, 16, 'f'), (17, 17, 'h')],
    # step 2: legs straight under the body, passing each other
    [(8, 14, 'l'), (8, 15, 'l'), (8, 16, 'l'), (8, 17, 'h'),
     (10, 14, 'f'), (10, 15, 'f'), (10, 16, 'f'), (10, 17, 'h'),
     (13, 14, 'f'), (13, 15, 'f'), (13, 16, 'f'), (13, 17, 'h'),
     (15, 14, 'l'), (15, 15, 'l'), (15, 16, 'l'), (15, 17, 'h')],
]


def small_sheep(step):
    pal = {'o': WOOL_OUTLINE, 'w': WHITE, 's': WOOL_SHADE, 'k': (20, 18, 18),
           'K': (52, 48, 50), 'E': EYE_WHITE, 'l': LEG_NEAR, 'f': LEG_FAR, 'h': HOOF}
    sprite = Canvas(20, 20, WHITE)
    mask = Canvas(20, 20, BLACK)
    for y, row in enumerate(SMALL_BODY):
        for x, ch in enumerate(row):
            if ch != '.':
                sprite.set(x, y, pal[ch])
                mask.set(x, y, WHITE)
    for x, y, kind in SMALL_STEPS[step]:
        sprite.set(x, y, pal[kind])
        mask.set(x, y, WHITE)
    return sprite, mask


# ---------------------------------------------------------------------------
# Backgrounds, 200 x 150.

def paint_shape(canvas, shape, colour, box=None):
    x0, y0, x1, y1 = box or (0, 0, canvas.width, canvas.height)
    for y in range(max(0, y0), min(canvas.height, y1)):
        for x in range(max(0, x0), min(canvas.width, x1)):
            if shape(x + 0.5, y + 0.5):
                canvas.set(x, y, colour)


def meadow():
    c = Canvas(200, 150, SKY)
    for x in range(200):
        # a line of rolling hills between the sky and the grass
        hill_top = 62 - 9 * math.sin(x / 23.0 + 0.6) - 5 * math.sin(x / 9.5 + 2.0)
        grass_top = 92 + 3 * math.sin(x / 31.0 + 1.0)
        for y in range(150):
            if y >= grass_top:
                c.set(x, y, GRASS)
            elif y >= hill_top:
                c.set(x, y, HILLS)
    cloud = (255, 255, 255)
    for cx, cy, s in ((38, 18, 1.0), (132, 28, 0.8), (176, 12, 0.6)):
        paint_shape(c, fleece(cx, cy, 12 * s, 4 * s, 7, 4.2 * s), cloud)
    rng = Rng(7)
    petals = [(255, 255, 255), (255, 240, 60), (255, 120, 200)]
    for i in range(14):
        x = rng.randint(4, 195)
        y = rng.randint(100, 145)
        col = petals[i % 3]
        for dx, dy in ((0, -1), (-1, 0), (1, 0), (0, 1)):
            c.set(x + dx, y + dy, col)
        c.set(x, y, (255, 200, 0) if col != (255, 240, 60) else (255, 140, 0))
    return c


def starry_night():
    c = Canvas(200, 150, BLACK)
    rng = Rng(2024)
    colours = [(255, 255, 255), (110, 150, 255), (255, 80, 80), (255, 170, 40)]
    dim = [(150, 150, 150), (60, 80, 170), (150, 40, 40), (160, 100, 20)]
    for i in range(170):  # single-pixel stars
        k = rng.randint(0, 3) if rng.uniform() < 0.55 else 0
        c.set(rng.randint(0, 199), rng.randint(0, 149), colours[k])
    for i in range(18):   # small clustered stars: a bright core with rays
        x, y = rng.randint(3, 196), rng.randint(3, 146)
        k = i % 4
        c.set(x, y, (255, 255, 255) if k else colours[0])
        for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
            c.set(x + dx, y + dy, colours[k])
        if i % 3 == 0:
            for dx, dy in ((2, 0), (-2, 0), (0, 2), (0, -2)):
                c.set(x + dx, y + dy, dim[k])
    for i in range(10):   # tight groups of two or three stars
        x, y = rng.randint(2, 197), rng.randint(2, 147)
        k = rng.randint(0, 3)
        c.set(x, y, colours[k])
        c.set(x + 2, y + 1, colours[(k + 1) % 4])
        if i % 2:
            c.set(x + 1, y + 3, colours[(k + 2) % 4])
    return c


def sky_text():
    c = Canvas(200, 150, FIELD_BLUE)
    draw_text(c, 4, 4, 'Sheep love blue skies', WHITE)
    return c


def fleece_grid():
    c = Canvas(200, 150, PALE_YELLOW)
    for row in range(4):
        for col in range(5):
            cx = 20 + col * 40
            cy = 19 + row * 37.5
            paint_shape(c, fleece(cx, cy, 9.5, 6.0, 8, 4.2, phase=0.25), FLEECE_ORANGE,
                        (int(cx) - 20, int(cy) - 16, int(cx) + 20, int(cy) + 16))
    return c


# ---------------------------------------------------------------------------
# Banner and title screen.

BANNER_TEXT = 'Click here for music'
# The game keeps the small walking sheep in a 20 x 20 patch at (10, 10) of
# the banner; the text ends as far from the right edge as the patch starts
# from the left edge, which frames the banner evenly.
SHEEP_PATCH_X = 10
BANNER_TEXT_X = 200 - SHEEP_PATCH_X - text_width(BANNER_TEXT)
BANNER_TEXT_Y = 16
assert BANNER_TEXT_X > SHEEP_PATCH_X + 20 + 8, 'the text must stay clear of the sheep'


def banner():
    c = Canvas(200, 40, BANNER_PINK)
    draw_text(c, BANNER_TEXT_X, BANNER_TEXT_Y, BANNER_TEXT, BLACK)
    return c


def masked_paste(dest, sprite, mask, dx, dy):
    """Compose a sprite onto a picture the way the game does (OR the mask,
    then AND the sprite)."""
    for y in range(sprite.height):
        for x in range(sprite.width):
            if not dest.inside(dx + x, dy + y):
                continue
            d = dest.get(dx + x, dy + y)
            m = mask.get(x, y)
            s = sprite.get(x, y)
            d = tuple(a | b for a, b in zip(d, m))
            d = tuple(a & b for a, b in zip(d, s))
            dest.set(dx + x, dy + y, d)


# The title picture is shown inside a 2-pixel sunken border at the top left
# of a 424 x 164 window, so only its columns 0..421 and rows 0..161 are ever
# seen; everything that matters is laid out on that visible part.
TITLE_BORDER = 2
VISIBLE_W = 424 - TITLE_BORDER
VISIBLE_H = 164 - TITLE_BORDER
TITLE_CX = VISIBLE_W // 2

# The game prints its blinking white prompt in a label at (125, 147), 177 x 15
# pixels, of the bordered picture widget.  PROMPT_BOX is that label in pixels
# of the picture (x0, y0, x1, y1, inclusive); the band must stay plain dark
# grey there.
PROMPT_LABEL = (125, 147, 177, 15)
PROMPT_BOX = (PROMPT_LABEL[0] - TITLE_BORDER, PROMPT_LABEL[1] - TITLE_BORDER,
              PROMPT_LABEL[0] - TITLE_BORDER + PROMPT_LABEL[2] - 1,
              PROMPT_LABEL[1] - TITLE_BORDER + PROMPT_LABEL[3] - 1)
BAND_TOP = 142
# blank pixels between the credit line and the visible right and bottom edges
CREDIT_MARGIN = 4


def title_screen(sheep_left, sheep_right):
    c = Canvas(425, 170, WHITE)
    # the fleece is symmetric about TITLE_CX, so it is centred on the visible part
    blob = fleece(TITLE_CX, 70, 138, 44, 22, 21, phase=0.1)
    paint_shape(c, blob, TITLE_GREY, (0, 0, 425, BAND_TOP))
    # the bottom band that carries the prompt
    c.fill_rect(0, BAND_TOP, 425, 170 - BAND_TOP, TITLE_GREY)
    title = 'Woolmere'
    scale = 6
    w = text_width(title, scale, bold=2)
    tx = TITLE_CX - w // 2
    ty = 70 - (7 * scale) // 2
    draw_text(c, tx + 3, ty + 3, title, (120, 120, 120), scale, bold=2)
    draw_text(c, tx, ty, title, WHITE, scale, bold=2)
    sub = 'sheep & songs'
    draw_text(c, TITLE_CX - text_width(sub) // 2, ty + 7 * scale + 12, sub, (215, 215, 215))
    # the credit sits at the bottom right of the visible band, clear of the
    # prompt; it has no descenders, so its ink is CAP_HEIGHT rows high
    credit = '(c) Woolmere team'
    cw = text_width(credit)
    cx = VISIBLE_W - CREDIT_MARGIN - cw
    cy = VISIBLE_H - CREDIT_MARGIN - CAP_HEIGHT
    assert cx > PROMPT_BOX[2] + 1 and cy >= BAND_TOP, 'the credit must lie on the band beside the prompt'
    draw_text(c, cx, cy, credit, (200, 200, 200))
    masked_paste(c, sheep_left[0], sheep_left[1], 8, 100)
    masked_paste(c, sheep_right[0], sheep_right[1], 377, 100)
    return c


# ---------------------------------------------------------------------------

def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(HERE, '..', '..', 'assets', 'game')
    out = os.path.normpath(out)
    os.makedirs(out, exist_ok=True)

    def save(name, canvas):
        write_xpm(os.path.join(out, name + '.xpm'), name, canvas)

    save('Pic1', meadow())
    save('Pic2', starry_night())
    save('Pic3', sky_text())
    save('Pic4', fleece_grid())

    sheep = [woolly_sheep(i) for i in range(len(HEADS))]
    for i, (sprite, mask) in enumerate(sheep, 1):
        assert mask.px == sheep[0][1].px, 'all woolly sheep must share one outline'
        save('Ph%d' % i, sprite)
        save('Ph%d%d' % (i, i), sprite.mirrored())
    save('Phb1', sheep[0][1])
    save('Phb2', sheep[0][1].mirrored())

    sprite, mask = shorn_sheep()
    save('Phh', sprite)
    save('Phhb', mask)

    for step in (1, 2):
        sprite, mask = small_sheep(step - 1)
        save('Pminh%d' % step, sprite)
        save('Pminh%db' % step, mask)

    save('PZeb', banner())
    # the two sheep on the title run towards the middle
    left = (sheep[0][0].mirrored(), sheep[0][1].mirrored())
    right = sheep[1]
    save('Pgamen', title_screen(left, right))


if __name__ == '__main__':
    main()
