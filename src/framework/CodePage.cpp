#include "framework/CodePage.h"

#include <climits>
#include <utility>
#include <vector>

std::string ToAnsi(const std::wstring& text)
{
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return std::string();
    const int length = static_cast<int>(text.size());
    const int size = ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, text.data(), length, &out[0], size, nullptr, nullptr);
    return out;
}

std::wstring ToWide(const std::string& text)
{
    if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return std::wstring();
    const int length = static_cast<int>(text.size());
    const int size = ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (size <= 0) return std::wstring();
    std::wstring out(static_cast<size_t>(size), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.data(), length, &out[0], size);
    return out;
}

bool ToAnsiExact(const std::wstring& text, std::string& out)
{
    std::string ansi = ToAnsi(text);
    if (ToWide(ansi) != text) return false;
    out = std::move(ansi);
    return true;
}

bool ToWideExact(const char* bytes, size_t length, std::wstring& out)
{
    if (length == 0) {
        out.clear();
        return true;
    }
    if (length > static_cast<size_t>(INT_MAX)) return false;
    const int size = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), nullptr, 0);
    if (size <= 0) return false;
    std::wstring wide(static_cast<size_t>(size), L'\0');
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, static_cast<int>(length), &wide[0], size) != size)
        return false;
    out = std::move(wide);
    return true;
}

std::wstring GetWindowTextWide(HWND hwnd)
{
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0) return std::wstring();
    std::vector<WCHAR> buffer(static_cast<size_t>(length) + 2, L'\0');
    const int got = ::GetWindowTextW(hwnd, buffer.data(), length + 1);
    return std::wstring(buffer.data(), got > 0 ? static_cast<size_t>(got) : 0);
}
