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

These are the pictures at 100 % (96 DPI). At other display scalings the
program draws the same shapes as it runs, every length scaled
(src/bar/BarPictures.cpp): a change of a shape here goes there too; the bar
tests compare the two at 96 DPI pixel for pixel.

Run from the repository root:  python3 tools/draw_bar_bitmaps.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imagegen import Canvas, save_bmp24  # noqa: E402

HEIGHT = 28
HANDLE_WIDTH = 15
TILE_WIDTH = 12

EDGE = (64, 64, 64)          # top, left and bottom edge; the tile's lines
GRIP = (192, 192, 192)       # the grip's face
BAR = (64, 64, 64)           # the five bars
ACTIVE_LINE = (138, 43, 226)  # blue-violet, under each bar when active
SHADE_TOP = (255, 255, 255)
SHADE_BOTTOM = (192, 192, 192)

# Rows of the five bars; the line under each bar is the row below. The group
# (rows 5 to 22) sits in the middle of the 26 rows between the edges.
BAR_ROWS = (5, 9, 13, 17, 21)
BAR_LEFT, BAR_RIGHT = 4, 10  # inclusive


def draw_handle(active):
    c = Canvas(HANDLE_WIDTH, HEIGHT, GRIP)
    c.hline(0, HANDLE_WIDTH - 1, 0, EDGE)
    c.hline(0, HANDLE_WIDTH - 1, HEIGHT - 1, EDGE)
    c.vline(0, 0, HEIGHT - 1, EDGE)
    for y in BAR_ROWS:
        c.hline(BAR_LEFT, BAR_RIGHT, y, BAR)
        if active:
            c.hline(BAR_LEFT, BAR_RIGHT, y + 1, ACTIVE_LINE)
    return c


def shade(y):
    """Colour of row y of the tile's face (rows 1 to HEIGHT - 2)."""
    t = (y - 1) / (HEIGHT - 3)
    return tuple(round(a + (b - a) * t) for a, b in zip(SHADE_TOP, SHADE_BOTTOM))


def draw_tile():
    c = Canvas(TILE_WIDTH, HEIGHT)
    for y in range(1, HEIGHT - 1):
        c.hline(0, TILE_WIDTH - 1, y, shade(y))
    c.hline(0, TILE_WIDTH - 1, 0, EDGE)
    c.hline(0, TILE_WIDTH - 1, HEIGHT - 1, EDGE)
    return c


def main():
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    res = os.path.join(root, 'src', 'res')
    save_bmp24(draw_handle(False), os.path.join(res, 'bar_handle.bmp'))
    save_bmp24(draw_handle(True), os.path.join(res, 'bar_handle_active.bmp'))
    save_bmp24(draw_tile(), os.path.join(res, 'bar_tile.bmp'))


if __name__ == '__main__':
    main()
