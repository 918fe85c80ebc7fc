// The system's file-open dialog, asked for one existing file.
#pragma once

#include <windows.h>

#include <string>

// Shows the file-open dialog over `owner` with a filter (AfxLoadFilter's
// form) and a title; `flags` are the OFN_ flags. TRUE with the chosen full
// path in `path`, FALSE (path unchanged) when the user cancelled or chose a
// file whose path the ANSI code page cannot hold (then *notInCodePage, when
// given, is set: the system would have handed on a look-alike, another
// file). The program's current folder stays as it was. Systems before
// Windows 2000 get the structure size they know.
BOOL AfxChooseFile(HWND owner, const std::string& filter, const std::string& title, DWORD flags, std::string& path,
                   bool* notInCodePage = nullptr);
