// The operating-system test used by the bar and the menu drawing.
#pragma once

#include <windows.h>

// TRUE on the Windows NT family from version 5.1 (Windows XP) on.
BOOL IsWindowsXPOrLater();

// The decision itself, from the values GetVersionEx reports.
BOOL IsWindowsXPOrLaterVersion(DWORD platformId, DWORD major, DWORD minor);
