"""Draws the application icon (128) and the About box icon (131): two
overlapping pages with text lines, the front one marked with a red and a
green line where the two differ.

    python3 tools/draw_dialog_icons.py    (writes src/res/pairmate.ico and src/res/about.ico)
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imagegen import Canvas, save_ico  # noqa: E402

CLEAR = (255, 0, 255)  # transparent
BLACK = (0, 0, 0)
WHITE = (255, 255, 255)
LIGHT = (192, 192, 192)
GREY = (128, 128, 128)
NAVY = (0, 0, 128)
BLUE = (0, 0, 255)
RED = (255, 0, 0)
GREEN = (0, 128, 0)


def page(c, x0, y0, x1, y1, fold):
    """A sheet with a folded top-right corner; x1, y1 inclusive."""
    c.rect(x0, y0, x1 + 1, y1 + 1, WHITE)
    # Cut the corner away, then draw the outline and the fold.
    for i in range(fold):
        for x in range(x1 - fold + 1 + i, x1 + 1):
            c.set(x, y0 + i, CLEAR)
    c.hline(x0, x1 - fold, y0, BLACK)
    c.vline(x0, y0, y1, BLACK)
    c.hline(x0, x1, y1, BLACK)
    c.vline(x1, y0 + fold, y1, BLACK)
    c.line(x1 - fold, y0, x1, y0 + fold, BLACK)
    # The folded flap.
    c.vline(x1 - fold, y0, y0 + fold, BLACK)
    c.hline(x1 - fold, x1, y0 + fold, BLACK)
    for i in range(1, fold):
        for x in range(x1 - fold + 1, x1 - fold + i):
            c.set(x, y0 + i, LIGHT)
    # Drop shadow on the right and bottom.
    c.vline(x1 + 1, y0 + fold + 1, y1 + 1, GREY)
    c.hline(x0 + 1, x1 + 1, y1 + 1, GREY)


def text_lines(c, x0, x1, ys, colors):
    for y, color in zip(ys, colors):
        c.hline(x0, x1, y, color)


def big():
    c = Canvas(32, 32, CLEAR)
    page(c, 2, 1, 19, 24, 5)
    text_lines(c, 5, 12, [8, 11, 14, 17, 20], [NAVY] * 5)
    page(c, 11, 6, 29, 30, 5)
    text_lines(c, 14, 26, [13, 16, 19, 22, 25, 28],
               [NAVY, NAVY, RED, GREEN, NAVY, BLUE])
    return c


def small():
    c = Canvas(16, 16, CLEAR)
    page(c, 1, 0, 9, 11, 3)
    text_lines(c, 3, 6, [5, 7, 9], [NAVY] * 3)
    page(c, 5, 3, 14, 14, 3)
    text_lines(c, 7, 12, [7, 9, 11, 13], [NAVY, RED, GREEN, NAVY])
    return c


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'res')
    save_ico([big(), small()], os.path.join(res, 'pairmate.ico'), transparent=CLEAR)
    save_ico([big()], os.path.join(res, 'about.ico'), transparent=CLEAR)


if __name__ == '__main__':
    main()
