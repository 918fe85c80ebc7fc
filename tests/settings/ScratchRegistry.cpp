#include "ScratchRegistry.h"

#include "framework/Handles.h"

#include <algorithm>

namespace {

void ReadTree(HKEY key, RegistryKeySnapshot::Tree& tree)
{
    DWORD subKeys = 0, maxSubKey = 0, values = 0, maxName = 0, maxData = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subKeys, &maxSubKey, nullptr, &values, &maxName,
                           &maxData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    // Names with double-byte characters may be longer in bytes than reported.
    std::vector<char> name(2 * (std::max(maxName, maxSubKey) + 1));
    std::vector<BYTE> data(maxData + 1);
    for (DWORD i = 0; i < values; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        DWORD dataLength = static_cast<DWORD>(data.size());
        DWORD type = 0;
        if (::RegEnumValueA(key, i, name.data(), &nameLength, nullptr, &type, data.data(), &dataLength) ==
            ERROR_SUCCESS)
            tree.values.push_back({name.data(), type, std::vector<BYTE>(data.begin(), data.begin() + dataLength)});
    }
    for (DWORD i = 0; i < subKeys; ++i) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        if (::RegEnumKeyExA(key, i, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
            continue;
        RegKey child;
        if (child.Open(key, name.data(), KEY_READ) != ERROR_SUCCESS) continue;
        tree.children.emplace_back(name.data(), RegistryKeySnapshot::Tree());
        ReadTree(child.Get(), tree.children.back().second);
    }
}

void WriteTree(HKEY key, const RegistryKeySnapshot::Tree& tree)
{
    for (const auto& value : tree.values)
        ::RegSetValueExA(key, value.name.c_str(), 0, value.type, value.data.data(),
                         static_cast<DWORD>(value.data.size()));
    for (const auto& child : tree.children) {
        RegKey created;
        if (created.Create(key, child.first.c_str(), KEY_ALL_ACCESS) == ERROR_SUCCESS)
            WriteTree(created.Get(), child.second);
    }
}

} // namespace

RegistryKeySnapshot::RegistryKeySnapshot(HKEY root, std::string path)
    : m_root(root), m_path(std::move(path)), m_existed(false)
{
    RegKey key;
    if (key.Open(m_root, m_path.c_str(), KEY_READ) == ERROR_SUCCESS) {
        m_existed = true;
        ReadTree(key.Get(), m_tree);
    }
}

RegistryKeySnapshot::~RegistryKeySnapshot()
{
    DeleteRegistryTree(m_root, m_path);
    if (!m_existed) return;
    CreateRegistryPath(m_root, m_path);
    RegKey key;
    if (key.Open(m_root, m_path.c_str(), KEY_ALL_ACCESS) == ERROR_SUCCESS) WriteTree(key.Get(), m_tree);
}

bool DeleteRegistryTree(HKEY root, const std::string& path)
{
    {
        RegKey key;
        if (key.Open(root, path.c_str(), KEY_READ) != ERROR_SUCCESS) return true;
        char name[1024];
        for (;;) {
            DWORD length = sizeof(name);
            if (::RegEnumKeyExA(key.Get(), 0, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
                break;
            if (!DeleteRegistryTree(root, path + "\\" + name)) return false;
        }
    }
    return ::RegDeleteKeyA(root, path.c_str()) == ERROR_SUCCESS;
}

bool CreateRegistryPath(HKEY root, const std::string& path)
{
    RegKey key;
    return key.Create(root, path.c_str(), KEY_ALL_ACCESS) == ERROR_SUCCESS;
}

bool SetRawValue(HKEY root, const std::string& path, const char* name, DWORD type, const void* data, DWORD size,
                 REGSAM view)
{
    RegKey key;
    if (key.Create(root, path.c_str(), KEY_SET_VALUE | view) != ERROR_SUCCESS) return false;
    return ::RegSetValueExA(key.Get(), name, 0, type, static_cast<const BYTE*>(data), size) == ERROR_SUCCESS;
}

bool ValueExists(HKEY root, const std::string& path, const char* name)
{
    RegKey key;
    if (key.Open(root, path.c_str(), KEY_READ) != ERROR_SUCCESS) return false;
    return ::RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool KeyExists(HKEY root, const std::string& path)
{
    RegKey key;
    return key.Open(root, path.c_str(), KEY_READ) == ERROR_SUCCESS;
}

TempFolder::TempFolder()
{
    char temp[MAX_PATH];
    ::GetTempPathA(MAX_PATH, temp);
    static int counter = 0;
    for (;;) {
        m_path = std::string(temp) + "pairmate-settings-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 std::to_string(++counter);
        if (::CreateDirectoryA(m_path.c_str(), nullptr)) break;
    }
}

static void DeleteFolderTree(const std::string& path)
{
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                DeleteFolderTree(full);
            } else {
                ::SetFileAttributesA(full.c_str(), FILE_ATTRIBUTE_NORMAL);
                ::DeleteFileA(full.c_str());
            }
        } while (::FindNextFileA(search, &found));
        ::FindClose(search);
    }
    ::RemoveDirectoryA(path.c_str());
}

TempFolder::~TempFolder() { DeleteFolderTree(m_path); }

std::string TempFolder::MakeFile(const std::string& name, const std::string& contents) const
{
    const std::string path = m_path + "\\" + name;
    UniqueHandle file(
        ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (file) ::WriteFile(file.Get(), contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    return path;
}

std::string TempFolder::MakeFolder(const std::string& name) const
{
    const std::string path = m_path + "\\" + name;
    ::CreateDirectoryA(path.c_str(), nullptr);
    return path;
}
