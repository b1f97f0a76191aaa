"""Tiny raster canvas with XPM and PNG writers (python3 standard library only).

Colours are (r, g, b) tuples of 0..255 integers.  The writers are
deterministic: the same canvas always produces byte-identical files.
"""

import struct
import zlib

WHITE = (255, 255, 255)
BLACK = (0, 0, 0)


def hex_colour(text):
    """'#RRGGBB' -> (r, g, b)."""
    text = text.lstrip('#')
    return (int(text[0:2], 16), int(text[2:4], 16), int(text[4:6], 16))


class Canvas:
    def __init__(self, width, height, fill=WHITE):
        self.width = width
        self.height = height
        self.px = [[fill] * width for _ in range(height)]

    def inside(self, x, y):
        return 0 <= x < self.width and 0 <= y < self.height

    def get(self, x, y):
        return self.px[y][x]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.px[y][x] = colour

    def fill_rect(self, x0, y0, w, h, colour):
        for y in range(max(0, y0), min(self.height, y0 + h)):
            row = self.px[y]
            for x in range(max(0, x0), min(self.width, x0 + w)):
                row[x] = colour

    def blit(self, other, dx, dy, transparent=None):
        """Copy another canvas onto this one; pixels equal to `transparent`
        are skipped."""
        for y in range(other.height):
            for x in range(other.width):
                c = other.px[y][x]
                if c != transparent:
                    self.set(dx + x, dy + y, c)

    def mirrored(self):
        out = Canvas(self.width, self.height)
        out.px = [list(reversed(row)) for row in self.px]
        return out

    def colours(self):
        seen = {}
        for row in self.px:
            for c in row:
                seen[c] = seen.get(c, 0) + 1
        return seen


class Rng:
    """Small linear congruential generator so the pictures never depend on
    the Python version's random module."""

    def __init__(self, seed):
        self.state = seed & 0xffffffff

    def next(self):
        self.state = (self.state * 1664525 + 1013904223) & 0xffffffff
        return self.state

    def uniform(self):
        return self.next() / 4294967296.0

    def randint(self, lo, hi):
        return lo + int(self.uniform() * (hi - lo + 1))


# Characters used as XPM pixel codes.  Quote, backslash, space, '/' and '*'
# are left out so no pixel row can be mistaken for a string end or a comment.
_XPM_CODES = ('.#+@$%&=-;:>,<!~^'
              'abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789')


def write_xpm(path, name, canvas):
    """Write an XPM3 image with one character per pixel (two if more than
    93 colours are needed).  Colours are ordered by first appearance so the
    output is stable."""
    order = []
    seen = set()
    for row in canvas.px:
        for c in row:
            if c not in seen:
                seen.add(c)
                order.append(c)
    ncodes = len(_XPM_CODES)
    cpp = 1 if len(order) <= ncodes else 2
    codes = {}
    for i, c in enumerate(order):
        if cpp == 1:
            codes[c] = _XPM_CODES[i]
        else:
            codes[c] = _XPM_CODES[i // ncodes] + _XPM_CODES[i % ncodes]
    lines = ['/* XPM */',
             'static const char *%s[] = {' % name,
             '/* columns rows colors chars-per-pixel */',
             '"%d %d %d %d",' % (canvas.width, canvas.height, len(order), cpp)]
    for c in order:
        lines.append('"%s c #%02X%02X%02X",' % (codes[c], c[0], c[1], c[2]))
    lines.append('/* pixels */')
    for y, row in enumerate(canvas.px):
        text = ''.join(codes[c] for c in row)
        end = ',' if y < canvas.height - 1 else ''
        lines.append('"%s"%s' % (text, end))
    lines.append('};')
    with open(path, 'w', newline='\n') as f:
        f.write('\n'.join(lines) + '\n')


def _write_png(path, canvas, colour_type):
    """Write the canvas as an 8-bit PNG of `colour_type` (2 RGB, 6 RGBA), no
    interlace, every row unfiltered; each pixel tuple gives the channels."""
    raw = bytearray()
    for row in canvas.px:
        raw.append(0)  # filter type: none
        for pixel in row:
            raw += bytes(pixel)

    def chunk(tag, data):
        body = tag + data
        return (struct.pack('>I', len(data)) + body +
                struct.pack('>I', zlib.crc32(body) & 0xffffffff))

    header = struct.pack('>IIBBBBB', canvas.width, canvas.height, 8, colour_type, 0, 0, 0)
    png = (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', header) +
           chunk(b'IDAT', zlib.compress(bytes(raw), 9)) + chunk(b'IEND', b''))
    with open(path, 'wb') as f:
        f.write(png)


def write_png(path, canvas):
    """Write an 8-bit RGB PNG (colour type 2, no interlace)."""
    _write_png(path, canvas, 2)


def read_xpm(path):
    """Read back an XPM written by write_xpm (used by the checking script)."""
    with open(path) as f:
        strings = []
        for line in f:
            line = line.strip()
            if line.startswith('"'):
                strings.append(line[1:line.rindex('"')])
    w, h, n, cpp = (int(v) for v in strings[0].split())
    table = {}
    for entry in strings[1:1 + n]:
        code = entry[:cpp]
        fields = entry[cpp:].split()
        table[code] = hex_colour(fields[fields.index("c") + 1])
    canvas = Canvas(w, h)
    for y in range(h):
        row = strings[1 + n + y]
        canvas.px[y] = [table[row[i * cpp:(i + 1) * cpp]] for i in range(w)]
    return canvas


def write_png_rgba(path, canvas):
    """Write an 8-bit RGBA PNG (colour type 6, no interlace).  The canvas
    holds (r, g, b, a) tuples, with a = 0 fully transparent; the colour is
    not premultiplied."""
    _write_png(path, canvas, 6)
