// CSetupDlg: the Initial-setup dialog (template 134), shown on top of all
// windows when the program knows no usable windiff.exe. The creator may put
// another comparison program it found into m_strWinDiffPath, with its name in
// m_strFoundProgram, and runs DoModal; on IDOK it takes m_strWinDiffPath, on
// IDCANCEL the program ends.
#pragma once

#include "dialogs/WinDiffFileDialog.h"

class CSetupDlg : public CWinDiffFileDialog {
public:
    explicit CSetupDlg(CWnd* parent = nullptr);

    // The name of the program in m_strWinDiffPath when it was found rather
    // than asked for: the note names it while the field holds its file.
    // Empty: nothing was found.
    std::string m_strFoundProgram;

    BOOL OnInitDialog() override;
    void OnFileDropped(int controlId) override;

protected:
    BOOL OnCommand(UINT id, UINT code, HWND control) override;
    void OnStoredFileChecked(bool exists) override;

private:
    void UpdateNote();
    std::string m_strFoundPath;     // the found program's file, as first shown
    std::wstring m_strNotFoundNote; // the template's note
};
