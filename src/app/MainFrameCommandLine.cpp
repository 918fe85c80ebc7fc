// Paths from a command line: those the program was started with, and those a
// second start hands over (WM_COPYDATA). They wait in a queue until the bar is
// at its own message loop, so that no dialog opens over another.
#include "app/MainFrame.h"

#include "app/CommandLine.h"
#include "framework/CodePage.h"
#include "framework/WinApp.h"
#include "res/resource.h"

void CMainFrame::QueuePaths(const std::vector<std::wstring>& paths)
{
    m_queuedPaths.push_back(paths);
    // Wakes the message loop, which applies them once it is idle.
    PostMessage(WM_NULL);
}

void CMainFrame::ApplyQueuedPaths()
{
    // Runs outside the window's handlers; a message box shown here (a path
    // refused, Compare's first failing check) runs a loop in which the bar
    // may be closed (an installer closes it before an update): this object
    // lives on until the loop below has seen the window go.
    LifeGuard alive(this);
    // Paths that come while a Compare is under way fill the boxes, but the
    // Compare they would start does nothing (as a second press of the
    // button does): the program is never started twice for one request.
    while (m_bSetupChecked && !m_queuedPaths.empty() && IsWindow()) {
        std::vector<std::wstring> paths = std::move(m_queuedPaths.front());
        m_queuedPaths.pop_front();
        ApplyPaths(paths);
    }
}

void CMainFrame::SetPathText(int k, const std::string& path)
{
    Slot(k).combo.SetWindowText(path);
    UpdateIconFromEdit(k);
}

void CMainFrame::ApplyPaths(const std::vector<std::wstring>& paths)
{
    std::vector<std::string> texts;
    for (const std::wstring& path : paths) {
        std::string text;
        if (!ToAnsiExact(path, text)) {
            AfxMessageBox(m_hWnd, IDS_PATH_NOT_IN_CODE_PAGE);
            return;
        }
        texts.push_back(text);
    }
    if (texts.size() == 1 && !m_bAwaitingSecondPath) {
        SetPathText(1, texts[0]);
        m_bAwaitingSecondPath = true;
        MaximizeBar();
        FocusControl(m_wndCombo2);
        return;
    }
    if (texts.size() == 2) SetPathText(1, texts[0]);
    SetPathText(2, texts.back());
    m_bAwaitingSecondPath = false;
    OnCompare();
}

LRESULT CMainFrame::OnCopyData(const COPYDATASTRUCT* data)
{
    std::vector<std::wstring> paths;
    if (!UnpackPaths(data, paths)) return FALSE;
    QueuePaths(paths);
    return TRUE;
}
