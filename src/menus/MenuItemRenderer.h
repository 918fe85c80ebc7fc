// Drawing of one owner-drawn popup menu item: a separator, an item with a
// toolbar image, or an item without one, in its normal, selected, grayed and
// checked states.
//
// Geometry at 96 DPI, for an item rectangle L, T, R, B of height H = B - T
// (at another DPI every length but H is scaled, and an image of another size
// than 16 by 15 is centred on its place):
//   image cell      L+2 .. L+22, 20 high, centred vertically (T + (H-20)/2)
//   image position  (L+4, T + (H-16)/2)
//   text            L+26 .. R-16 (the right column after a tab is
//                   right-aligned against R-16)
//   highlight band  (older look) from L+24 when an image or mark was drawn,
//                   else from L+2, to R
//
// Items with an image come in two looks: the older one keeps the menu colour
// under the image and frames it when selected; the Windows XP one highlights
// the whole item and draws no frames. Callers choose with MenuLookForSystem.
#pragma once

#include "framework/Dpi.h"

#include <windows.h>
#include <commctrl.h>

#include <string>

enum class MenuLook {
    Classic,  // before Windows XP
    XP,       // Windows XP and later
};

// The look that this system's menus use.
MenuLook MenuLookForSystem();

// The places for an item shown at `dpi`. The image position is the top left
// of the image's 16 by 16 box.
RECT MenuImageCell(const RECT& item, UINT dpi = kDefaultDpi);
POINT MenuImagePosition(const RECT& item, UINT dpi = kDefaultDpi);
RECT MenuTextRect(const RECT& item, UINT dpi = kDefaultDpi);

// Check-mark list indices (an optional image list supplied by the owner).
enum MenuCheckImage {
    kCheckUnderImage = 0,   // drawn under the image of a checked, unselected item
    kCheckMark = 1,         // check mark of an item without an image
    kCheckMarkSelected = 2,
    kRadioMark = 3,         // radio mark of an item without an image
    kRadioMarkSelected = 4,
};

// The colours of every item are the look's (framework/Look.h): the system's
// menu colours in the light look and in contrast themes, dark ones in the
// dark look, where separators are a plain line.

// A popup's background outside its items in the look's menu colour (the dark
// look only: the others keep the system's).
void SetMenuLookBackground(HMENU menu);

// Fills the rectangle with one colour.
void FillSolid(HDC dc, const RECT& rc, COLORREF color);

// An etched line across the item at its vertical middle.
void DrawSeparatorItem(HDC dc, const RECT& rc);

// An item with image `image` of `images`. `checkImages` may be null: a checked
// item is then shown by a sunken frame around its image.
void DrawImageItem(HDC dc, const RECT& rc, BOOL enabled, BOOL selected, BOOL checked,
                   HIMAGELIST checkImages, HIMAGELIST images, int image, HFONT font,
                   const std::string& label, MenuLook look, UINT dpi = kDefaultDpi);

// An item without an image; `checkIndex` is -1 when unchecked, else one of
// MenuCheckImage 1 to 4. Without a check-mark list the system's check mark
// or radio dot is drawn in the text colour.
void DrawPlainItem(HDC dc, const RECT& rc, BOOL enabled, BOOL selected, BOOL checked,
                   HIMAGELIST checkImages, int checkIndex, HFONT font, const std::string& label,
                   UINT dpi = kDefaultDpi);

// The label in the text rectangle of `rc` (already the text rectangle): the
// part before the first tab left-aligned with its mnemonic underlined, the
// part after it right-aligned.
void DrawMenuText(HDC dc, const RECT& rc, HFONT font, const std::string& label, COLORREF color);

// Image `index` of `images` engraved at `pt`: its shape in the button
// highlight colour one pixel (at 96 DPI) down and right, under the same
// shape in the button shadow colour. `color` makes the shape from a colour
// copy of the image instead of a monochrome one.
void DrawDisabledImage(HDC dc, HIMAGELIST images, int index, POINT pt, BOOL color, UINT dpi = kDefaultDpi);
