// The program's settings in the current user's registry: key and value
// names, and the start-up load of the WinDiff file name and the
// auto-minimise switch.
#pragma once

#include <windows.h>

#include <string>

// Below HKEY_CURRENT_USER.
extern const char kRegPairmateKey[];   // "Software\Velmora\Pairmate"
extern const char kRegHistory1Key[];   // path history of compare slot 1
extern const char kRegHistory2Key[];   // path history of compare slot 2
extern const char kRegFileName[];      // REG_SZ: full file name of windiff.exe
extern const char kRegAutoMinimized[]; // REG_DWORD: 0 or 1

// Creates the program's keys (each step's result ignored), then reads the
// auto-minimise switch (on unless a readable value is 0) and the WinDiff file
// name ("FileName" when readable, whatever it holds; otherwise the file
// registered by Microsoft's setup, or empty).
void LoadPairmateSettings(std::string& winDiffPath, BOOL& autoMinimize);
