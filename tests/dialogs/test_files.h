// A temporary folder with a few real files and a subfolder, removed again at
// the end of a test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class TempFolder {
public:
    TempFolder()
    {
        char base[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, base);
        for (int i = 0; i < 1000 && m_path.empty(); ++i) {
            std::string candidate = std::string(base) + "pairmate_dlg_" +
                                    std::to_string(::GetCurrentProcessId()) + "_" + std::to_string(i);
            if (::CreateDirectoryA(candidate.c_str(), nullptr)) m_path = candidate;
        }
    }
    ~TempFolder()
    {
        for (auto it = m_created.rbegin(); it != m_created.rend(); ++it) {
            if (!::DeleteFileA(it->c_str())) ::RemoveDirectoryA(it->c_str());
        }
        ::RemoveDirectoryA(m_path.c_str());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::string& Path() const { return m_path; }

    std::string File(const std::string& name, const std::string& content = "x")
    {
        std::string path = m_path + "\\" + name;
        HANDLE h = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (h != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            ::WriteFile(h, content.data(), static_cast<DWORD>(content.size()), &written, nullptr);
            ::CloseHandle(h);
            m_created.push_back(path);
        }
        return path;
    }
    std::string Folder(const std::string& name)
    {
        std::string path = m_path + "\\" + name;
        if (::CreateDirectoryA(path.c_str(), nullptr)) m_created.push_back(path);
        return path;
    }

private:
    std::string m_path;
    std::vector<std::string> m_created;
};
