// Timings of the path-history operations, of one process start, of
// Pairmate's start-up (against a reference program started the same way) and
// of one Compare, printed for a person to read (run by hand; not a test).
// The history timings work in their own scratch registry key, deleted at the
// end; the start-up and Compare timings put back the settings and histories
// they touch.
#include "app/RunProcess.h"
#include "framework/Handles.h"
#include "settings/PathHistory.h"
#include "settings/Registry.h"
#include "settings/Settings.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

const char kBenchKey[] = "Software\\PairmateBench";
const char kListKey[] = "Software\\PairmateBench\\History";

double Seconds(const LARGE_INTEGER& from, const LARGE_INTEGER& to)
{
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        ::QueryPerformanceFrequency(&f);
        return f;
    }();
    return static_cast<double>(to.QuadPart - from.QuadPart) / static_cast<double>(frequency.QuadPart);
}

struct Timing {
    double median;
    double min;
};

// Median and fastest time in milliseconds of `runs` calls of `timed`, each
// after an untimed `prepare`.
Timing TimeMs(int runs, const std::function<void()>& prepare, const std::function<void()>& timed)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        prepare();
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        timed();
        ::QueryPerformanceCounter(&end);
        times.push_back(Seconds(start, end) * 1000.0);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.front()};
}

// The same list operations with one registry operation (one key open) per
// value, for comparison with the single open of PathHistory.
void SavePerValue(const std::vector<std::string>& entries)
{
    WriteRegDword(HKEY_CURRENT_USER, kListKey, "Size", static_cast<DWORD>(entries.size()));
    DWORD index = 1;
    for (const std::string& entry : entries)
        WriteRegString(HKEY_CURRENT_USER, kListKey, PathHistory::DataValueName(index++).c_str(), entry.c_str());
}

void LoadPerValue(std::vector<std::string>& out)
{
    DWORD size = 0;
    if (!ReadRegDword(HKEY_CURRENT_USER, kListKey, "Size", &size)) return;
    std::string text;
    for (DWORD i = 1; i <= size; ++i) {
        if (ReadRegString(HKEY_CURRENT_USER, kListKey, PathHistory::DataValueName(i).c_str(), text) && !text.empty())
            out.push_back(text);
    }
}

void Print(const Timing& t)
{
    std::printf("  %7.1f (%6.1f)", t.median, t.min);
}

std::vector<std::string> MakeEntries(int count)
{
    std::vector<std::string> entries;
    for (int i = 1; i <= count; ++i)
        entries.push_back("C:\\Users\\user\\Documents\\Projects\\比較フォルダ " + std::to_string(i) + "\\file.txt");
    return entries;
}

void DeleteScratchKeys()
{
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kListKey);
    ::RegDeleteKeyA(HKEY_CURRENT_USER, kBenchKey);
}

void BenchHistories()
{
    DeleteScratchKeys();
    {
        RegKey key;
        if (key.Create(HKEY_CURRENT_USER, kListKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) {
            std::puts("cannot create the scratch key");
            return;
        }
    }
    const PathHistory history(HKEY_CURRENT_USER, kListKey);

    std::puts("PathHistory, milliseconds: median of the runs (fastest run)");
    std::puts("  entries runs            Save             Load         Add(new)  Add(last again)"
              "  | one open per value: Save  Load");
    for (int count : {10, 100, 1000, 10000}) {
        const int runs = count <= 100 ? 21 : count <= 1000 ? 7 : 3;
        const std::vector<std::string> entries = MakeEntries(count);
        const auto reset = [&] { history.Save(entries); };
        const auto nothing = [] {};

        std::vector<std::string> loaded;
        const auto clear = [&] { loaded.clear(); };
        const Timing save = TimeMs(runs, nothing, reset);
        const Timing load = TimeMs(runs, clear, [&] { history.Load(loaded); });
        const Timing addNew = TimeMs(runs, reset, [&] { history.Add("D:\\new path\\file.txt"); });
        const Timing addOld = TimeMs(runs, reset, [&] { history.Add(entries.back()); });
        const Timing savePerValue = TimeMs(runs, nothing, [&] { SavePerValue(entries); });
        const Timing loadPerValue = TimeMs(runs, clear, [&] { LoadPerValue(loaded); });

        reset();
        loaded.clear();
        history.Load(loaded);
        std::printf("  %7d %4d", count, runs);
        for (const Timing& t : {save, load, addNew, addOld}) Print(t);
        std::printf("  | %7.1f %7.1f%s\n", savePerValue.median, loadPerValue.median,
                    loaded == entries ? "" : "  (list not as saved!)");
    }
    DeleteScratchKeys();
}

void BenchRunProcess()
{
    char module[MAX_PATH];
    const DWORD length = ::GetModuleFileNameA(nullptr, module, MAX_PATH);
    std::string program(module, length);
    program = program.substr(0, program.find_last_of('\\') + 1) + "fake_windiff.exe";
    if (::GetFileAttributesA(program.c_str()) == INVALID_FILE_ATTRIBUTES) {
        std::printf("RunProcess: %s not found\n", program.c_str());
        return;
    }
    // The stand-in ends by itself shortly after; it writes no log here.
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", nullptr);
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", "300");

    std::puts("RunProcess of the stand-in, start to return (ready for input), milliseconds");
    for (int i = 1; i <= 3; ++i) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        const BOOL started = RunProcess(program.c_str(), "\"C:\\a.txt\" \"C:\\b.txt\"");
        ::QueryPerformanceCounter(&end);
        std::printf("  run %d: %8.1f%s\n", i, Seconds(start, end) * 1000.0, started ? "" : "  (failed to start)");
    }
}

// A visible top-level window of one process, with a given title or any.
struct WindowSearch {
    DWORD pid;
    const char* title;
    HWND found;

    static BOOL CALLBACK Visit(HWND hwnd, LPARAM lParam)
    {
        auto* s = reinterpret_cast<WindowSearch*>(lParam);
        DWORD pid = 0;
        ::GetWindowThreadProcessId(hwnd, &pid);
        if (pid != s->pid || !::IsWindowVisible(hwnd)) return TRUE;
        char text[64] = {};
        ::GetWindowTextA(hwnd, text, sizeof(text));
        if (s->title && std::string(text) != s->title) return TRUE;
        s->found = hwnd;
        return FALSE;
    }
};

// A started program, ended (WM_CLOSE, then terminated) when it goes.
class StartedProgram {
public:
    ~StartedProgram() { End(); }
    bool Start(const std::string& commandLine)
    {
        std::string line = commandLine;
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        return ::CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi) != FALSE;
    }
    // The first visible top-level window of the process (with that title,
    // when one is given), or nullptr.
    HWND VisibleWindow(const char* title) const
    {
        WindowSearch search = {m_pi.dwProcessId, title, nullptr};
        ::EnumWindows(&WindowSearch::Visit, reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    void End()
    {
        if (!m_pi.hProcess) return;
        if (HWND hwnd = VisibleWindow(nullptr)) ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_pi.hProcess, 5000) != WAIT_OBJECT_0) ::TerminateProcess(m_pi.hProcess, 1);
        ::WaitForSingleObject(m_pi.hProcess, 5000);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
        m_pi = {};
    }

private:
    PROCESS_INFORMATION m_pi = {};
};

// Milliseconds from CreateProcess to a visible window (-1: none within 30 s).
double TimeToVisibleWindow(StartedProgram& program, const std::string& commandLine, const char* title,
                           HWND* window)
{
    LARGE_INTEGER start, now;
    ::QueryPerformanceCounter(&start);
    if (!program.Start(commandLine)) return -1;
    for (;;) {
        if (HWND hwnd = program.VisibleWindow(title)) {
            ::QueryPerformanceCounter(&now);
            if (window) *window = hwnd;
            return Seconds(start, now) * 1000.0;
        }
        ::QueryPerformanceCounter(&now);
        if (Seconds(start, now) > 30.0) return -1;
        ::Sleep(1);
    }
}

std::string Folder(const char* module)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(module ? ::GetModuleHandleA(module) : nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// Pairmate's start-up to its visible bar against Wine's notepad, started
// the same way in the same run; then the time of one Compare (the command
// sent to the bar until it returns) with the stand-in as WinDiff.
void BenchStartUpAndCompare()
{
    const std::string bin = Folder(nullptr);
    const std::string pairmate = "\"" + bin + "\\pairmate.exe\"";
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    const std::string notepad = "\"" + std::string(windows) + "\\notepad.exe\"";

    // Keep the user's settings and histories; point the program at the
    // stand-in so that no set-up dialog waits, and let the stand-ins end soon.
    std::string savedFileName;
    const bool hadFileName = ReadRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, savedFileName) != 0;
    PathHistory history1(HKEY_CURRENT_USER, kRegHistory1Key), history2(HKEY_CURRENT_USER, kRegHistory2Key);
    std::vector<std::string> saved1, saved2;
    history1.Load(saved1);
    history2.Load(saved2);
    std::string dummy;
    BOOL autoMinimize = TRUE;
    LoadPairmateSettings(dummy, autoMinimize); // creates the keys on a fresh profile
    WriteRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, (bin + "\\fake_windiff.exe").c_str());
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", "1000");

    std::printf("Start-up to a visible window, milliseconds (ratio Pairmate / notepad)\n");
    std::vector<double> ratios;
    for (int i = 1; i <= 5; ++i) {
        StartedProgram reference, program;
        const double ref = TimeToVisibleWindow(reference, notepad, nullptr, nullptr);
        reference.End();
        const double bar = TimeToVisibleWindow(program, pairmate, "Pairmate", nullptr);
        program.End();
        std::printf("  run %d: Pairmate %8.1f   notepad %8.1f   ratio %5.2f\n", i, bar, ref,
                    ref > 0 && bar > 0 ? bar / ref : 0.0);
        if (ref > 0 && bar > 0) ratios.push_back(bar / ref);
    }
    if (!ratios.empty()) {
        std::sort(ratios.begin(), ratios.end());
        std::printf("  median ratio %.2f\n", ratios[ratios.size() / 2]);
    }

    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string file1 = std::string(temp) + "pairmate-bench-a.txt";
    const std::string file2 = std::string(temp) + "pairmate-bench-b.txt";
    for (const std::string& f : {file1, file2}) {
        UniqueHandle h(::CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    }

    std::printf("Compare (command to return, stand-in as WinDiff), milliseconds\n");
    StartedProgram program;
    HWND bar = nullptr;
    if (TimeToVisibleWindow(program, pairmate, "Pairmate", &bar) > 0) {
        for (int i = 1; i <= 5; ++i) {
            ::SendMessageA(::GetDlgItem(bar, 600), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file1.c_str()));
            ::SendMessageA(::GetDlgItem(bar, 601), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file2.c_str()));
            LARGE_INTEGER start, end;
            ::QueryPerformanceCounter(&start);
            ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(32776, BN_CLICKED), 0);
            ::QueryPerformanceCounter(&end);
            std::printf("  run %d: %8.1f\n", i, Seconds(start, end) * 1000.0);
        }
    } else {
        std::printf("  the bar did not appear\n");
    }
    program.End();

    ::DeleteFileA(file1.c_str());
    ::DeleteFileA(file2.c_str());
    history1.Save(saved1);
    history2.Save(saved2);
    if (hadFileName) {
        WriteRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, savedFileName.c_str());
    } else {
        RegKey key;
        if (key.Open(HKEY_CURRENT_USER, kRegPairmateKey, KEY_SET_VALUE) == ERROR_SUCCESS)
            ::RegDeleteValueA(key.Get(), kRegFileName);
    }
}

} // namespace

int main()
{
    BenchHistories();
    BenchRunProcess();
    BenchStartUpAndCompare();
    return 0;
}
