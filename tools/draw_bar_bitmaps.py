"""Draws the three bitmaps of the bar's background.

  bar_handle.bmp         (15 x 28) the handle while the program is inactive:
                         a light-grey grip with five dark bars and a dark
                         edge at its top, left and bottom;
  bar_handle_active.bmp  (15 x 28) the same grip with a blue-violet line
                         under each bar, shown while the program is active;
  bar_tile.bmp           (12 x 28) the strip beside the handle: a vertical
                         shade from white to light grey between a dark top
                         line and a dark bottom line. Every column is the
                         same, so the tiles join into one continuous strip,
                         and the dark lines continue the handle's edges.

and their dark copies bar_handle_dark.bmp, bar_handle_active_dark.bmp and
bar_tile_dark.bmp (resources 4130, 4133 and 4131), the same shapes in the
dark look's shades: a dark-grey grip with light bars and edges, and a shade
from dark grey to darker.

These are the pictures at 100 % (96 DPI). At other display scalings the
program draws the same shapes as it runs, every length scaled
(src/bar/BarPictures.cpp), in the colours of src/framework/Look.cpp: a
change of a shape or colour here goes there too; the bar tests compare the
two at 96 DPI pixel for pixel.

Run from the repository root:  python3 tools/draw_bar_bitmaps.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imagegen import Canvas, save_bmp24  # noqa: E402

HEIGHT = 28
HANDLE_WIDTH = 15
TILE_WIDTH = 12

# The colours of each look: top, left and bottom edge (the tile's lines),
# the grip's face, the five bars, the line under each bar when active, and
# the shade's top and bottom rows.
LIGHT = dict(edge=(64, 64, 64), grip=(192, 192, 192), bar=(64, 64, 64),
             active=(138, 43, 226),  # blue-violet
             shade_top=(255, 255, 255), shade_bottom=(192, 192, 192))
DARK = dict(edge=(96, 96, 96), grip=(56, 56, 56), bar=(176, 176, 176),
            active=(160, 112, 240),
            shade_top=(72, 72, 72), shade_bottom=(40, 40, 40))

# Rows of the five bars; the line under each bar is the row below. The group
# (rows 5 to 22) sits in the middle of the 26 rows between the edges.
BAR_ROWS = (5, 9, 13, 17, 21)
BAR_LEFT, BAR_RIGHT = 4, 10  # inclusive


def draw_handle(active, look):
    c = Canvas(HANDLE_WIDTH, HEIGHT, look['grip'])
    c.hline(0, HANDLE_WIDTH - 1, 0, look['edge'])
    c.hline(0, HANDLE_WIDTH - 1, HEIGHT - 1, look['edge'])
    c.vline(0, 0, HEIGHT - 1, look['edge'])
    for y in BAR_ROWS:
        c.hline(BAR_LEFT, BAR_RIGHT, y, look['bar'])
        if active:
            c.hline(BAR_LEFT, BAR_RIGHT, y + 1, look['active'])
    return c


def shade(y, look):
    """Colour of row y of the tile's face (rows 1 to HEIGHT - 2)."""
    t = (y - 1) / (HEIGHT - 3)
    return tuple(round(a + (b - a) * t) for a, b in zip(look['shade_top'], look['shade_bottom']))


def draw_tile(look):
    c = Canvas(TILE_WIDTH, HEIGHT)
    for y in range(1, HEIGHT - 1):
        c.hline(0, TILE_WIDTH - 1, y, shade(y, look))
    c.hline(0, TILE_WIDTH - 1, 0, look['edge'])
    c.hline(0, TILE_WIDTH - 1, HEIGHT - 1, look['edge'])
    return c


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    res = os.path.join(root, 'src', 'res')
    for look, suffix in ((LIGHT, ''), (DARK, '_dark')):
        save_bmp24(draw_handle(False, look), os.path.join(res, 'bar_handle%s.bmp' % suffix))
        save_bmp24(draw_handle(True, look), os.path.join(res, 'bar_handle_active%s.bmp' % suffix))
        save_bmp24(draw_tile(look), os.path.join(res, 'bar_tile%s.bmp' % suffix))


if __name__ == '__main__':
    main()
