#include "framework/FileChooser.h"

#include "framework/CodePage.h"

#include <commdlg.h>

#include <vector>

BOOL AfxChooseFile(HWND owner, const std::string& filter, const std::string& title, DWORD flags, std::string& path,
                   bool* notInCodePage)
{
    if (notInCodePage) *notInCodePage = false;
    // Asked in UTF-16: the ANSI dialog would give a path the code page
    // cannot hold as a look-alike (café as cafe). Room for any path the
    // dialog can give, so that a long choice is never cut.
    std::vector<WCHAR> file(32768, L'\0');
    const std::wstring wideFilter = ToWide(filter), wideTitle = ToWide(title);
    OPENFILENAMEW ofn = {};
    ofn.lStructSize = LOBYTE(LOWORD(::GetVersion())) < 5 ? OPENFILENAME_SIZE_VERSION_400W : sizeof(ofn);
    ofn.hwndOwner = owner;
    // The filter's pairs are NUL-separated and end in two NULs, which the
    // string's own terminator completes.
    ofn.lpstrFilter = wideFilter.c_str();
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = file.data();
    ofn.nMaxFile = static_cast<DWORD>(file.size());
    ofn.lpstrTitle = wideTitle.c_str();
    // The chosen file's folder does not become the program's current folder
    // (which a program running all day would keep from being removed).
    ofn.Flags = flags | OFN_EXPLORER | OFN_NOCHANGEDIR;
    if (!::GetOpenFileNameW(&ofn)) return FALSE;
    file.back() = L'\0';
    if (!ToAnsiExact(file.data(), path)) {
        if (notInCodePage) *notInCodePage = true;
        return FALSE;
    }
    return TRUE;
}
