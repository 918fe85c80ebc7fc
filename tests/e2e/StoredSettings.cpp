// What the running program keeps in the registry, as the end-to-end tests
// lay it out before a start and read it back afterwards: the settings under
// the program's key, both histories, and Microsoft's entry for WinDiff.
#include "e2e/PairmateProcess.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"

#include <cstdio>

namespace {

const char* const kKey = "Software\\Velmora\\Pairmate";

void DeleteKeyTree(HKEY root, const std::string& path)
{
    RegKey key;
    if (key.Open(root, path.c_str(), KEY_READ | KEY_WRITE) == ERROR_SUCCESS) {
        for (;;) {
            char name[512];
            DWORD len = sizeof(name);
            if (::RegEnumKeyExA(key.Get(), 0, name, &len, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            DeleteKeyTree(root, path + "\\" + name);
        }
        key.Close();
    }
    ::RegDeleteKeyA(root, path.c_str());
}

void WriteString(HKEY key, const char* name, const std::string& value)
{
    ::RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1));
}

// A history's key under the program's key, and the name of its entry `index`.
std::string HistoryKey(int slot)
{
    return std::string(kKey) + (slot == 1 ? "\\File1" : "\\File2");
}

std::wstring HistoryValueName(DWORD index)
{
    wchar_t name[32];
    std::swprintf(name, 32, L"Data%08lu", static_cast<unsigned long>(index));
    return name;
}

void WriteHistory(int slot, const std::vector<std::string>& entries)
{
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, HistoryKey(slot).c_str(), KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    DWORD size = static_cast<DWORD>(entries.size());
    ::RegSetValueExA(key.Get(), "Size", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&size), sizeof(size));
    for (size_t i = 0; i < entries.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof(name), "Data%08lu", static_cast<unsigned long>(i + 1));
        WriteString(key.Get(), name, entries[i]);
    }
}

} // namespace

void ResetRegistry(const StoredSettings& settings)
{
    DeleteKeyTree(HKEY_CURRENT_USER, kKey);
    RegKey key;
    if (key.Create(HKEY_CURRENT_USER, kKey, KEY_ALL_ACCESS) != ERROR_SUCCESS) return;
    if (settings.hasFileName) WriteString(key.Get(), "FileName", settings.fileName);
    if (settings.hasAutoMinimize)
        ::RegSetValueExA(key.Get(), "AutoMinimized", 0, REG_DWORD,
                         reinterpret_cast<const BYTE*>(&settings.autoMinimize), sizeof(DWORD));
    if (settings.hasArguments) WriteString(key.Get(), "Arguments", settings.arguments);
    if (settings.hasMonitor) WriteString(key.Get(), "Monitor", settings.monitor);
    if (!settings.history1.empty()) WriteHistory(1, settings.history1);
    if (!settings.history2.empty()) WriteHistory(2, settings.history2);
}

bool ReadStoredString(const char* name, std::string& out)
{
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kKey, KEY_READ) != ERROR_SUCCESS) return false;
    char buf[4096] = {};
    DWORD size = sizeof(buf) - 1, type = 0;
    if (::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(buf), &size) != ERROR_SUCCESS)
        return false;
    out = buf;
    return true;
}

std::string StoredString(const char* name)
{
    std::string value;
    return ReadStoredString(name, value) ? value : std::string("(none)");
}

bool ReadStoredDword(const char* name, DWORD& out)
{
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kKey, KEY_READ) != ERROR_SUCCESS) return false;
    DWORD size = sizeof(out), type = 0;
    return ::RegQueryValueExA(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&out), &size) ==
           ERROR_SUCCESS;
}

bool ReadHistorySize(int slot, DWORD& out)
{
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, HistoryKey(slot).c_str(), KEY_READ) != ERROR_SUCCESS) return false;
    DWORD size = sizeof(out), type = 0;
    return ::RegQueryValueExA(key.Get(), "Size", nullptr, &type, reinterpret_cast<BYTE*>(&out), &size) ==
           ERROR_SUCCESS;
}

void DeleteStoredValue(const char* name)
{
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kKey, KEY_SET_VALUE) == ERROR_SUCCESS) ::RegDeleteValueA(key.Get(), name);
}

namespace {
const char* const kSharedTools = "SOFTWARE\\Microsoft\\Shared Tools";
const char* const kMicrosoftWinDiff = "SOFTWARE\\Microsoft\\Shared Tools\\windiff.exe";

bool KeyExists(HKEY root, const char* path)
{
    RegKey key;
    return key.Open(root, path, KEY_READ) == ERROR_SUCCESS;
}
} // namespace

ScopedMicrosoftWinDiffPath::ScopedMicrosoftWinDiffPath()
{
    m_hadSharedTools = KeyExists(HKEY_LOCAL_MACHINE, kSharedTools);
    RegKey key;
    m_hadKey = key.Open(HKEY_LOCAL_MACHINE, kMicrosoftWinDiff, KEY_READ) == ERROR_SUCCESS;
    DWORD size = 0;
    if (m_hadKey && ::RegQueryValueExA(key.Get(), "Path", nullptr, &m_pathType, nullptr, &size) == ERROR_SUCCESS) {
        m_path.resize(size);
        m_hadPath = ::RegQueryValueExA(key.Get(), "Path", nullptr, &m_pathType, m_path.data(), &size) ==
                    ERROR_SUCCESS;
    }
    Remove();
}

ScopedMicrosoftWinDiffPath::~ScopedMicrosoftWinDiffPath()
{
    Remove();
    if (m_hadKey) {
        RegKey key;
        if (key.Create(HKEY_LOCAL_MACHINE, kMicrosoftWinDiff, KEY_ALL_ACCESS) == ERROR_SUCCESS && m_hadPath)
            ::RegSetValueExA(key.Get(), "Path", 0, m_pathType, m_path.data(), static_cast<DWORD>(m_path.size()));
    }
    if (!m_hadSharedTools) ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kSharedTools);
}

bool ScopedMicrosoftWinDiffPath::Set(const std::string& path)
{
    RegKey key;
    if (key.Create(HKEY_LOCAL_MACHINE, kMicrosoftWinDiff, KEY_ALL_ACCESS) != ERROR_SUCCESS) return false;
    return ::RegSetValueExA(key.Get(), "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.c_str()),
                            static_cast<DWORD>(path.size() + 1)) == ERROR_SUCCESS;
}

void ScopedMicrosoftWinDiffPath::Remove()
{
    ::RegDeleteKeyA(HKEY_LOCAL_MACHINE, kMicrosoftWinDiff);
}

std::vector<std::wstring> ReadHistoryW(int slot)
{
    std::vector<std::wstring> entries;
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, HistoryKey(slot).c_str(), KEY_READ) != ERROR_SUCCESS) return entries;
    DWORD count = 0, size = sizeof(count), type = 0;
    if (::RegQueryValueExW(key.Get(), L"Size", nullptr, &type, reinterpret_cast<BYTE*>(&count), &size) !=
        ERROR_SUCCESS)
        return entries;
    for (DWORD i = 1; i <= count && i < 100000; ++i) {
        wchar_t buf[4096] = {};
        DWORD len = sizeof(buf) - sizeof(wchar_t);
        const std::wstring name = HistoryValueName(i);
        if (::RegQueryValueExW(key.Get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buf), &len) ==
            ERROR_SUCCESS)
            entries.push_back(buf);
    }
    return entries;
}

void WriteStoredHistoryEntry(int slot, DWORD index, const std::wstring& text)
{
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, HistoryKey(slot).c_str(), KEY_SET_VALUE) != ERROR_SUCCESS) return;
    const DWORD bytes = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    ::RegSetValueExW(key.Get(), HistoryValueName(index).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                     bytes);
}

std::vector<std::string> ReadHistory(int slot)
{
    std::vector<std::string> entries;
    for (const std::wstring& entry : ReadHistoryW(slot)) entries.push_back(ToAnsi(entry));
    return entries;
}

Histories ReadHistories()
{
    return {ReadHistory(1), ReadHistory(2)};
}

HistoriesW ReadHistoriesW()
{
    return {ReadHistoryW(1), ReadHistoryW(2)};
}
