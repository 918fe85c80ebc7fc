// Compare: check the WinDiff file name and both paths, start WinDiff (or
// the comparison program chosen instead) with both, then record them at the
// top of their histories.
#include "app/MainFrame.h"

#include "app/RunProcess.h"
#include "framework/WinApp.h"
#include "pathinput/PathTests.h"
#include "res/resource.h"
#include "settings/ProgramArguments.h"

namespace {

BOOL IsExistingPath(const std::string& path)
{
    return IsExistingFile(path) || IsExistingFolder(path);
}

// Both existing files, or both existing folders.
BOOL IsSameKind(const std::string& p1, const std::string& p2)
{
    return (IsExistingFile(p1) && IsExistingFile(p2)) || (IsExistingFolder(p1) && IsExistingFolder(p2));
}

// The first failing check's message, or 0 when all pass.
UINT FirstFailure(const std::string& winDiff, const std::string& p1, const std::string& p2)
{
    if (winDiff.empty()) return IDS_NO_WINDIFF_NAME;
    if (!IsExistingFile(winDiff)) return IDS_WINDIFF_MISSING;
    if (p1.empty()) return IDS_PATH1_EMPTY;
    if (!IsExistingPath(p1)) return IDS_PATH1_MISSING;
    if (p2.empty()) return IDS_PATH2_EMPTY;
    if (!IsExistingPath(p2)) return IDS_PATH2_MISSING;
    if (!IsSameKind(p1, p2)) return IDS_KINDS_DIFFER;
    return 0;
}

} // namespace

void CMainFrame::OnCompare()
{
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
    const std::string path1 = NormalizeDriveRoot(p1), path2 = NormalizeDriveRoot(p2);
    if (const UINT failure = FirstFailure(m_strWinDiffPath, path1, path2)) {
        AfxMessageBox(m_hWnd, failure);
        return;
    }

    // A program that compares files only is not handed two folders.
    if (!ComparesFolders(m_strWinDiffPath) && IsExistingFolder(path1)) {
        AfxMessageBox(m_hWnd, IDS_FILES_ONLY);
        return;
    }

    // The command line is whole, the program's quoted name included.
    const std::string commandLine = CompareCommandLine(m_strWinDiffPath, m_strArguments, path1, path2);
    if (!RunProcess(commandLine.c_str(), nullptr)) {
        AfxMessageBox(m_hWnd, IDS_START_FAILED);
        return;
    }

    m_bAwaitingSecondPath = false; // a single path waits no longer
    if (m_bAutoMinimize) MinimizeBar();

    m_history1.Add(p1);
    m_history2.Add(p2);
    RefillCombo(m_wndCombo1, m_history1);
    RefillCombo(m_wndCombo2, m_history2);
}
