// Timings of the path-history operations, of one process start, of
// Pairmate's start-up (against Wine's notepad started the same way, and
// against other builds of Pairmate named on the command line) and of the
// first icon, drop and Compare of a fresh bar, printed for a person to read
// (run by hand; not a test).
// The history timings work in their own scratch registry key, deleted at the
// end; the start-up and Compare timings put back the settings and histories
// they touch.
#include "app/MainFrame.h"
#include "bench_slow_share.h"
#include "app/RunProcess.h"
#include "framework/Handles.h"
#include "settings/PathHistory.h"
#include "settings/Registry.h"
#include "settings/Settings.h"
#include "e2e/PairmateProcess.h"
#include "support/drop_data.h"

#include <windows.h>
#include <ole2.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
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
        for (HWND hwnd : ProcessWindows(m_pi.dwProcessId)) {
            if (!::IsWindowVisible(hwnd)) continue;
            // The stored title, read without a message: the program may not
            // answer messages yet while it starts.
            char text[64] = {};
            ::GetWindowTextA(hwnd, text, sizeof(text));
            if (!title || std::string(text) == title) return hwnd;
        }
        return nullptr;
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

// Milliseconds since `start`.
double MsSince(const LARGE_INTEGER& start)
{
    LARGE_INTEGER now;
    ::QueryPerformanceCounter(&now);
    return Seconds(start, now) * 1000.0;
}

// Polls `done` every millisecond; false after 30 s.
bool Poll(const std::function<bool()>& done)
{
    LARGE_INTEGER start;
    ::QueryPerformanceCounter(&start);
    while (!done()) {
        if (MsSince(start) > 30000.0) return false;
        ::Sleep(1);
    }
    return true;
}

// Starts the program and waits for its first visible window (with that
// title when one is given). `start` receives the moment of CreateProcess;
// the result is the milliseconds until the window showed, -1 when none did.
double StartToVisibleWindow(StartedProgram& program, const std::string& commandLine, const char* title,
                            LARGE_INTEGER& start, HWND* window = nullptr)
{
    ::QueryPerformanceCounter(&start);
    if (!program.Start(commandLine)) return -1;
    HWND hwnd = nullptr;
    if (!Poll([&] { return (hwnd = program.VisibleWindow(title)) != nullptr; })) return -1;
    const double ms = MsSince(start);
    if (window) *window = hwnd;
    return ms;
}

std::string Folder(const char* module)
{
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(module ? ::GetModuleHandleA(module) : nullptr, path, MAX_PATH);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\'));
}

// Times of one kind, in milliseconds; failed runs (negative) are counted
// apart.
struct Samples {
    std::vector<double> values;
    int failed = 0;
    void Add(double ms)
    {
        if (ms < 0) ++failed;
        else values.push_back(ms);
    }
    double Median() const
    {
        if (values.empty()) return -1;
        std::vector<double> sorted = values;
        std::sort(sorted.begin(), sorted.end());
        return sorted[sorted.size() / 2];
    }
    double Min() const { return values.empty() ? -1 : *std::min_element(values.begin(), values.end()); }
    void Print() const
    {
        std::printf(" %8.1f (%7.1f)", Median(), Min());
        if (failed) std::printf(" [%d failed]", failed);
    }
};

// A pairmate.exe to time: this build's, or another one named on the
// command line (an earlier build, say), timed in the same run.
struct Candidate {
    std::string label;
    std::string commandLine;
};

std::string Notepad()
{
    char windows[MAX_PATH] = {};
    ::GetWindowsDirectoryA(windows, MAX_PATH);
    return "\"" + std::string(windows) + "\\notepad.exe\"";
}

// Start-up to the first visible window of each candidate and of Wine's
// notepad, interleaved: every round starts each program once, in an order
// that rotates from round to round.
void BenchStartUp(int rounds, const std::vector<Candidate>& candidates)
{
    const std::string notepad = Notepad();
    const size_t n = candidates.size() + 1; // index 0: notepad
    std::vector<Samples> times(n);
    std::vector<Samples> ratios(n);
    std::printf("Start-up to the first visible window, milliseconds: median (fastest) of %d interleaved starts\n",
                rounds);
    for (int r = 0; r < rounds; ++r) {
        std::vector<double> round(n, -1);
        for (size_t j = 0; j < n; ++j) {
            const size_t k = (j + static_cast<size_t>(r)) % n;
            StartedProgram program;
            LARGE_INTEGER start;
            round[k] = k == 0 ? StartToVisibleWindow(program, notepad, nullptr, start)
                              : StartToVisibleWindow(program, candidates[k - 1].commandLine, "Pairmate", start);
            times[k].Add(round[k]);
        }
        for (size_t k = 1; k < n; ++k)
            ratios[k].Add(round[0] > 0 && round[k] > 0 ? round[k] / round[0] : -1);
    }
    std::printf("  %-44s", "notepad");
    times[0].Print();
    std::printf("\n");
    for (size_t k = 1; k < n; ++k) {
        std::printf("  %-44s", candidates[k - 1].label.c_str());
        times[k].Print();
        const double ratio = times[0].Median() > 0 ? times[k].Median() / times[0].Median() : 0.0;
        std::printf("   ratio of medians %.2f, median of round ratios %.2f\n", ratio, ratios[k].Median());
    }
}

// The top-left corner of an icon box of the maximised bar, on the screen:
// its frame is drawn there when the box shows an icon.
POINT IconBoxCorner(HWND bar, int slot)
{
    const RECT rc = WindowRect(bar), work = WorkAreaRect();
    const int handleWidth = 15; // the shipped handle bitmap
    const CMainFrame::Layout layout =
        CMainFrame::ComputeLayout(work.right - work.left, handleWidth, rc.bottom - rc.top);
    const RECT& box = slot == 1 ? layout.icon1 : layout.icon2;
    return POINT{rc.left + box.left, rc.top + box.top};
}

bool IconShown(HWND bar, int slot)
{
    const POINT corner = IconBoxCorner(bar, slot);
    return ScreenPixel(corner.x, corner.y) == RGB(128, 128, 128);
}

// What a user does first with a fresh bar: slide it out (a click on the
// handle) and then show an icon (type a path), drop a file from another
// program, or Compare.
enum class Action { Icon, Drop, Compare };

struct ActionFiles {
    std::string file1, file2;
};

// Runs the action; true when it came to its visible end (icon drawn on the
// screen, or Compare returned).
bool RunAction(Action action, HWND bar, const ActionFiles& files)
{
    ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(32787, BN_CLICKED), 0); // maximise
    HWND combo1 = ::GetDlgItem(bar, 600), combo2 = ::GetDlgItem(bar, 601);
    switch (action) {
    case Action::Icon:
        ::SendMessageA(combo1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(files.file1.c_str()));
        ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(600, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(combo1));
        return Poll([&] { return IconShown(bar, 1); });
    case Action::Drop: {
        ComPtr<IDataObject> data = ShellDataObject({files.file2});
        const RECT rc = WindowRect(combo2);
        const POINT to = {(rc.left + rc.right) / 2, rc.top + 8};
        const DWORD effects = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
        if (!data || DragAndDrop(data.Get(), effects, to) == DROPEFFECT_NONE) return false;
        return Poll([&] { return IconShown(bar, 2); });
    }
    case Action::Compare:
        ::SendMessageA(combo1, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(files.file1.c_str()));
        ::SendMessageA(combo2, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(files.file2.c_str()));
        ::SendMessageA(bar, WM_COMMAND, MAKEWPARAM(32776, BN_CLICKED), 0);
        return true;
    }
    return false;
}

// The first icon, drop and Compare of a fresh program, each in a program of
// its own: once sent as soon as the bar is visible (the fastest user; the
// time counts from the bar's appearance and from the process start), and
// once after the program has answered a message (its start-up work done,
// as for a user who looks before acting; the time counts from the action).
void BenchFirstActions(int rounds, const std::vector<Candidate>& candidates, const ActionFiles& files)
{
    const struct {
        Action action;
        const char* name;
    } kActions[] = {{Action::Icon, "icon shown"}, {Action::Drop, "drop, icon shown"}, {Action::Compare, "Compare"}};
    const size_t actions = sizeof(kActions) / sizeof(kActions[0]);
    struct Figures {
        Samples fromVisible, fromStart, settled;
    };
    std::vector<std::vector<Figures>> figures(candidates.size(), std::vector<Figures>(actions));

    for (int r = 0; r < rounds; ++r) {
        for (size_t c = 0; c < candidates.size(); ++c) {
            for (size_t a = 0; a < actions; ++a) {
                for (int settled = 0; settled <= 1; ++settled) {
                    StartedProgram program;
                    LARGE_INTEGER start;
                    HWND bar = nullptr;
                    Figures& f = figures[c][a];
                    if (StartToVisibleWindow(program, candidates[c].commandLine, "Pairmate", start, &bar) < 0) {
                        (settled ? f.settled : f.fromVisible).Add(-1);
                        continue;
                    }
                    LARGE_INTEGER visible;
                    ::QueryPerformanceCounter(&visible);
                    if (settled) {
                        DWORD_PTR result = 0;
                        ::SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
                        LARGE_INTEGER issued;
                        ::QueryPerformanceCounter(&issued);
                        const bool done = RunAction(kActions[a].action, bar, files);
                        f.settled.Add(done ? MsSince(issued) : -1);
                    } else {
                        const bool done = RunAction(kActions[a].action, bar, files);
                        f.fromVisible.Add(done ? MsSince(visible) : -1);
                        f.fromStart.Add(done ? MsSince(start) : -1);
                    }
                }
            }
        }
    }

    std::printf("First actions of a fresh bar (maximise, then the action), milliseconds: median (fastest) of %d\n",
                rounds);
    std::printf("  %-18s %-27s %-27s %-27s\n", "", "at once: from visible", "at once: from start",
                "settled: from the action");
    for (size_t c = 0; c < candidates.size(); ++c) {
        std::printf("  %s\n", candidates[c].label.c_str());
        for (size_t a = 0; a < actions; ++a) {
            std::printf("    %-16s", kActions[a].name);
            figures[c][a].fromVisible.Print();
            figures[c][a].fromStart.Print();
            figures[c][a].settled.Print();
            std::printf("\n");
        }
    }
}

// Start-up against notepad, then the first actions, with the stand-in as
// WinDiff; the settings and histories these runs touch are put back.
void BenchStartUpAndFirstActions(int rounds, std::vector<Candidate> candidates, bool firstActions)
{
    const std::string bin = Folder(nullptr);
    candidates.insert(candidates.begin(), Candidate{"pairmate.exe (this build)", "\"" + bin + "\\pairmate.exe\""});

    // Keep the user's settings and histories; point the program at the
    // stand-in so that no set-up dialog waits, and let the stand-ins end soon.
    const SavedPairmateState saved;
    std::string dummy;
    BOOL autoMinimize = TRUE;
    LoadPairmateSettings(dummy, autoMinimize); // creates the keys on a fresh profile
    WriteRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, (bin + "\\fake_windiff.exe").c_str());
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", nullptr);
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", "1000");

    BenchStartUp(rounds, candidates);

    if (firstActions) {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        const ActionFiles files = {std::string(temp) + "pairmate-bench-a.txt",
                                   std::string(temp) + "pairmate-bench-b.txt"};
        for (const std::string& f : {files.file1, files.file2}) {
            UniqueHandle h(::CreateFileA(f.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        }
        BenchFirstActions(rounds, candidates, files);
        ::DeleteFileA(files.file1.c_str());
        ::DeleteFileA(files.file2.c_str());
    }
}

} // namespace

// pairmate_bench [SECTION [ROUNDS [PAIRMATE.EXE ...]]]
//   SECTION: all (the default), history, process, startup (start-up only),
//   first (start-up, then the first actions), slow (the bar's answers with
//   paths on a slow share, bench_slow_share.cpp; not part of all). ROUNDS:
//   interleaved rounds of the start-up timings (default 9). Further
//   pairmate.exe files (an earlier build, say) are timed in the same runs
//   as this build's.
int main(int argc, char** argv)
{
    const std::string section = argc > 1 ? argv[1] : "all";
    const int rounds = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    std::vector<Candidate> others;
    for (int i = 3; i < argc; ++i) others.push_back(Candidate{argv[i], std::string("\"") + argv[i] + "\""});

    // The drops of the first-action timings are real OLE drags from here.
    ::OleInitialize(nullptr);
    if (section == "all" || section == "history") BenchHistories();
    if (section == "all" || section == "process") BenchRunProcess();
    if (section == "all" || section == "startup" || section == "first")
        BenchStartUpAndFirstActions(rounds, others, section != "startup");
    if (section == "slow") {
        std::vector<std::string> programs = {Folder(nullptr) + "\\pairmate.exe"};
        for (int i = 3; i < argc; ++i) programs.push_back(argv[i]);
        BenchSlowShare(programs, Folder(nullptr) + "\\fake_windiff.exe");
    }
    ::OleUninitialize();
    return 0;
}
