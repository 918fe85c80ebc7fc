#include "dialogs/WinDiffFileDialog.h"

#include "framework/FileChooser.h"
#include "framework/Language.h"
#include "framework/WinApp.h"

#include <commdlg.h>

namespace {

// Announces answers of the field's lookups to the dialog.
constexpr UINT kProgramFileAnswerMsg = WM_APP + 1;
// An answer that comes within this time is applied as if looked up here.
constexpr DWORD kAnswerWaitMs = 150;

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
    m_worker = m_pFileWorker;
    if (!m_worker) {
        m_ownWorker = std::make_unique<ProgramFileWorker>();
        m_ownWorker->Start();
        m_worker = m_ownWorker.get();
    }
    m_worker->SetTarget(m_hWnd, kProgramFileAnswerMsg);
    // The stored file shows while it is looked up; a missing one leaves the
    // field empty once that is known.
    m_iconStatic.ShowWindow(SW_HIDE);
    ::SetDlgItemTextA(m_hWnd, IDC_PATH_STATIC, m_strWinDiffPath.c_str());
    LookUp(m_strWinDiffPath, true, false);
}

void CWinDiffFileDialog::SetWinDiffFile(const std::string& path)
{
    ::SetDlgItemTextA(m_hWnd, IDC_PATH_STATIC, path.c_str());
    LookUp(path, false, false);
}

void CWinDiffFileDialog::LookUp(const std::string& path, bool forOpen, bool forOK)
{
    if (!m_worker) return;
    // OK asks for the icon only while the one for its text has not come.
    const bool withIcon = !forOK || (m_iconPending && path == m_lookUpPath);
    if (m_okPending && !forOK) SetOKPending(false); // the field changed: that OK is off
    m_okPending = forOK;
    m_openPending = forOpen;
    m_iconPending = withIcon;
    m_lookUpPath = path;
    m_lookUpSerial = m_worker->Request(path, withIcon);
    // A local file answers within the moment: nothing on screen changes.
    if (m_worker->WaitForAnswer(m_lookUpSerial, kAnswerWaitMs)) {
        OnLookUpAnswers();
        return;
    }
    if (withIcon) HideFileIcon(); // rather than the icon of a text gone
    if (forOK) SetOKPending(true);
}

void CWinDiffFileDialog::OnLookUpAnswers()
{
    if (!m_worker) return;
    ProgramFileAnswer answer = m_worker->TakeAnswer();
    if (m_lookUpSerial && answer.serial == m_lookUpSerial) ApplyAnswer(answer); // an older one is dropped
}

void CWinDiffFileDialog::ApplyAnswer(ProgramFileAnswer& answer)
{
    m_lookUpSerial = 0;
    const bool forOK = m_okPending;
    if (forOK) SetOKPending(false);
    if (GetWindowTextString(GetDlgItem(IDC_PATH_STATIC)) != m_lookUpPath) {
        m_openPending = m_iconPending = false; // the field holds another text now
        return;
    }
    if (m_openPending && !answer.exists) {
        ::SetDlgItemTextA(m_hWnd, IDC_PATH_STATIC, "");
        if (forOK) m_strWinDiffPath.clear(); // what OK finds in the field
        HideFileIcon();
    } else if (answer.iconLookedUp) {
        ShowFileIcon(answer.icon.Release());
    }
    m_iconPending = false;
    if (m_openPending) {
        m_openPending = false;
        OnStoredFileChecked(answer.exists);
    }
    if (forOK) FinishOK(answer.exists);
}

void CWinDiffFileDialog::ShowFileIcon(HICON icon)
{
    m_iconStatic.SetIcon(icon);
    m_fileIcon.Reset(icon); // the icon shown before is destroyed
    m_iconStatic.ShowWindow(SW_SHOW);
}

void CWinDiffFileDialog::HideFileIcon()
{
    m_iconStatic.ShowWindow(SW_HIDE);
    m_iconStatic.SetIcon(nullptr);
    m_fileIcon.Reset();
}

void CWinDiffFileDialog::OnFileDropped(int controlId)
{
    if (controlId != IDC_PATH_STATIC) return;
    LookUp(GetWindowTextString(GetDlgItem(IDC_PATH_STATIC)), false, false);
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
    if (m_okPending) return; // the first one still waits for its answer
    if (!UpdateData(TRUE)) return;
    m_strWinDiffPath = GetWindowTextString(GetDlgItem(IDC_PATH_STATIC));
    LookUp(m_strWinDiffPath, m_openPending && m_strWinDiffPath == m_lookUpPath, true);
}

void CWinDiffFileDialog::FinishOK(bool exists)
{
    if (!exists) {
        AfxMessageBox(m_hWnd, IDS_NO_WINDIFF_NAME);
        return;
    }
    if (!OnAcceptOK()) return;
    EndDialog(IDOK);
}

void CWinDiffFileDialog::SetOKPending(bool pending)
{
    m_okPending = pending;
    AfxRefreshCursor(m_hWnd);
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
    if (msg == kProgramFileAnswerMsg) {
        OnLookUpAnswers();
        return 0;
    }
    if (msg == WM_SETCURSOR && m_okPending) {
        // The dialog still takes clicks (Cancel) while OK waits.
        ::SetCursor(::LoadCursorA(nullptr, IDC_APPSTARTING));
        return TRUE;
    }
    if (msg == WM_DESTROY) {
        // Answers still on their way find no one; a worker of the dialog's
        // own ends with it.
        if (m_worker) m_worker->SetTarget(nullptr, 0);
        if (m_ownWorker) m_ownWorker->Stop();
        m_worker = nullptr;
        m_okPending = false;
        // The last icon shown goes with the dialog.
        if (m_iconStatic.IsWindow()) m_iconStatic.SetIcon(nullptr);
        m_fileIcon.Reset();
    }
    return CPropDialog::WindowProc(msg, wParam, lParam);
}
