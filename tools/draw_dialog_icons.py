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


def page(c, x0, y0, x1, y1, fold, t=1):
    """A sheet with a folded top-right corner; x1, y1 inclusive; lines `t`
    pixels thick."""
    c.rect(x0, y0, x1 + 1, y1 + 1, WHITE)
    # Cut the corner away, then draw the outline and the fold.
    for i in range(fold):
        for x in range(x1 - fold + 1 + i, x1 + 1):
            c.set(x, y0 + i, CLEAR)
    c.rect(x0, y0, x1 - fold + 1, y0 + t, BLACK)
    c.rect(x0, y0, x0 + t, y1 + 1, BLACK)
    c.rect(x0, y1 - t + 1, x1 + 1, y1 + 1, BLACK)
    c.rect(x1 - t + 1, y0 + fold, x1 + 1, y1 + 1, BLACK)
    for k in range(t):
        c.line(x1 - fold - k, y0, x1, y0 + fold + k, BLACK)
    # The folded flap.
    c.rect(x1 - fold, y0, x1 - fold + t, y0 + fold + 1, BLACK)
    c.rect(x1 - fold, y0 + fold, x1 + 1, y0 + fold + t, BLACK)
    for i in range(t, fold):
        for x in range(x1 - fold + t, x1 - fold + i - t + 1):
            c.set(x, y0 + i, LIGHT)
    # Drop shadow on the right and bottom.
    c.rect(x1 + 1, y0 + fold + 1, x1 + 1 + t, y1 + 1 + t, GREY)
    c.rect(x0 + 1, y1 + 1, x1 + 1 + t, y1 + 1 + t, GREY)


def text_lines(c, x0, x1, ys, colors, t=1):
    for y, color in zip(ys, colors):
        c.rect(x0, y, x1 + 1, y + t, color)


def pages(size, design, sheets):
    """The two pages at `size` pixels, drawn from their places in the picture
    of `design` pixels (corners scaled and rounded, lines thicker from twice
    the size on)."""
    k = size / design
    t = max(1, int(k))

    def at(v):
        return int(v * k + 0.5)

    c = Canvas(size, size, CLEAR)
    for (x0, y0, x1, y1, fold), (lx0, lx1, ys, colors) in sheets:
        page(c, at(x0), at(y0), at(x1 + 1) - 1, at(y1 + 1) - 1, max(1, at(fold)), t)
        text_lines(c, at(lx0), at(lx1 + 1) - 1, [at(y) for y in ys], colors, t)
    return c


# The picture drawn for 32 pixels, and for 16: each page's corners and fold,
# then its text lines (from, to, rows, colours).
BIG = [((2, 1, 19, 24, 5), (5, 12, [8, 11, 14, 17, 20], [NAVY] * 5)),
       ((11, 6, 29, 30, 5), (14, 26, [13, 16, 19, 22, 25, 28], [NAVY, NAVY, RED, GREEN, NAVY, BLUE]))]
SMALL = [((1, 0, 9, 11, 3), (3, 6, [5, 7, 9], [NAVY] * 3)),
         ((5, 3, 14, 14, 3), (7, 12, [7, 9, 11, 13], [NAVY, RED, GREEN, NAVY]))]


def big(size=32):
    return pages(size, 32, BIG)


def small(size=16):
    return pages(size, 16, SMALL)


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'res')
    # The system's icon sizes at 100 %, 125 %, 150 % and 200 %: Windows
    # takes the image drawn for the size it shows. The About box enlarges
    # its icon's one 32-pixel picture at every scaling.
    save_ico([big(32), big(40), big(48), big(64), small(16), small(20), small(24)],
             os.path.join(res, 'pairmate.ico'), transparent=CLEAR)
    save_ico([big()], os.path.join(res, 'about.ico'), transparent=CLEAR)


if __name__ == '__main__':
    main()
