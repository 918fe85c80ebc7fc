#include "settings/ProgramArguments.h"

#include "settings/TextCompare.h"

#include <windows.h>

const char kPlainArguments[] = "%1 %2";

namespace {

struct ProgramPreset {
    const char* fileName;
    const char* arguments;
    bool comparesFolders;
};

const ProgramPreset kPresets[] = {
    {"Code.exe", "--diff %1 %2", false},
    {"Code - Insiders.exe", "--diff %1 %2", false},
    {"VSCodium.exe", "--diff %1 %2", false},
    {"TortoiseGitMerge.exe", "/base:%1 /mine:%2", false},
    {"TortoiseMerge.exe", "/base:%1 /mine:%2", false},
    {"smerge.exe", "mergetool %1 %2", false},
    {"devenv.exe", "/Diff %1 %2", false},
    {"idea64.exe", "diff %1 %2", true},
    {"pycharm64.exe", "diff %1 %2", true},
    {"rider64.exe", "diff %1 %2", true},
    {"webstorm64.exe", "diff %1 %2", true},
    {"clion64.exe", "diff %1 %2", true},
    {"goland64.exe", "diff %1 %2", true},
    {"phpstorm64.exe", "diff %1 %2", true},
};

// The part of `program` after its last folder separator. A trail byte 0x5C
// of a double-byte character separates nothing.
std::string FileNameOf(const std::string& program)
{
    size_t start = 0;
    for (size_t i = 0; i < program.size(); ++i) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(program[i])) && i + 1 < program.size())
            ++i;
        else if (program[i] == '\\' || program[i] == '/' || program[i] == ':')
            start = i + 1;
    }
    return program.substr(start);
}

const ProgramPreset* PresetOf(const std::string& program)
{
    const std::string name = FileNameOf(program);
    for (const ProgramPreset& preset : kPresets)
        if (IsSameTextNoCase(name, preset.fileName)) return &preset;
    return nullptr;
}

// Calls `onText` with each run of literal text and `onPath` with 1 or 2 for
// each placeholder of `line`, in order.
template <typename Text, typename Path>
void ScanArguments(const std::string& line, Text onText, Path onPath)
{
    size_t from = 0;
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        if (line[i] != '%') continue;
        const char next = line[i + 1];
        if (next != '1' && next != '2' && next != '%') continue;
        onText(line.substr(from, i - from));
        if (next == '%')
            onText("%");
        else
            onPath(next - '0');
        from = ++i + 1;
    }
    onText(line.substr(from));
}

} // namespace

const char* PresetArguments(const std::string& program)
{
    const ProgramPreset* preset = PresetOf(program);
    return preset ? preset->arguments : kPlainArguments;
}

bool ComparesFolders(const std::string& program)
{
    const ProgramPreset* preset = PresetOf(program);
    return !preset || preset->comparesFolders;
}

bool HasBothPlaceholders(const std::string& line)
{
    bool seen[3] = {};
    ScanArguments(line, [](const std::string&) {}, [&](int k) { seen[k] = true; });
    return seen[1] && seen[2];
}

std::string ArgumentsInForce(const std::string& program, const std::string& stored)
{
    return HasBothPlaceholders(stored) ? stored : PresetArguments(program);
}

std::string QuotedArgument(const std::string& path)
{
    // A run of backslashes right before a quote escapes it ("C:\" would
    // arrive as C:"), so such a run is doubled. Other backslashes and the
    // path itself are left alone.
    size_t trailingBackslashes = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
            trailingBackslashes = 0;
        } else {
            trailingBackslashes = path[i] == '\\' ? trailingBackslashes + 1 : 0;
        }
    }
    return "\"" + path + std::string(trailingBackslashes, '\\') + "\"";
}

std::string CompareCommandLine(const std::string& program, const std::string& stored, const std::string& path1,
                               const std::string& path2)
{
    const std::string quoted[3] = {"", QuotedArgument(path1), QuotedArgument(path2)};
    std::string line = "\"" + program + "\" ";
    ScanArguments(
        ArgumentsInForce(program, stored), [&](const std::string& text) { line += text; },
        [&](int k) { line += quoted[k]; });
    return line;
}
