#include "dialogs/SetupDlg.h"

#include "framework/CodePage.h"
#include "framework/Language.h"

namespace {

const ToolTipRow kSetupTips[] = {
    {IDC_BROWSE, IDS_TIP_BROWSE_WINDIFF},
    {IDOK, IDS_TIP_SAVE_AND_CLOSE},
    {IDCANCEL, IDS_TIP_CANCEL_SETUP},
};

} // namespace

CSetupDlg::CSetupDlg(CWnd* parent) : CWinDiffFileDialog(IDD_SETUP, parent) {}

BOOL CSetupDlg::OnInitDialog()
{
    // On top of all windows. Made so before the tooltip exists: Wine does
    // not make a window topmost once it owns topmost popups (it stacks the
    // window under them without the flag).
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    CWinDiffFileDialog::OnInitDialog();
    CenterWindow(::GetDesktopWindow());
    AddTools(kSetupTips, sizeof(kSetupTips) / sizeof(kSetupTips[0]));
    InitWinDiffFile();
    UpdateNote();
    return TRUE;
}

void CSetupDlg::OnStoredFileChecked(bool exists)
{
    if (exists && !m_strFoundProgram.empty()) m_strFoundPath = m_strWinDiffPath;
    UpdateNote();
}

void CSetupDlg::UpdateNote()
{
    // The note below the Browse button says that no windiff.exe was found
    // and how to choose one. While the field holds the program found, it
    // names that program instead, keeping the ways to choose another.
    HWND note = ::GetWindow(GetDlgItem(IDC_BROWSE), GW_HWNDNEXT);
    if (m_strFoundPath.empty() || !AfxIsWindowClass(note, "Static")) return;
    if (m_strNotFoundNote.empty()) m_strNotFoundNote = GetWindowTextWide(note);
    std::wstring text = AfxLoadStringW(IDS_FOUND_PROGRAM_NOTE);
    const size_t at = text.find(L"%s");
    if (at != std::wstring::npos) text.replace(at, 2, ToWide(m_strFoundProgram));
    if (at == std::wstring::npos || GetWindowTextString(GetDlgItem(IDC_PATH_STATIC)) != m_strFoundPath)
        text = m_strNotFoundNote;
    if (GetWindowTextWide(note) != text) ::SetWindowTextW(note, text.c_str());
}

void CSetupDlg::OnFileDropped(int controlId)
{
    CWinDiffFileDialog::OnFileDropped(controlId);
    UpdateNote();
}

BOOL CSetupDlg::OnCommand(UINT id, UINT code, HWND control)
{
    const BOOL handled = CWinDiffFileDialog::OnCommand(id, code, control);
    if (id == IDC_BROWSE && code == BN_CLICKED) UpdateNote(); // a file chosen there is in the field now
    return handled;
}
