#include "dialogs/SettingsDlg.h"

#include "framework/Accessible.h"
#include "framework/CodePage.h"
#include "framework/WinApp.h"

#include <commctrl.h>

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
    HWND hotKey = GetDlgItem(IDC_HOTKEY);
    if (dx->m_bSaveAndValidate) {
        m_wHotKey = LOWORD(::SendMessageA(hotKey, HKM_GETHOTKEY, 0, 0));
    } else {
        // A letter or a key alone, or with Shift only, would take that key
        // from every program: the control adds Ctrl+Alt to it.
        ::SendMessageA(hotKey, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
        ::SendMessageA(hotKey, HKM_SETHOTKEY, m_wHotKey, 0);
    }
}

BOOL CSettingsDlg::OnInitDialog()
{
    m_wOpenedHotKey = m_wHotKey;
    CWinDiffFileDialog::OnInitDialog();
    CenterWindow(::GetDesktopWindow());
    AddTools(kSettingsTips, sizeof(kSettingsTips) / sizeof(kSettingsTips[0]));
    InitWinDiffFile();
    InitProgramChoice();
    // Windows names the control by the label before it; Wine's standard
    // objects read no labels.
    HWND hotKey = GetDlgItem(IDC_HOTKEY);
    AfxSetAccessibleName(hotKey, ToWide(GetWindowTextString(::GetWindow(hotKey, GW_HWNDPREV))));
    return TRUE;
}

BOOL CSettingsDlg::OnAcceptOK()
{
    // A key left as it was asks nothing of the system: one that another
    // program holds stays stored, and the rest of the settings are saved.
    if (!m_registerHotKey || m_wHotKey == m_wOpenedHotKey) return TRUE;
    const UINT refusal = m_registerHotKey(m_wHotKey);
    if (!refusal) return TRUE;
    AfxMessageBox(m_hWnd, refusal);
    ::SetFocus(GetDlgItem(IDC_HOTKEY));
    return FALSE;
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
    if (id == IDC_FOUND_PROGRAMS && code == BN_CLICKED) {
        OnFoundPrograms();
        return TRUE;
    }
    return CWinDiffFileDialog::OnCommand(id, code, control);
}
