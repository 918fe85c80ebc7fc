#include "settings/Registry.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "pathinput/PathTests.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

bool IsTextType(DWORD type)
{
    return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// Whether `text`, just read through the ANSI function, is the stored text:
// a text value's UTF-16 text must come back from it unchanged.
bool IsStoredTextExactly(HKEY key, const char* name, const std::string& text)
{
    RegRawValue raw;
    if (!ReadRegRawValue(key, name, raw) || !IsTextType(raw.type)) return true;
    // Whole UTF-16 units up to the first NUL, as the ANSI read converts them.
    std::wstring stored(raw.size / sizeof(WCHAR), L'\0');
    if (!stored.empty()) std::memcpy(&stored[0], raw.data.get(), stored.size() * sizeof(WCHAR));
    return ToWide(text) == stored.c_str();
}

const char kWinDiffKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\windiff.exe";
const char kWinDiffPathValue[] = "Path";

} // namespace

int CreateRegKey(HKEY root, const char* path, const char* child)
{
    // KEY_CREATE_SUB_KEY is the access that creating a key below another
    // needs on the parent handle.
    RegKey parent;
    if (parent.Open(root, path, KEY_CREATE_SUB_KEY | KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
    RegKey created;
    if (created.Create(parent.Get(), child, KEY_ALL_ACCESS) != ERROR_SUCCESS) return 0;
    return 1;
}

int ReadRegDwordValue(HKEY key, const char* name, DWORD* out)
{
    if (!out) return 0;
    *out = 0;
    // Read into a local first: on ERROR_MORE_DATA the buffer's contents are
    // undefined, and the caller's value must stay 0 on failure.
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return 0;
    *out = value;
    return 1;
}

int WriteRegDwordValue(HKEY key, const char* name, DWORD value)
{
    return ::RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof(value)) ==
           ERROR_SUCCESS;
}

int ReadRegStringValue(HKEY key, const char* name, std::string& out)
{
    out.clear();
    // Most values are paths: try a buffer of that size first, which saves
    // asking for the size separately. One byte is kept back for the
    // terminating NUL that values written without one lack.
    char small[2 * MAX_PATH + 1];
    DWORD size = sizeof(small) - 1;
    LONG rc = ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(small), &size);
    if (rc == ERROR_SUCCESS) {
        small[size] = '\0';
        out.assign(small, std::strlen(small));
    } else if (rc != ERROR_MORE_DATA) {
        return 0;
    } else {
        // Larger data: `size` now holds its length. A value too large for
        // memory is a failure.
        std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(size) + 1]);
        if (!buffer ||
            ::RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.get()), &size) !=
                ERROR_SUCCESS)
            return 0;
        buffer[size] = '\0';
        out.assign(buffer.get(), std::strlen(buffer.get()));
    }
    if (IsStoredTextExactly(key, name, out)) return 1;
    out.clear();
    return 0;
}

int ReadRegSzValue(HKEY key, const char* name, std::string& out)
{
    out.clear();
    DWORD type = REG_NONE;
    if (::RegQueryValueExA(key, name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS || type != REG_SZ) return 0;
    return ReadRegStringValue(key, name, out);
}

int WriteRegStringValue(HKEY key, const char* name, const char* text)
{
    if (!text) return 0;
    const DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    return ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) == ERROR_SUCCESS;
}

int ReadRegRawValue(HKEY key, const char* name, RegRawValue& out)
{
    const std::wstring wideName = ToWide(name ? name : "");
    // A path-sized buffer first: most values fit, and need one call. A
    // value too large for memory is a failure.
    DWORD size = 2 * MAX_PATH * sizeof(WCHAR);
    LONG rc = ERROR_MORE_DATA;
    for (int tries = 0; rc == ERROR_MORE_DATA && tries < 2; ++tries) {
        out.data.reset(new (std::nothrow) BYTE[size ? size : 1]);
        if (!out.data) break;
        rc = ::RegQueryValueExW(key, wideName.c_str(), nullptr, &out.type, out.data.get(), &size);
    }
    if (rc != ERROR_SUCCESS || !out.data) {
        out.data.reset();
        out.size = 0;
        return 0;
    }
    out.size = size;
    return 1;
}

int WriteRegRawValue(HKEY key, const char* name, const RegRawValue& value)
{
    const std::wstring wideName = ToWide(name ? name : "");
    return ::RegSetValueExW(key, wideName.c_str(), 0, value.type, value.data.get(), value.size) == ERROR_SUCCESS;
}

int ReadRegDword(HKEY root, const char* path, const char* name, DWORD* out)
{
    if (!out) return 0;
    *out = 0;
    RegKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return 0;
    return ReadRegDwordValue(key.Get(), name, out);
}

int WriteRegDword(HKEY root, const char* path, const char* name, DWORD value)
{
    RegKey key;
    if (key.Open(root, path, KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
    return WriteRegDwordValue(key.Get(), name, value);
}

int ReadRegString(HKEY root, const char* path, const char* name, std::string& out)
{
    out.clear();
    RegKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return 0;
    return ReadRegStringValue(key.Get(), name, out);
}

int WriteRegString(HKEY root, const char* path, const char* name, const char* text)
{
    if (!text) return 0;
    RegKey key;
    if (key.Open(root, path, KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
    return WriteRegStringValue(key.Get(), name, text);
}

int FindWinDiffPath(std::string& out)
{
    std::string path;
    if (!ReadRegString(HKEY_LOCAL_MACHINE, kWinDiffKey, kWinDiffPathValue, path)) return 0;
    if (!IsExistingFile(path)) return 0;
    out = path;
    return 1;
}
