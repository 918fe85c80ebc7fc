// Compare: check the WinDiff file name and both paths, start WinDiff (or
// the comparison program chosen instead) with both, then record them at the
// top of their histories. The checks and the start run on the worker
// (app/CompareChecks.h); the window takes the texts before and handles the
// answer after.
#include "app/MainFrame.h"

#include "app/CompareChecks.h"
#include "framework/WinApp.h"
#include "res/resource.h"
#include "settings/ProgramArguments.h"

void CMainFrame::OnCompare()
{
    // One Compare at a time: the button, Enter or the menu while one is
    // under way do nothing.
    if (m_bComparing) return;

    // A typed path that the code page cannot hold (on a system that runs
    // the program in a classic code page) would be handed on as another
    // path: it is refused.
    std::string p1, p2;
    if (!m_wndCombo1.GetEditText(p1) || !m_wndCombo2.GetEditText(p2)) {
        AfxMessageBox(m_hWnd, IDS_PATH_NOT_IN_CODE_PAGE);
        return;
    }

    // A bare "C:" would name the current folder on that drive (the one the
    // program was started in): it is tested and handed on as the drive's
    // root "C:\", as its icon shows it. The histories keep what was typed.
    CompareRequest request;
    request.program = m_strWinDiffPath;
    request.path1 = NormalizeDriveRoot(p1);
    request.path2 = NormalizeDriveRoot(p2);
    // The command line is whole, the program's quoted name included.
    request.commandLine = CompareCommandLine(m_strWinDiffPath, m_strArguments, request.path1, request.path2);
    m_compareText1 = p1;
    m_compareText2 = p2;
    SetComparing(true);
    m_worker.RequestCompare(request);
}

void CMainFrame::OnCompareDone(UINT result)
{
    SetComparing(false);
    // Paths of a command line that came meanwhile wait in their queue: the
    // message loop goes on with them once it is idle.
    PostMessage(WM_NULL);
    if (result == kCompareStopped) return;
    if (result) {
        AfxMessageBox(m_hWnd, result);
        return;
    }

    m_bAwaitingSecondPath = false; // a single path waits no longer
    if (m_bAutoMinimize) MinimizeBar();

    m_history1.Add(m_compareText1);
    m_history2.Add(m_compareText2);
    RefillCombo(m_wndCombo1, m_history1);
    RefillCombo(m_wndCombo2, m_history2);
}
