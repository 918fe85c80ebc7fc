#include "settings/DiffPrograms.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "pathinput/PathTests.h"
#include "settings/Registry.h"

#include <windows.h>

#include <vector>

namespace {

// Where a program's installer records it. With `fileInFolder` the value is
// the program's folder and the executable is that file in it; without, the
// value is the executable's full file name itself.
struct DiffProgramEntry {
    const char* name;
    const char* key;          // below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
    const char* value;        // nullptr: the key's default value
    const char* fileInFolder;
};

const DiffProgramEntry kDiffPrograms[] = {
    {"WinMerge", "Software\\Thingamahoochie\\WinMerge", "Executable", nullptr},
    {"Beyond Compare 5", "Software\\Scooter Software\\Beyond Compare 5", "ExePath", nullptr},
    {"Beyond Compare 4", "Software\\Scooter Software\\Beyond Compare 4", "ExePath", nullptr},
    {"Beyond Compare 3", "Software\\Scooter Software\\Beyond Compare 3", "ExePath", nullptr},
    {"KDiff3", "Software\\KDiff3", nullptr, "kdiff3.exe"},
    {"P4Merge", "Software\\Perforce\\Environment", "P4INSTROOT", "p4merge.exe"},
    {"DiffMerge", "Software\\SourceGear\\SourceGear DiffMerge", "Location", nullptr},
};

#ifndef KEY_WOW64_64KEY
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#endif

// The views of the local machine's keys to read, in order. 64-bit Windows
// keeps the keys of 64-bit programs apart from those of 32-bit ones; most
// comparison programs are 64-bit now, so their view comes first. 32-bit
// Windows has one view, read without the flags (which systems before XP do
// not know).
std::vector<REGSAM> MachineViews()
{
#ifdef _WIN64
    const bool twoViews = true;
#else
    using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
    HMODULE kernel = ::GetModuleHandleA("kernel32.dll");
    const auto isWow64Process = kernel ? reinterpret_cast<IsWow64ProcessFn>(reinterpret_cast<void*>(
                                             ::GetProcAddress(kernel, "IsWow64Process")))
                                       : nullptr;
    BOOL wow64 = FALSE;
    const bool twoViews = isWow64Process && isWow64Process(::GetCurrentProcess(), &wow64) && wow64;
#endif
    if (twoViews) return {KEY_WOW64_64KEY, KEY_WOW64_32KEY};
    return {0};
}

// A full path: a drive, a colon and a backslash, or a network path
// ("\\server\share"). Anything else would be read against some current
// folder and name another file.
bool IsFullPath(const std::wstring& path)
{
    const wchar_t drive = path.empty() ? L'\0' : static_cast<wchar_t>(path[0] | 0x20);
    const bool letter = path.size() >= 3 && drive >= L'a' && drive <= L'z';
    if (letter && path[1] == L':' && (path[2] == L'\\' || path[2] == L'/')) return true;
    return path.size() > 2 && path[0] == L'\\' && path[1] == L'\\' && path[2] != L'\\';
}

// The executable an entry's text names, checked: a full path that fits in
// MAX_PATH characters and names an existing file (a folder is none).
bool ExecutableOf(const DiffProgramEntry& entry, const std::string& text, std::string& file)
{
    std::wstring path = ToWide(text);
    if (entry.fileInFolder && !path.empty()) {
        if (path.back() != L'\\' && path.back() != L'/') path += L'\\';
        path += ToWide(entry.fileInFolder);
    }
    if (path.size() >= MAX_PATH || !IsFullPath(path)) return false;
    std::string ansi;
    if (!ToAnsiExact(path, ansi) || !IsExistingFile(ansi)) return false;
    file = ansi;
    return true;
}

// The entry's text in one registry key: a REG_SZ value only, read as the
// program's other texts are (a text the code page cannot hold is not read).
bool ReadEntry(HKEY root, REGSAM view, const DiffProgramEntry& entry, std::string& text)
{
    RegKey key;
    if (key.Open(root, entry.key, KEY_QUERY_VALUE | view) != ERROR_SUCCESS) return false;
    DWORD type = REG_NONE;
    if (::RegQueryValueExA(key.Get(), entry.value, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS ||
        type != REG_SZ)
        return false;
    return ReadRegStringValue(key.Get(), entry.value, text) != 0;
}

} // namespace

int FindDiffProgram(FoundDiffProgram& out)
{
    std::vector<std::pair<HKEY, REGSAM>> places = {{HKEY_CURRENT_USER, 0}};
    for (REGSAM view : MachineViews()) places.push_back({HKEY_LOCAL_MACHINE, view});
    for (const DiffProgramEntry& entry : kDiffPrograms) {
        for (const auto& place : places) {
            std::string text, file;
            if (ReadEntry(place.first, place.second, entry, text) && ExecutableOf(entry, text, file)) {
                out.name = entry.name;
                out.path = file;
                return 1;
            }
        }
    }
    return 0;
}
