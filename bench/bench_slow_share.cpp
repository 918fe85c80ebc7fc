// The longest time the bar takes to handle a message posted to it (an
// EM_SETSEL to a path box, read back) while a path on a slow share is typed
// key by key, and while a Compare of two files on the share runs, for each
// program given. It needs the tests' slow share: run from a shell that has
// sourced scripts/wine-env.sh and scripts/slow-share.sh and called
// slow_share_mount (PAIRMATE_SLOW_SHARE and PAIRMATE_SLOW_SHARE_DATA set);
// every lookup on it then sleeps one second.
#include "bench_slow_share.h"

#include "e2e/PairmateProcess.h"
#include "framework/Handles.h"
#include "settings/PathHistory.h"
#include "settings/Registry.h"
#include "settings/Settings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

void SetDelay(const std::string& data, const char* seconds)
{
    HANDLE h = ::CreateFileA((data + "\\.delay").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    ::WriteFile(h, seconds, static_cast<DWORD>(std::strlen(seconds)), &written, nullptr);
    ::CloseHandle(h);
}

bool Exists(const std::string& path)
{
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

struct Figures {
    DWORD typing = 0, compare = 0, compareTotal = 0;
};

Figures TimeProgram(const std::string& program, const std::string& standIn, const std::string& share,
                    const std::string& data, const std::string& log)
{
    Figures f;
    StoredSettings settings;
    settings.fileName = standIn;
    settings.hasAutoMinimize = true;
    settings.autoMinimize = 0;
    ResetRegistry(settings);
    SetDelay(data, "0");
    ::DeleteFileA(log.c_str());
    PairmateProcess app;
    if (!app.Start(log, program) || !app.WaitForBar()) return f;
    app.Command(kMaximize);
    SetDelay(data, "1");

    const std::string path = share + "\\a.txt";
    HWND edit = app.ComboEdit(kPath1);
    for (char c : path) {
        ::PostMessageA(edit, WM_CHAR, static_cast<BYTE>(c), 1);
        f.typing = std::max(f.typing, PostedMessageDelayMs(edit, 120000));
    }

    app.SetComboText(kPath2, share + "\\b.txt");
    // The icon lookups of both boxes end before Compare is timed.
    ::Sleep(15000);
    const DWORD start = ::GetTickCount();
    app.Command(kCompare);
    while (!Exists(log) && ::GetTickCount() - start < 120000) {
        f.compare = std::max(f.compare, PostedMessageDelayMs(app.ComboEdit(kPath2), 120000));
        ::Sleep(50);
    }
    f.compareTotal = ::GetTickCount() - start;
    SetDelay(data, "0");
    app.Stop();
    return f;
}

} // namespace

SavedPairmateState::SavedPairmateState()
    : m_history1(HKEY_CURRENT_USER, kRegHistory1Key), m_history2(HKEY_CURRENT_USER, kRegHistory2Key)
{
    m_hadFileName = ReadRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, m_fileName) != 0;
    m_history1.Load(m_saved1);
    m_history2.Load(m_saved2);
}

SavedPairmateState::~SavedPairmateState()
{
    m_history1.Save(m_saved1);
    m_history2.Save(m_saved2);
    if (m_hadFileName) {
        WriteRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, m_fileName.c_str());
    } else {
        RegKey key;
        if (key.Open(HKEY_CURRENT_USER, kRegPairmateKey, KEY_SET_VALUE) == ERROR_SUCCESS)
            ::RegDeleteValueA(key.Get(), kRegFileName);
    }
}

void BenchSlowShare(const std::vector<std::string>& programs, const std::string& standIn)
{
    const char* share = std::getenv("PAIRMATE_SLOW_SHARE");
    const char* data = std::getenv("PAIRMATE_SLOW_SHARE_DATA");
    if (!share || !data) {
        std::puts("slow share: PAIRMATE_SLOW_SHARE is not set (see scripts/slow-share.sh): skipped");
        return;
    }
    for (const char* name : {"a.txt", "b.txt"}) {
        HANDLE h = ::CreateFileA((std::string(data) + "\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                 CREATE_ALWAYS, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE) ::CloseHandle(h);
    }
    const SavedPairmateState saved;

    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string log = std::string(temp) + "pairmate-bench-standin.log";
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", "1000");
    std::puts("A slow share (1 s per lookup): longest wait of a posted message, milliseconds");
    std::puts("  typing \\\\...\\a.txt   during Compare   (Compare until the program started)   program");
    for (const std::string& program : programs) {
        const Figures f = TimeProgram(program, standIn, share, data, log);
        std::printf("  %16lu %16lu %21lu                    %s\n", f.typing, f.compare, f.compareTotal,
                    program.c_str());
    }
    ::DeleteFileA(log.c_str());
}
