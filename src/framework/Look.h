// The look of the program: light, dark or a contrast theme, and the colours
// of each. Every place that draws asks here, as it draws; none keeps a copy.
//
// The look follows the system's app mode (the current user's
// "AppsUseLightTheme" under ...\Themes\Personalize: 0 is dark; absent, 1 or
// anything else is light, as Windows reads it) and its contrast themes
// (SPI_GETHIGHCONTRAST with HCF_HIGHCONTRASTON), which win over the mode.
// Systems without the setting (Windows XP to 8.1) stay light. The settings
// are read at first use and again whenever a top-level window hears of a
// change (WM_SETTINGCHANGE, WM_SYSCOLORCHANGE): then every top-level window
// of the thread is told (AfxLookChangedMessage) and redrawn.
//
// Light is the look the program always had; a contrast theme draws in the
// system's colours only (which are the theme's); dark gives the program's own
// dark shades, dark title bars and, where Windows has them, the system's dark
// control themes (dwmapi and uxtheme are looked up as the program runs, so it
// still starts on Windows XP).
#pragma once

#include <windows.h>

enum class Look {
    Light,
    Dark,
    Contrast,
};

enum class LookColor {
    Face,          // dialog and window background
    Text,          // text on Face
    Field,         // the dialogs' path field; in the dark look also edit boxes and lists
    FieldText,     // text on Field
    Menu,          // menu items
    MenuText,
    Highlight,     // the selected menu item
    HighlightText,
    GrayText,      // a greyed menu item's label
    Separator,     // a menu separator's line, where it is not etched
    EngraveLight,  // the lighter copy of a greyed label or image
    EngraveShadow, // the darker copy of a greyed image
    Link,          // a link not yet opened
    LinkVisited,
    LinkHover,
    BoxShadow,     // top and left edge of a sunken box (the bar's icon boxes)
    BoxLight,      // its bottom and right edge
    BarEdge,       // the bar's top, left and bottom edges
    BarGrip,       // the handle's face
    BarLine,       // the handle's five bars
    BarActive,     // the line under each bar while the program is active
    ShadeTop,      // the strip's shade, top row
    ShadeBottom,   // ... and bottom row
};

// A bar bitmap's dark copy in the resources: its id + 4000.
constexpr UINT kDarkBitmapOffset = 4000;

// The decision: a contrast theme wins; else dark exactly when the app-mode
// value exists and is 0.
Look AfxDecideLook(bool highContrast, bool hasAppsValue, DWORD appsUseLightTheme);
// The look now (read from the system at first use).
Look AfxGetLook();
// Reads the system's settings again; true when the look changed, or the
// system's colours did (`systemColorsChanged`) in a contrast theme: every
// top-level window of the thread has then been told and redrawn.
bool AfxUpdateLook(bool systemColorsChanged = false);
// Registered message sent to every top-level window of the thread after the
// look changed (wParam, lParam 0): windows that keep pictures make them
// again.
UINT AfxLookChangedMessage();

// A colour of a look (the current one by default).
COLORREF AfxLookColor(LookColor color);
COLORREF AfxLookColor(LookColor color, Look look);
// A solid brush of a colour of the current look, owned here (valid until the
// look changes).
HBRUSH AfxLookBrush(LookColor color);

// The answer to a WM_CTLCOLOR* message in the dark look: texts light on dark,
// edit boxes and lists as fields; null in the other looks (the default
// handling then answers, as it always did).
HBRUSH AfxLookCtlColor(UINT msg, HDC dc);
// The same for any message: true (with the brush in `result`) when `msg` is
// a WM_CTLCOLOR* message (but the scroll bars') that the look answers.
bool AfxLookOnCtlColor(UINT msg, WPARAM wParam, LRESULT* result);

// Gives a top-level window, its controls and the thread's tooltips the
// system's dark parts in the dark look (dark title bar, dark control
// themes), and takes them back when `wasDark` and the look is no longer
// dark. Nothing happens in the other looks.
void AfxApplyLookToWindow(HWND window, bool wasDark = false);

// MessageBoxA with the look: in the dark look the box gets a dark title
// bar, background and texts as far as the system allows.
int AfxLookMessageBox(HWND owner, const char* text, const char* caption, UINT type);
