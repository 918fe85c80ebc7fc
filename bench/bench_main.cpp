// Timings of the path-history operations and of one process start, printed
// for a person to read (run by hand; not a test). Works in its own scratch
// registry key, deleted at the end.
#include "app/RunProcess.h"
#include "framework/Handles.h"
#include "settings/PathHistory.h"
#include "settings/Registry.h"

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

} // namespace

int main()
{
    BenchHistories();
    BenchRunProcess();
    return 0;
}
