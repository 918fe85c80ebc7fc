#include "framework/FileChooser.h"

#include <commdlg.h>

#include <vector>

BOOL AfxChooseFile(HWND owner, const std::string& filter, const std::string& title, DWORD flags, std::string& path)
{
    // Room for any path the dialog can give: in UTF-8 a path of MAX_PATH
    // characters takes up to three times as many bytes, and a long choice
    // must never be cut.
    std::vector<char> file(32768, '\0');
    OPENFILENAMEA ofn = {};
    ofn.lStructSize = LOBYTE(LOWORD(::GetVersion())) < 5 ? OPENFILENAME_SIZE_VERSION_400A : sizeof(ofn);
    ofn.hwndOwner = owner;
    ofn.lpstrFilter = filter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = title.c_str();
    // The chosen file's folder does not become the program's current folder
    // (which a program running all day would keep from being removed).
    ofn.Flags = flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameA(&ofn)) return FALSE;
    file.back() = '\0';
    path = file.data();
    return TRUE;
}
