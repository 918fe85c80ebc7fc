// A real temporary folder with two files, a subfolder and a shortcut, and the
// shell's own item-id lists and data objects for them.
#pragma once

#include <gtest/gtest.h>

#include <windows.h>
#include <shlobj.h>

#include "framework/Handles.h"
#include "pathinput/ShellHelpers.h"

#include <string>
#include <vector>

inline std::wstring Widen(const std::string& s)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, nullptr, 0);
    std::wstring w(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, s.c_str(), -1, &w[0], n);
    w.resize(w.size() - 1);
    return w;
}

// The shell's absolute list for a path, parsed by the desktop folder.
inline UniquePidl ParsePath(const std::string& path)
{
    UniquePidl pidl;
    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Receive()))) return pidl;
    std::wstring w = Widen(path);
    ULONG eaten = 0;
    desktop->ParseDisplayName(nullptr, nullptr, &w[0], &eaten, pidl.Receive(), nullptr);
    return pidl;
}

// A list built by hand: items of the given sizes (each filled with its own
// size byte), then the terminator.
inline std::string HandMadeList(const std::vector<USHORT>& itemSizes)
{
    std::string bytes;
    for (USHORT cb : itemSizes) {
        std::string item(cb, static_cast<char>(cb));
        memcpy(&item[0], &cb, sizeof(cb));
        bytes += item;
    }
    bytes.append(2, '\0');
    return bytes;
}

class ShellFolderTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char temp[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, temp);
        // The long form, as the shell reports paths.
        char longTemp[MAX_PATH] = {};
        DWORD n = ::GetLongPathNameA(temp, longTemp, MAX_PATH);
        m_dir = std::string(n && n < MAX_PATH ? longTemp : temp) + "pm_shell_" + std::to_string(::GetCurrentProcessId()) +
                "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name();
        ::CreateDirectoryA(m_dir.c_str(), nullptr);
        m_file1 = m_dir + "\\Alpha.txt";
        m_file2 = m_dir + "\\beta.txt";
        m_sub = m_dir + "\\Sub Folder";
        m_link = m_dir + "\\Alpha.lnk";
        WriteFile(m_file1, "alpha\r\n");
        WriteFile(m_file2, "beta\r\n");
        ::CreateDirectoryA(m_sub.c_str(), nullptr);
        ASSERT_TRUE(CreateShortcut(m_link, m_file1));
    }
    void TearDown() override
    {
        ::DeleteFileA(m_link.c_str());
        ::DeleteFileA(m_file1.c_str());
        ::DeleteFileA(m_file2.c_str());
        ::RemoveDirectoryA(m_sub.c_str());
        ::RemoveDirectoryA(m_dir.c_str());
    }

    static void WriteFile(const std::string& path, const std::string& content)
    {
        UniqueHandle f(::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        ::WriteFile(f.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
    }

    static bool CreateShortcut(const std::string& linkPath, const std::string& target)
    {
        ComPtr<IShellLinkA> link;
        if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                      reinterpret_cast<void**>(link.Receive()))))
            return false;
        link->SetPath(target.c_str());
        ComPtr<IPersistFile> file;
        if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.Receive())))) return false;
        std::wstring w = Widen(linkPath);
        return SUCCEEDED(file->Save(w.c_str(), TRUE));
    }

    // The shell folder of the temporary folder.
    ComPtr<IShellFolder> Folder() const
    {
        ComPtr<IShellFolder> desktop, folder;
        UniquePidl pidl = ParsePath(m_dir);
        if (pidl && SUCCEEDED(::SHGetDesktopFolder(desktop.Receive())))
            desktop->BindToObject(pidl.Get(), nullptr, IID_IShellFolder, reinterpret_cast<void**>(folder.Receive()));
        return folder;
    }

    // The list of a name relative to the temporary folder.
    UniquePidl ChildPidl(const std::string& name) const
    {
        UniquePidl pidl;
        ComPtr<IShellFolder> folder = Folder();
        if (!folder) return pidl;
        std::wstring w = Widen(name);
        ULONG eaten = 0;
        folder->ParseDisplayName(nullptr, nullptr, &w[0], &eaten, pidl.Receive(), nullptr);
        return pidl;
    }

    // The shell's own data object for items of the temporary folder, as the
    // shell hands it to a drag.
    ComPtr<IDataObject> ShellDataObject(const std::vector<std::string>& names) const
    {
        ComPtr<IDataObject> data;
        ComPtr<IShellFolder> folder = Folder();
        if (!folder) return data;
        std::vector<UniquePidl> owned;
        std::vector<LPCITEMIDLIST> children;
        for (const std::string& name : names) {
            owned.push_back(ChildPidl(name));
            if (!owned.back()) return data;
            children.push_back(owned.back().Get());
        }
        folder->GetUIObjectOf(nullptr, static_cast<UINT>(children.size()), children.data(), IID_IDataObject, nullptr,
                              reinterpret_cast<void**>(data.Receive()));
        return data;
    }

    std::string m_dir, m_file1, m_file2, m_sub, m_link;
};
