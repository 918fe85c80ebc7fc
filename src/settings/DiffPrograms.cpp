#include "settings/DiffPrograms.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "pathinput/PathTests.h"
#include "settings/Registry.h"

#include <windows.h>

#include <algorithm>
#include <vector>

namespace {

// The registry places an entry is read in (its installer writes one or
// some of them).
enum Places : unsigned {
    kUser = 1,      // HKEY_CURRENT_USER
    kMachine64 = 2, // HKEY_LOCAL_MACHINE, the 64-bit view
    kMachine32 = 4, // HKEY_LOCAL_MACHINE, the 32-bit view
    kMachine = kMachine64 | kMachine32,
    kEverywhere = kUser | kMachine,
};

// Where a program's installer records it. With `fileInFolder` the value is
// the program's folder and the executable is that file in it; without, the
// value is the executable's full file name itself.
struct DiffProgramEntry {
    const char* name;
    const char* key;          // below HKEY_CURRENT_USER or HKEY_LOCAL_MACHINE
    const char* value;        // nullptr: the key's default value
    const char* fileInFolder;
    unsigned places = kEverywhere;
};

// In the order they are offered: programs that compare folders as well as
// files go before those that compare files only (Visual Studio Code,
// TortoiseGitMerge), so that the first one found can take every Compare.
#define VSCODE_UNINSTALL "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"

const DiffProgramEntry kDiffPrograms[] = {
    {"WinMerge", "Software\\Thingamahoochie\\WinMerge", "Executable", nullptr},
    {"Beyond Compare 5", "Software\\Scooter Software\\Beyond Compare 5", "ExePath", nullptr},
    {"Beyond Compare 4", "Software\\Scooter Software\\Beyond Compare 4", "ExePath", nullptr},
    {"Beyond Compare 3", "Software\\Scooter Software\\Beyond Compare 3", "ExePath", nullptr},
    {"KDiff3", "Software\\KDiff3", nullptr, "kdiff3.exe"},
    {"P4Merge", "Software\\Perforce\\Environment", "P4INSTROOT", "p4merge.exe"},
    {"DiffMerge", "Software\\SourceGear\\SourceGear DiffMerge", "Location", nullptr},
    {"Meld", "SOFTWARE\\Meld", "Executable", nullptr, kMachine},
    // Visual Studio Code's installers record its folder in their uninstall
    // entries: per user (x64, x86, Arm64), then for all users (x64, Arm64
    // in the 64-bit view, x86 in the 32-bit one).
    {"Visual Studio Code", VSCODE_UNINSTALL "{771FD6B0-FA20-440A-A002-3B3BAC16DC50}_is1", "InstallLocation", "Code.exe", kUser},
    {"Visual Studio Code", VSCODE_UNINSTALL "{D628A17A-9713-46BF-8D57-E671B46A741E}_is1", "InstallLocation", "Code.exe", kUser},
    {"Visual Studio Code", VSCODE_UNINSTALL "{D9E514E7-1A56-452D-9337-2990C0DC4310}_is1", "InstallLocation", "Code.exe", kUser},
    {"Visual Studio Code", VSCODE_UNINSTALL "{EA457B21-F73E-494C-ACAB-524FDE069978}_is1", "InstallLocation", "Code.exe", kMachine64},
    {"Visual Studio Code", VSCODE_UNINSTALL "{A5270FC5-65AD-483E-AC30-2C276B63D0AC}_is1", "InstallLocation", "Code.exe", kMachine64},
    {"Visual Studio Code", VSCODE_UNINSTALL "{F8A2A208-72B3-4D61-95FC-8A65D340689B}_is1", "InstallLocation", "Code.exe", kMachine32},
    {"TortoiseGitMerge", "Software\\TortoiseGit", "TMergePath", nullptr, kMachine},
};

#ifndef KEY_WOW64_64KEY
#define KEY_WOW64_64KEY 0x0100
#define KEY_WOW64_32KEY 0x0200
#endif

// The places to read, in order: the current user's keys, then the views of
// the local machine's. 64-bit Windows
// keeps the keys of 64-bit programs apart from those of 32-bit ones; most
// comparison programs are 64-bit now, so their view comes first. 32-bit
// Windows has one view, read without the flags (which systems before XP do
// not know).
struct Place {
    HKEY root;
    REGSAM view;
    unsigned places; // the Places this one stands for
};

std::vector<Place> RegistryPlaces()
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
    if (twoViews)
        return {{HKEY_CURRENT_USER, 0, kUser}, {HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY, kMachine64},
                {HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY, kMachine32}};
    return {{HKEY_CURRENT_USER, 0, kUser}, {HKEY_LOCAL_MACHINE, 0, kMachine}};
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
    return ReadRegSzValue(key.Get(), entry.value, text) != 0;
}

} // namespace

std::vector<FoundDiffProgram> FindDiffPrograms()
{
    std::vector<FoundDiffProgram> found;
    const std::vector<Place> places = RegistryPlaces();
    for (const DiffProgramEntry& entry : kDiffPrograms) {
        for (const Place& place : places) {
            std::string text, file;
            if (!(entry.places & place.places) || !ReadEntry(place.root, place.view, entry, text) ||
                !ExecutableOf(entry, text, file))
                continue;
            const bool known = std::any_of(found.begin(), found.end(),
                                           [&](const FoundDiffProgram& f) { return f.name == entry.name; });
            if (!known) found.push_back({entry.name, file});
            break;
        }
    }
    return found;
}

int FindDiffProgram(FoundDiffProgram& out)
{
    const std::vector<FoundDiffProgram> found = FindDiffPrograms();
    if (found.empty()) return 0;
    out = found.front();
    return 1;
}
