// The bar's background pictures for displays scaled above 100 % and for
// contrast themes, drawn as the program runs from the same shapes as bitmaps
// 130, 133 and 131 and their dark copies (which tools/draw_bar_bitmaps.py
// draws for 96 DPI), with every length scaled, so that the strip is drawn
// for its size at every DPI, in the colours of a look (framework/Look.h):
//   handle  a light-grey (dark: dark-grey) grip with five dark bars and a dark edge at its top,
//           left and bottom; while the program is active, a blue-violet line
//           under each bar;
//   tile    a vertical shade from white to light grey (dark: dark grey to
//           darker) between a dark (dark: lighter) top
//           line and a dark bottom line (the handle's edges continued).
// Lines are AfxScale(1, dpi) pixels thick. Both are 24-bit DIB sections, as
// the loaded bitmaps are; the caller owns them.
#pragma once

#include "framework/Look.h"

#include <windows.h>

HBITMAP DrawBarHandle(UINT dpi, bool active, Look look = AfxGetLook());
HBITMAP DrawBarTile(UINT dpi, Look look = AfxGetLook());
