"""Draws the command pictures of Pairmate: the strip of the menu toolbar
(res/menu_toolbar.bmp, ten 16x15 images) and the strip of the main window's
toolbar buttons (res/toolbar.bmp, seven images), both 16-colour bitmaps on
the light-grey button face that the loaders turn into the transparent mask.

Run from the repository root:  python3 tools/draw_toolbar_bitmaps.py
"""
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from imagegen import Canvas, save_bmp4  # noqa: E402

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


def main():
    res = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'src', 'res')
    # Toolbar resource 128, in entry order: path 1 file, path 2 file, path 1
    # folder, path 2 folder, exit, minimise, maximise, about, compare, settings.
    save_bmp4(strip([BLANK_PAGE, BLANK_PAGE, OPEN_FOLDER, OPEN_FOLDER, CROSS, ARROW_RIGHT,
                     ARROW_LEFT, QUESTION, PAGE_MAGNIFIER, NOTEPAD_PENCIL]),
              os.path.join(res, 'menu_toolbar.bmp'))
    # The main window's toolbar buttons.
    save_bmp4(strip([BLANK_PAGE, OPEN_FOLDER, CROSS, ARROW_RIGHT, QUESTION, PAGE_MAGNIFIER,
                     NOTEPAD_PENCIL]),
              os.path.join(res, 'toolbar.bmp'))


if __name__ == '__main__':
    main()
