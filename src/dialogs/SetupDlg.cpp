#include "dialogs/SetupDlg.h"

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
    return TRUE;
}
