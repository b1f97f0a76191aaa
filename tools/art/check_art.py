#!/usr/bin/env python3
"""Check the game's XPM pictures: sizes, masks holding only black and
white, sprites exactly white wherever their mask is black, and the mask of
the right-facing sheep being the mirror image of the left-facing one.

    python3 tools/art/check_art.py [preview.ppm]

With an argument it also writes a preview: every sprite composed through
its mask over each of the four backgrounds, the way the game draws them.
Exits with status 1 on the first broken rule.
"""

import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, HERE)

from raster import Canvas, WHITE, BLACK, read_xpm  # noqa: E402
from make_game_art import PROMPT_BOX, masked_paste  # noqa: E402

ASSETS = os.path.normpath(os.path.join(HERE, '..', '..', 'assets', 'game'))

SIZES = {'Pic1': (200, 150), 'Pic2': (200, 150), 'Pic3': (200, 150), 'Pic4': (200, 150),
         'PZeb': (200, 40), 'Pgamen': (425, 170)}
PAIRS = [('Ph%d' % i, 'Phb1') for i in range(1, 6)] + \
        [('Ph%d%d' % (i, i), 'Phb2') for i in range(1, 6)] + \
        [('Phh', 'Phhb'), ('Pminh1', 'Pminh1b'), ('Pminh2', 'Pminh2b')]


def fail(msg):
    print('FAIL:', msg)
    sys.exit(1)


def load(name):
    return read_xpm(os.path.join(ASSETS, name + '.xpm'))


def main():
    pics = {}
    for name, (w, h) in SIZES.items():
        pics[name] = load(name)
        if (pics[name].width, pics[name].height) != (w, h):
            fail('%s is not %dx%d' % (name, w, h))
    for sprite_name, mask_name in PAIRS:
        sprite, mask = load(sprite_name), load(mask_name)
        size = 20 if sprite_name.startswith('Pminh') else 40
        for pic, n in ((sprite, sprite_name), (mask, mask_name)):
            if (pic.width, pic.height) != (size, size):
                fail('%s is not %dx%d' % (n, size, size))
        if set(mask.colours()) - {WHITE, BLACK}:
            fail('%s holds colours other than black and white' % mask_name)
        for y in range(size):
            for x in range(size):
                if mask.get(x, y) == BLACK and sprite.get(x, y) != WHITE:
                    fail('%s is not white at (%d,%d) outside its mask' % (sprite_name, x, y))
        pics[sprite_name], pics[mask_name] = sprite, mask
    # Areas the game draws on itself must stay plain: the strip of the banner
    # where the small sheep walks, and the title's band under the prompt.
    for name, (x0, y0, x1, y1), colour in (('PZeb', (0, 0, 61, 40), (0xFF, 0xD5, 0xD5)),
                                           ('Pgamen', (PROMPT_BOX[0], PROMPT_BOX[1], PROMPT_BOX[2] + 1, PROMPT_BOX[3] + 1),
                                            (0x3F, 0x3F, 0x3F))):
        if any(pics[name].get(x, y) != colour for y in range(y0, y1) for x in range(x0, x1)):
            fail('%s is not plain in %r' % (name, (x0, y0, x1, y1)))
    if pics['Phb2'].px != pics['Phb1'].mirrored().px:
        fail('Phb2 is not the mirror image of Phb1')
    print('all pictures pass')

    if len(sys.argv) > 1:
        sheet = Canvas(4 * 200, 150, WHITE)
        for i, bg in enumerate(('Pic1', 'Pic2', 'Pic3', 'Pic4')):
            field = Canvas(200, 150)
            field.px = [row[:] for row in pics[bg].px]
            for k, (s, m) in enumerate(PAIRS):
                size = pics[s].width
                x = 4 + (k % 5) * 39
                y = 4 + (k // 5) * 44
                masked_paste(field, pics[s], pics[m], x, y)
            sheet.blit(field, i * 200, 0)
        with open(sys.argv[1], 'wb') as f:
            f.write(b'P6 %d %d 255\n' % (sheet.width, sheet.height))
            f.write(bytes(v for row in sheet.px for c in row for v in c))


if __name__ == '__main__':
    main()
