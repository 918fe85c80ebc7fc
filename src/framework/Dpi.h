// Display scaling.
//
// Every length of the program is written for 96 DPI (100 %) and scaled where
// it is used, for the DPI of the window it is drawn in:
//     AfxScale(15, GetDpi())
// A window's DPI comes from CWnd::GetDpi, which keeps the last one that
// WM_DPICHANGED announced and otherwise asks the system here. The system is
// asked per window where it can say (GetDpiForWindow, Windows 10 1607), per
// monitor where only that is known (GetDpiForMonitor, Windows 8.1), and for
// the whole screen elsewhere (LOGPIXELSY: Windows XP and 7, whose DPI is one
// for every window). The newer functions are looked up as the program runs,
// so it still starts on Windows XP.
//
// A DPI outside 96 to 480 (100 % to 500 %: a query that failed, a damaged
// LogPixels setting) counts as 96: the program then looks as at 100 %.
#pragma once

#include <windows.h>

// Sent to a top-level window whose DPI changed (Windows 8.1 and later; the
// program's headers are Windows XP's): the new DPI in both words of wParam,
// the suggested window rectangle in lParam.
#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

constexpr UINT kDefaultDpi = 96;
constexpr UINT kMaxDpi = 480;

// `dpi` when it lies in 96..480, else 96.
UINT AfxUsableDpi(UINT dpi);
// The DPI of the whole screen (the system's), read once.
UINT AfxGetSystemDpi();
// The DPI the system gives the window's display (the system's for a null
// window).
UINT AfxQueryWindowDpi(HWND hwnd);

// A length of `length` pixels at 96 DPI, at `dpi`: rounded to the nearest
// pixel, halves away from zero (15 at 144 DPI is 23, -12 is -18).
int AfxScale(int length, UINT dpi);

// A system metric (a GetSystemMetrics index) for a window at `dpi`.
int AfxGetSystemMetricsForDpi(int index, UINT dpi);
// A new font (the caller's) made from the system's menu font for a window at
// `dpi`; null when the system gave none.
HFONT AfxCreateMenuFont(UINT dpi);

// Bitmap resources drawn for several scalings keep their 100-% picture under
// their id and the larger ones under id + 1000 (125 %), id + 2000 (150 %) and
// id + 3000 (200 %). The one to show at `dpi` is the largest drawn for no
// more than `dpi`: never shrunk or stretched, centred in its box when the box
// is larger. `dpi` is the scaling it was drawn for.
struct ScaledBitmap {
    UINT id;
    UINT dpi;
};
ScaledBitmap AfxFindScaledBitmap(UINT id, UINT dpi);
