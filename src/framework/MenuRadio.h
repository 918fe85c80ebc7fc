// Radio-choice menu items, as the framework's command enabling marks them:
// a radio item is checked with a shared dot bitmap as its checked image
// instead of the check mark.
#pragma once

#include <windows.h>

// The shared dot bitmap (monochrome, the size of the system's menu check
// mark); created on first use, deleted at process exit. Null when it cannot
// be created.
HBITMAP AfxGetMenuDotBitmap();

// Marks the item at position `index` of `menu` as the chosen radio item (on)
// or clears its check.
void AfxSetMenuRadio(HMENU menu, UINT index, BOOL on);
