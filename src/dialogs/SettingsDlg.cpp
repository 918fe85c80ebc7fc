#include "dialogs/SettingsDlg.h"

namespace {

const ToolTipRow kSettingsTips[] = {
    {IDOK, IDS_TIP_SAVE_AND_CLOSE},
    {IDCANCEL, IDS_TIP_CANCEL_SETTINGS},
    {IDC_CLEAR_HISTORY, IDS_TIP_CLEAR_HISTORY},
    {IDC_BROWSE, IDS_TIP_BROWSE_WINDIFF},
    {IDC_AUTOMINIMIZE, IDS_TIP_AUTOMINIMIZE},
};

} // namespace

CSettingsDlg::CSettingsDlg(CWnd* parent) : CWinDiffFileDialog(IDD_SETTINGS, parent) {}

void CSettingsDlg::DoDataExchange(CDataExchange* dx)
{
    CWinDiffFileDialog::DoDataExchange(dx);
    DDX_Check(dx, IDC_AUTOMINIMIZE, m_bAutoMinimize);
}

BOOL CSettingsDlg::OnInitDialog()
{
    CWinDiffFileDialog::OnInitDialog();
    CenterWindow(::GetDesktopWindow());
    AddTools(kSettingsTips, sizeof(kSettingsTips) / sizeof(kSettingsTips[0]));
    InitWinDiffFile();
    return TRUE;
}

void CSettingsDlg::OnClearHistory()
{
    HWND button = GetDlgItem(IDC_CLEAR_HISTORY);
    HWND owner = GetOwnerWindow();
    if (!m_nClearHistoryMsg || !owner || !::IsWindowEnabled(button)) return;
    ::SendMessageA(owner, m_nClearHistoryMsg, 0, 0);
    // Keep the keyboard focus on the dialog when the button it sat on goes grey.
    if (::GetFocus() == button) SendMessage(WM_NEXTDLGCTL, 0, FALSE);
    ::EnableWindow(button, FALSE);
}

BOOL CSettingsDlg::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_CLEAR_HISTORY && code == BN_CLICKED) {
        OnClearHistory();
        return TRUE;
    }
    return CWinDiffFileDialog::OnCommand(id, code, control);
}
