"""Draws the command pictures of Pairmate: the strip of the menu toolbar
(res/menu_toolbar.bmp, ten 16x15 images) and the strip of the main window's
toolbar buttons (res/toolbar.bmp, seven images), both 16-colour bitmaps on
the light-grey button face that the loaders turn into the transparent mask.

The 16x15 pictures are pixel art. For displays scaled to 125 %, 150 % and
200 % the same pictures are drawn again at 20x19, 24x23 and 32x30 pixels
from their shapes (res/menu_toolbar_125.bmp and so on; the program takes the
one drawn for its display's scaling), so that no picture is ever stretched.

Run from the repository root:  python3 tools/draw_toolbar_bitmaps.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imagegen import Canvas, Pen, save_bmp4  # noqa: E402

W, H = 16, 15
FACE = (192, 192, 192)

# Character art colours (all of them are colours of the 16-colour palette).
COLORS = {
    'k': (0, 0, 0),
    'w': (255, 255, 255),
    's': (128, 128, 128),   # shadow grey
    'f': (192, 192, 192),   # face grey, drawn on purpose (not background)
    'y': (255, 255, 0),
    'o': (128, 128, 0),     # dark yellow
    'G': (0, 128, 0),
    'L': (0, 255, 0),
    'b': (0, 0, 128),
    'B': (0, 0, 255),
    'c': (0, 255, 255),
    't': (0, 128, 128),
    'r': (255, 0, 0),
    'm': (128, 0, 0),
}

BLANK_PAGE = [
    "................",
    "...kkkkkkkk.....",
    "...kwwwwwwkk....",
    "...kwwwwwwkwk...",
    "...kwwwwwwkkkk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kwwwwwwwwwk..",
    "...kkkkkkkkkkk..",
    "................",
]

OPEN_FOLDER = [
    "................",
    "........kkk.....",
    ".......k...k.k..",
    "............kk..",
    ".kkkk......kkk..",
    "kyyyyk..........",
    "kyoooykkkkkk....",
    "kyooooooooook...",
    "kyookkkkkkkkkkk.",
    "kyok" + "y" * 10 + "k.",
    "kok" + "y" * 10 + "k..",
    "kk" + "y" * 10 + "k...",
    "kk" + "y" * 9 + "k....",
    "kkkkkkkkkkkk....",
    "................",
]

CROSS = [
    "................",
    "................",
    "...kk......kk...",
    "...kkk....kkk...",
    "....kkk..kkk....",
    ".....kkkkkk.....",
    "......kkkk......",
    "......kkkk......",
    ".....kkkkkk.....",
    "....kkk..kkk....",
    "...kkk....kkk...",
    "...kk......kk...",
    "................",
    "................",
    "................",
]

# Minimise: the bar slides away to the right.
ARROW_RIGHT = [
    "................",
    "................",
    "................",
    ".ks.ks....k.....",
    ".kw.kw....kk....",
    ".kw.kw.kkkkyk...",
    ".kw.kw.kyyyyyk..",
    ".kw.kw.kyyyyyyk.",
    ".kw.kw.koooook..",
    ".kw.kw.kkkkok...",
    ".kw.kw....kk....",
    ".ks.ks....k.....",
    "................",
    "................",
    "................",
]

# Maximise: the bar slides back in from the right.
ARROW_LEFT = [
    "................",
    "................",
    "................",
    ".....k....ks.ks.",
    "....kk....kw.kw.",
    "...kLkkkk.kw.kw.",
    "..kLLLLLk.kw.kw.",
    ".kLLLLLLk.kw.kw.",
    "..kGGGGGk.kw.kw.",
    "...kGkkkk.kw.kw.",
    "....kk....kw.kw.",
    ".....k....ks.ks.",
    "................",
    "................",
    "................",
]

QUESTION = [
    "................",
    ".....bbbbbb.....",
    "....bbBBBBbb....",
    "...bbB....Bbb...",
    "...bbB....Bbb...",
    "..........Bbb...",
    ".........Bbb....",
    "........Bbb.....",
    ".......Bbb......",
    ".......Bbb......",
    "................",
    ".......Bbb......",
    ".......Bbb......",
    "................",
    "................",
]

PAGE_MAGNIFIER = [[
    ".kkkkkkkk.......",
    ".kwwwwwwkk......",
    ".kwsssswkwk.....",
    ".kwwwwwwkkkk....",
    ".kwssssssswk....",
    ".kwwwwwwwwwk....",
    ".kwssssssswk....",
    ".kwwwwwwwwwk....",
    ".kwssssssswk....",
    ".kwwwwwwwwwk....",
    ".kwssssssswk....",
    ".kwwwwwwwwwk....",
    ".kkkkkkkkkkk....",
    "................",
    "................",
], [
    "................",
    "................",
    "................",
    "................",
    "......kkkk......",
    ".....kwwcck.....",
    "....kwccccck....",
    "....kwccccck....",
    "....kcccccck....",
    "....kcccccck....",
    ".....kcccckks...",
    "......kkkkkkks..",
    "...........kkks.",
    "............kkks",
    ".............kk.",
]]

NOTEPAD_PENCIL = [[
    "..k.k.k.k.......",
    ".kwkwkwkwkk.....",
    ".kwwwwwwwwk.....",
    ".kwbbbbbbwk.....",
    ".kwwwwwwwwk.....",
    ".kwbbbbbbwk.....",
    ".kwwwwwwwwk.....",
    ".kwbbbbbbwk.....",
    ".kwwwwwwwwk.....",
    ".kwbbbbbbwk.....",
    ".kwwwwwwwwk.....",
    ".kwbbbbbbwk.....",
    ".kwwwwwwwwk.....",
    ".kkkkkkkkkk.....",
    "................",
], [
    "................",
    "..............kk",
    ".............kmk",
    "............kyrk",
    "...........kyyk.",
    "..........kyyk..",
    ".........kyyk...",
    "........kyyk....",
    ".......kooyk....",
    ".......kkok.....",
    ".......kkk......",
    "................",
    "................",
    "................",
    "................",
]]


def picture(art):
    """One 16x15 picture from character art, or from a list of layers of
    character art painted in order ('.' leaves the pixel below alone)."""
    layers = art if isinstance(art[0], list) else [art]
    c = Canvas(W, H, FACE)
    for layer in layers:
        assert len(layer) == H and all(len(row) == W for row in layer), layer
        c.from_art(0, 0, layer, COLORS)
    return c


def strip(arts):
    canvas = Canvas(W * len(arts), H, FACE)
    for i, art in enumerate(arts):
        canvas.blit(picture(art), i * W, 0)
    return canvas


# The larger sizes: each picture drawn from its shapes, given in the grid of
# the 16x15 pictures (coordinates are the edges between its pixels).
K, WH, S, FC, Y, O = (COLORS[c] for c in 'kwsfyo')
GREEN, LIME, NAVY, BLUE, CYAN, RED, MAROON = (COLORS[c] for c in 'GLbBcrm')


def draw_page(pen, x0, y0, x1, y1, fold, lines=()):
    """A sheet with a folded top-right corner; `lines` are (y, x0, x1) rows
    of text in grey."""
    pen.polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)], WH, K)
    pen.polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)], WH, K)
    for y, a, b in lines:
        pen.rect(a, y, b, y + 1, S)


def draw_blank_page(pen):
    draw_page(pen, 3, 1, 14, 14, 4)


def draw_open_folder(pen):
    pen.polygon([(0, 5), (1, 4), (5, 4), (6, 6), (12, 6), (13, 7), (13, 9), (2, 14), (0, 14)], O, K, light=Y)
    pen.polygon([(4, 8), (15, 8), (11, 14), (0, 14), (0, 12)], Y, K)
    # The curved arrow over it.
    pen.arc((9.5, 3.5), 2.0, 180, 360, 1.0, K)
    pen.polygon([(11, 5), (14.5, 5), (14.5, 1.5)], K)


def draw_cross(pen):
    pen.stroke([(4, 3), (12, 11)], 2.4, K)
    pen.stroke([(12, 3), (4, 11)], 2.4, K)


def draw_bars(pen, lefts):
    """Two raised bars (a black and a white half) from row 3 to row 11."""
    for x in lefts:
        # Both bars alike, the black half never wider than the white one.
        (left, top), (right, bottom) = pen.pt((x, 3)), pen.pt((x + 2, 12))
        middle = left + (right - left) // 2
        pen.c.rect(left, top, middle, bottom, K)
        pen.c.rect(middle, top, right, bottom, WH)
        pen.c.rect(middle, top, right, top + pen.line, S)
        pen.c.rect(middle, bottom - pen.line, right, bottom, S)


def draw_arrow_right(pen):
    draw_bars(pen, (1, 4))
    pen.polygon([(7, 5), (10, 5), (10, 2.5), (15, 7.5), (10, 12.5), (10, 10), (7, 10)], Y, K, lower=(8, O))


def draw_arrow_left(pen):
    pen.polygon([(9, 5), (6, 5), (6, 2.5), (1, 7.5), (6, 12.5), (6, 10), (9, 10)], LIME, K, lower=(8, GREEN))
    draw_bars(pen, (10, 13))


def draw_question(pen):
    pen.arc((8, 4.6), 3.0, 180, 405, 2.4, NAVY, inner=BLUE)
    # Strokes reach half their width past their ends: the stem stops above
    # the gap, the dot is one point.
    pen.stroke([(10.2, 6.8), (8.6, 8.4), (8.6, 8.8)], 2.4, NAVY, light=BLUE)
    pen.stroke([(8.6, 12), (8.6, 12)], 2.4, NAVY, light=BLUE)


def draw_page_magnifier(pen):
    draw_page(pen, 1, 0, 12, 13, 4, [(2, 3, 7)] + [(y, 3, 10) for y in (4, 6, 8, 10)])
    pen.stroke([(11, 11), (14.5, 14.2)], 1.8, S)
    pen.stroke([(10.5, 10.5), (14, 13.7)], 1.8, K)
    pen.ellipse((8, 8), 3.9, CYAN, K, light=WH)


def draw_notepad_pencil(pen):
    pen.polygon([(1, 1), (11, 1), (11, 14), (1, 14)], WH, K)
    for x in (2, 4, 6, 8):
        pen.rect(x, 0, x + 1, 2, K)
    for y in (3, 5, 7, 9, 11):
        pen.rect(3, y, 9, y + 1, NAVY)
    # The pencil lies from the top right down to its point at the left.
    def along(t, side):
        # t: 0 at the top end, 1 where the point begins; side: -1 .. 1 across.
        ax, ay, bx, by, half = 15.3, 1.7, 9.6, 7.4, 1.35
        return (ax + (bx - ax) * t + side * half * 0.7071, ay + (by - ay) * t + side * half * 0.7071)
    pen.polygon([along(0.22, -1), along(1, -1), along(1, 1), along(0.22, 1)], Y, K, dark=O)
    pen.polygon([along(0, -1), along(0.22, -1), along(0.22, 1), along(0, 1)], RED, K, dark=MAROON)
    pen.polygon([along(1, -1), (7.4, 10.6), along(1, 1)], O, K)
    pen.polygon([(7.4, 10.6), (7.6, 9.1), (8.9, 10.4)], K)


SHAPES = {
    id(BLANK_PAGE): draw_blank_page, id(OPEN_FOLDER): draw_open_folder, id(CROSS): draw_cross,
    id(ARROW_RIGHT): draw_arrow_right, id(ARROW_LEFT): draw_arrow_left, id(QUESTION): draw_question,
    id(PAGE_MAGNIFIER): draw_page_magnifier, id(NOTEPAD_PENCIL): draw_notepad_pencil,
}

# Percent, DPI, line width: 125 % and 150 % keep one-pixel lines.
SCALES = ((125, 120, 1), (150, 144, 1), (200, 192, 2))


def scaled(length, dpi):
    """A 96-DPI length at `dpi`, as the program scales it (halves up)."""
    return (length * dpi + 48) // 96


def scaled_strip(arts, dpi, line):
    w, h = scaled(W, dpi), scaled(H, dpi)
    canvas = Canvas(w * len(arts), h, FACE)
    for i, art in enumerate(arts):
        one = Canvas(w, h, FACE)
        SHAPES[id(art)](Pen(one, (W, H), line))
        canvas.blit(one, i * w, 0)
    return canvas


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'res')
    # Toolbar resource 128, in entry order: path 1 file, path 2 file, path 1
    # folder, path 2 folder, exit, minimise, maximise, about, compare, settings.
    menu = [BLANK_PAGE, BLANK_PAGE, OPEN_FOLDER, OPEN_FOLDER, CROSS, ARROW_RIGHT, ARROW_LEFT, QUESTION,
            PAGE_MAGNIFIER, NOTEPAD_PENCIL]
    # The main window's toolbar buttons.
    toolbar = [BLANK_PAGE, OPEN_FOLDER, CROSS, ARROW_RIGHT, QUESTION, PAGE_MAGNIFIER, NOTEPAD_PENCIL]
    save_bmp4(strip(menu), os.path.join(res, 'menu_toolbar.bmp'))
    save_bmp4(strip(toolbar), os.path.join(res, 'toolbar.bmp'))
    for percent, dpi, line in SCALES:
        save_bmp4(scaled_strip(menu, dpi, line), os.path.join(res, 'menu_toolbar_%d.bmp' % percent))
        save_bmp4(scaled_strip(toolbar, dpi, line), os.path.join(res, 'toolbar_%d.bmp' % percent))


if __name__ == '__main__':
    main()
