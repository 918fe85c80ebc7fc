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
extern const char kRegHotKey[];        // REG_DWORD: the hot key (see IsHotKeyValue)
extern const char kRegArguments[];     // REG_SZ: the comparison program's arguments
extern const char kRegMonitor[];       // REG_SZ: the bar's monitor (bar/BarMonitor.h), with several

// The hot key that brings the bar out from any program, in the hot-key
// control's form: the virtual key in the low byte, HOTKEYF_* in the next
// one; 0 is none. Ctrl+Alt+P unless the user chose another.
constexpr WORD kDefaultHotKey = MAKEWORD('P', 0x02 | 0x04); // HOTKEYF_CONTROL | HOTKEYF_ALT
// Whether `value` is one the hot-key control can give: 0, or a key with
// nothing above the four HOTKEYF_* bits.
bool IsHotKeyValue(DWORD value);

// Creates the program's keys (each step's result ignored), then reads the
// auto-minimise switch (on unless a readable value is 0) and the WinDiff file
// name ("FileName" when readable, whatever it holds; otherwise the file
// registered by Microsoft's setup, or empty).
void LoadPairmateSettings(std::string& winDiffPath, BOOL& autoMinimize);

// The stored hot key: "HotKey" when it is a REG_DWORD the hot-key control can
// give, else (absent, another type, other bits) the default. A value that is
// not taken stays in the registry as it is until Settings writes a new one.
WORD LoadHotKeySetting();

// The stored "Arguments": the text of a REG_SZ value, else empty (absent,
// another type). A line without both placeholders is kept here as stored;
// the program's preset applies to it (ArgumentsInForce).
std::string LoadArgumentsSetting();

// Stores `line` as the arguments of `program`, or removes the value when
// `line` is that program's preset (so that a later change of program takes
// the new program's preset). Returns the arguments now stored (empty when
// removed, or when the write failed).
std::string SaveArgumentsSetting(const std::string& program, const std::string& line);
