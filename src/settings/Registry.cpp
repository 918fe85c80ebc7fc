#include "settings/Registry.h"

#include "framework/Handles.h"
#include "pathinput/PathTests.h"

#include <cstring>
#include <new>
#include <vector>

namespace {

const char kWinDiffKey[] = "SOFTWARE\\Microsoft\\Shared Tools\\windiff.exe";
const char kWinDiffPathValue[] = "Path";

} // namespace

int CreateRegKey(HKEY root, const char* path, const char* child)
{
    // Creating a key below another needs KEY_CREATE_SUB_KEY on the parent
    // handle; KEY_SET_VALUE alone is refused by Windows.
    RegKey parent;
    if (parent.Open(root, path, KEY_CREATE_SUB_KEY | KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
    RegKey created;
    if (created.Create(parent.Get(), child, KEY_ALL_ACCESS) != ERROR_SUCCESS) return 0;
    return 1;
}

int ReadRegDword(HKEY root, const char* path, const char* name, DWORD* out)
{
    if (!out) return 0;
    *out = 0;
    RegKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return 0;

    // Read into a local first: on ERROR_MORE_DATA the buffer's contents are
    // undefined, and the caller's value must stay 0 on failure.
    DWORD value = 0;
    DWORD type = 0;
    DWORD size = sizeof(value);
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) != ERROR_SUCCESS)
        return 0;
    *out = value;
    return 1;
}

int WriteRegDword(HKEY root, const char* path, const char* name, DWORD value)
{
    RegKey key;
    if (key.Open(root, path, KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
    return ::RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                            sizeof(value)) == ERROR_SUCCESS;
}

int ReadRegString(HKEY root, const char* path, const char* name, std::string& out)
{
    out.clear();
    RegKey key;
    if (key.Open(root, path, KEY_READ) != ERROR_SUCCESS) return 0;

    DWORD size = 0;
    if (::RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, &size) != ERROR_SUCCESS) return 0;

    // One byte more than the data, for the terminating NUL that values
    // written without one lack. A value too large for memory is a failure.
    std::vector<char> buffer;
    try {
        buffer.resize(static_cast<size_t>(size) + 1);
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (::RegQueryValueExA(key.Get(), name, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
        ERROR_SUCCESS)
        return 0;
    buffer[size] = '\0';
    out.assign(buffer.data(), std::strlen(buffer.data()));
    return 1;
}

int WriteRegString(HKEY root, const char* path, const char* name, const char* text)
{
    if (!text) return 0;
    RegKey key;
    if (key.Open(root, path, KEY_SET_VALUE) != ERROR_SUCCESS) return 0;
    const DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    return ::RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text), size) ==
           ERROR_SUCCESS;
}

int FindWinDiffPath(std::string& out)
{
    std::string path;
    if (!ReadRegString(HKEY_LOCAL_MACHINE, kWinDiffKey, kWinDiffPathValue, path)) return 0;
    if (!IsExistingFile(path)) return 0;
    out = path;
    return 1;
}
