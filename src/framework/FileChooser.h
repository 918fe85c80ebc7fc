// The system's file-open dialog, asked for one existing file.
#pragma once

#include <windows.h>

#include <string>

// Shows the file-open dialog over `owner` with a filter (AfxLoadFilter's
// form) and a title; `flags` are the OFN_ flags. TRUE with the chosen full
// path in `path`, FALSE (path unchanged) when the user cancelled. The
// program's current folder stays as it was. Systems before Windows 2000 get
// the structure size they know.
BOOL AfxChooseFile(HWND owner, const std::string& filter, const std::string& title, DWORD flags, std::string& path);
