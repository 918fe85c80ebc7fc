#include "dialogs/WinDiffFileDialog.h"

#include "framework/FileChooser.h"
#include "framework/Language.h"
#include "framework/WinApp.h"
#include "pathinput/PathTests.h"
#include "pathinput/ShellHelpers.h"

#include <commdlg.h>

namespace {

// A drag from another program finds its target by hit testing, where a group
// box drawn around a control and lying above it in z-order hides the control
// (the box is no drop target). Such a box goes just below the control; the
// other controls keep their order, and nothing moves on screen.
void RaiseAboveEnclosingGroupBox(HWND control)
{
    RECT inner{};
    ::GetWindowRect(control, &inner);
    for (HWND above = ::GetWindow(control, GW_HWNDPREV); above; above = ::GetWindow(above, GW_HWNDPREV)) {
        RECT outer{}, both{};
        ::GetWindowRect(above, &outer);
        if (AfxIsGroupBox(above) && ::IntersectRect(&both, &outer, &inner) && ::EqualRect(&both, &inner)) {
            ::SetWindowPos(above, control, 0, 0, 0, 0,
                           SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
            return;
        }
    }
}

} // namespace

CWinDiffFileDialog::CWinDiffFileDialog(UINT templateId, CWnd* parent) : CPropDialog(templateId, parent) {}

void CWinDiffFileDialog::DoDataExchange(CDataExchange* dx)
{
    CPropDialog::DoDataExchange(dx);
    DDX_Control(dx, IDC_PATH_STATIC, m_pathStatic);
    DDX_Control(dx, IDC_FILE_ICON, m_iconStatic);
}

void CWinDiffFileDialog::InitWinDiffFile()
{
    m_pathStatic.m_nAcceptFlags = DROPACCEPT_FILE;
    RaiseAboveEnclosingGroupBox(m_pathStatic.m_hWnd);
    m_pathStatic.RegisterDropTarget(TRUE);
    m_pathStatic.m_pDropSink = this;
    if (IsExistingFile(m_strWinDiffPath))
        SetWinDiffFile(m_strWinDiffPath);
    else
        m_iconStatic.ShowWindow(SW_HIDE);
}

void CWinDiffFileDialog::SetWinDiffFile(const std::string& path)
{
    ::SetDlgItemTextA(m_hWnd, IDC_PATH_STATIC, path.c_str());
    ShowFileIcon(path);
}

void CWinDiffFileDialog::ShowFileIcon(const std::string& path)
{
    HICON icon = GetFileIcon(path);
    m_iconStatic.SetIcon(icon);
    m_fileIcon.Reset(icon); // the icon shown before is destroyed
    m_iconStatic.ShowWindow(SW_SHOW);
}

void CWinDiffFileDialog::OnFileDropped(int controlId)
{
    if (controlId != IDC_PATH_STATIC) return;
    ShowFileIcon(GetWindowTextString(GetDlgItem(IDC_PATH_STATIC)));
    OnWinDiffFileChosen();
}

void CWinDiffFileDialog::OnBrowse()
{
    std::string file;
    bool notInCodePage = false;
    if (AfxChooseFile(m_hWnd, AfxLoadFilter(IDS_WINDIFF_FILE_FILTER), AfxLoadString(IDS_WINDIFF_FILE_TITLE),
                      OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST, file, &notInCodePage)) {
        SetWinDiffFile(file);
        OnWinDiffFileChosen();
    } else if (notInCodePage)
        AfxMessageBox(m_hWnd, IDS_PATH_NOT_IN_CODE_PAGE);
}

void CWinDiffFileDialog::OnOK()
{
    if (!UpdateData(TRUE)) return;
    m_strWinDiffPath = GetWindowTextString(GetDlgItem(IDC_PATH_STATIC));
    if (!IsExistingFile(m_strWinDiffPath)) {
        AfxMessageBox(m_hWnd, IDS_NO_WINDIFF_NAME);
        return;
    }
    if (!OnAcceptOK()) return;
    EndDialog(IDOK);
}

BOOL CWinDiffFileDialog::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDC_BROWSE && code == BN_CLICKED) {
        OnBrowse();
        return TRUE;
    }
    return CPropDialog::OnCommand(id, code, control);
}

LRESULT CWinDiffFileDialog::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DESTROY) {
        // The last icon shown goes with the dialog.
        if (m_iconStatic.IsWindow()) m_iconStatic.SetIcon(nullptr);
        m_fileIcon.Reset();
    }
    return CPropDialog::WindowProc(msg, wParam, lParam);
}
