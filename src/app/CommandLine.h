// Paths on the command line: `pairmate.exe PATH1 PATH2` compares both,
// `pairmate.exe PATH` takes one path and waits for the second. Without
// arguments the program starts as it always has.
//
// The process that was started reads its arguments as the C runtime splits
// them and makes relative paths absolute against its current folder (the
// caller's); a bar that runs already receives them in WM_COPYDATA, in UTF-16
// so that no code page stands in between.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The arguments after the program's name, split by the rules of the
// Microsoft C runtime: white space separates them, double quotes group, 2n
// backslashes before a quote give n and the quote groups, 2n + 1 give n and
// a literal quote, other backslashes stay as they are.
std::vector<std::wstring> SplitCommandLine(const wchar_t* commandLine);

// The paths of a command line, made absolute; FALSE when it holds more than
// two arguments or an option (an argument beginning with "/" or "-"), which
// the program does not take.
BOOL ReadPathArguments(const wchar_t* commandLine, std::vector<std::wstring>& paths);

// `path` made absolute against the current folder (and drive); an absolute
// path, and the text of any path, are otherwise left as they are.
std::wstring AbsolutePath(const std::wstring& path);

// WM_COPYDATA with paths for a running bar: dwData marks it, the data holds
// one or two paths, each ended by a NUL.
constexpr ULONG_PTR kPathsCopyData = 0x50415448; // "PATH"
std::vector<WCHAR> PackPaths(const std::vector<std::wstring>& paths);
// FALSE for anything else than one or two non-empty paths so packed.
BOOL UnpackPaths(const COPYDATASTRUCT* data, std::vector<std::wstring>& paths);
