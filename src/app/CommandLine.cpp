#include "app/CommandLine.h"

namespace {

bool IsBlank(wchar_t ch)
{
    return ch == L' ' || ch == L'\t';
}

bool IsSlash(wchar_t ch)
{
    return ch == L'\\' || ch == L'/';
}

// `rest` after `base`, with one backslash between them.
std::wstring Join(std::wstring base, const std::wstring& rest)
{
    if (!base.empty() && !IsSlash(base.back())) base += L'\\';
    return base + rest;
}

// The system's full path of a drive or root ("C:", "\"): where a path that
// starts there begins.
std::wstring FullPathOf(const wchar_t* start)
{
    WCHAR buffer[MAX_PATH * 2] = {};
    const DWORD n = ::GetFullPathNameW(start, MAX_PATH * 2, buffer, nullptr);
    return n > 0 && n < MAX_PATH * 2 ? std::wstring(buffer, n) : std::wstring();
}

// The longest path the program takes, in UTF-16 units.
constexpr size_t kMaxPathUnits = 32767;

} // namespace

std::vector<std::wstring> SplitCommandLine(const wchar_t* p)
{
    std::vector<std::wstring> arguments;
    if (!p) return arguments;
    // The program's name: up to the closing quote, or to white space.
    if (*p == L'"') {
        while (*++p && *p != L'"') {
        }
        if (*p) ++p;
    } else {
        while (*p && !IsBlank(*p)) ++p;
    }
    for (;;) {
        while (IsBlank(*p)) ++p;
        if (!*p) break;
        std::wstring argument;
        bool quoted = false;
        for (;;) {
            size_t backslashes = 0;
            while (*p == L'\\') {
                ++p;
                ++backslashes;
            }
            bool copy = true;
            if (*p == L'"') {
                if (backslashes % 2 == 0) {
                    // A quote inside quotes followed by another gives one
                    // quote; any other groups.
                    if (quoted && p[1] == L'"')
                        ++p;
                    else
                        copy = false;
                    quoted = !quoted;
                }
                backslashes /= 2;
            }
            argument.append(backslashes, L'\\');
            if (!*p || (!quoted && IsBlank(*p))) break;
            if (copy) argument += *p;
            ++p;
        }
        arguments.push_back(argument);
    }
    return arguments;
}

std::wstring AbsolutePath(const std::wstring& path)
{
    const bool drive = path.size() >= 2 && path[1] == L':';
    if (drive && path.size() >= 3 && IsSlash(path[2])) return path; // C:\...
    if (path.size() >= 2 && IsSlash(path[0]) && IsSlash(path[1])) return path; // \\server\... and \\?\...
    if (drive) return Join(FullPathOf(path.substr(0, 2).c_str()), path.substr(2)); // C:rest, in C:'s current folder
    if (!path.empty() && IsSlash(path[0])) {
        std::wstring root = FullPathOf(L"\\"); // the current drive's root
        if (!root.empty() && IsSlash(root.back())) root.pop_back();
        return root + path;
    }
    WCHAR folder[MAX_PATH * 2] = {};
    const DWORD n = ::GetCurrentDirectoryW(MAX_PATH * 2, folder);
    return Join(n > 0 && n < MAX_PATH * 2 ? std::wstring(folder, n) : std::wstring(), path);
}

BOOL ReadPathArguments(const wchar_t* commandLine, std::vector<std::wstring>& paths)
{
    paths.clear();
    const std::vector<std::wstring> arguments = SplitCommandLine(commandLine);
    if (arguments.size() > 2) return FALSE;
    for (const std::wstring& argument : arguments) {
        if (argument.empty()) continue; // "" names nothing
        if (argument[0] == L'/' || argument[0] == L'-') return FALSE;
        paths.push_back(AbsolutePath(argument));
    }
    return TRUE;
}

std::vector<WCHAR> PackPaths(const std::vector<std::wstring>& paths)
{
    std::vector<WCHAR> packed;
    for (const std::wstring& path : paths) {
        packed.insert(packed.end(), path.begin(), path.end());
        packed.push_back(L'\0');
    }
    return packed;
}

BOOL UnpackPaths(const COPYDATASTRUCT* data, std::vector<std::wstring>& paths)
{
    paths.clear();
    // Sent by any program: checked before anything is taken.
    if (!data || data->dwData != kPathsCopyData || !data->lpData || data->cbData % sizeof(WCHAR) != 0 ||
        data->cbData > 2 * (kMaxPathUnits + 1) * sizeof(WCHAR))
        return FALSE;
    const auto* units = static_cast<const WCHAR*>(data->lpData);
    const size_t count = data->cbData / sizeof(WCHAR);
    if (count == 0 || units[count - 1] != L'\0') return FALSE;
    for (size_t start = 0; start < count;) {
        const std::wstring path(units + start);
        if (path.empty() || path.size() > kMaxPathUnits || paths.size() == 2) {
            paths.clear();
            return FALSE;
        }
        paths.push_back(path);
        start += path.size() + 1;
    }
    return TRUE;
}
