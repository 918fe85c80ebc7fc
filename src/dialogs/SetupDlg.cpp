#include "dialogs/SetupDlg.h"

#include "framework/CodePage.h"
#include "framework/Language.h"
#include "pathinput/PathTests.h"

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
    if (!m_strFoundProgram.empty() && IsExistingFile(m_strWinDiffPath)) ShowFoundProgramNote();
    return TRUE;
}

void CSetupDlg::ShowFoundProgramNote()
{
    // The note below the Browse button says that no windiff.exe was found
    // and how to choose one; with a program found it names that program
    // instead, and keeps the ways to choose another.
    HWND note = ::GetWindow(GetDlgItem(IDC_BROWSE), GW_HWNDNEXT);
    char className[16] = {};
    if (!note || !::GetClassNameA(note, className, sizeof(className)) || lstrcmpiA(className, "Static") != 0)
        return;
    std::wstring text = AfxLoadStringW(IDS_FOUND_PROGRAM_NOTE);
    const size_t at = text.find(L"%s");
    if (at == std::wstring::npos) return;
    text.replace(at, 2, ToWide(m_strFoundProgram));
    ::SetWindowTextW(note, text.c_str());
}
