// What the bar hands to its worker and takes back: the path boxes' icons,
// looked up away from the window's thread, and the end of a Compare.
#include "app/MainFrame.h"

#include "framework/WinApp.h"

namespace {

// An answer that comes within this time shows at once; until then the box
// keeps what it showed, and after it shows no icon until the answer comes
// (a path on a slow share), rather than the icon of a text it no longer holds.
constexpr UINT kIconUnknownAfterMs = 200;

} // namespace

void CMainFrame::RequestPathIcon(int k, const std::string& path, bool mustExist)
{
    const int i = k - 1;
    m_iconPending[i] = true;
    ::SetTimer(m_hWnd, k == 1 ? kIconTimer1 : kIconTimer2, kIconUnknownAfterMs, nullptr);
    m_worker.RequestIcon(k, ++m_iconSerial[i], path, mustExist);
}

void CMainFrame::SetIconNow(int k, int index)
{
    const int i = k - 1;
    ++m_iconSerial[i]; // an answer on its way is for an older text
    m_iconPending[i] = false;
    ::KillTimer(m_hWnd, k == 1 ? kIconTimer1 : kIconTimer2);
    if (Slot(k).nIcon != index) SetIconIndex(k, index);
}

void CMainFrame::OnIconAnswer(const PathIconAnswer& answer)
{
    const int k = answer.box;
    if (k < 1 || k > 2 || answer.serial != m_iconSerial[k - 1] || !m_iconPending[k - 1]) return;
    m_iconPending[k - 1] = false;
    ::KillTimer(m_hWnd, k == 1 ? kIconTimer1 : kIconTimer2);
    // A path found is drawn again (its icon may have changed); none found
    // leaves an empty box alone.
    if (answer.index != -1 || Slot(k).nIcon != -1) SetIconIndex(k, answer.index);
}

void CMainFrame::OnIconTimer(int k)
{
    ::KillTimer(m_hWnd, k == 1 ? kIconTimer1 : kIconTimer2);
    if (m_iconPending[k - 1] && Slot(k).nIcon != -1) SetIconIndex(k, -1);
}

void CMainFrame::OnWorkDone()
{
    WorkerAnswers answers = m_worker.TakeAnswers();
    for (const PathIconAnswer& icon : answers.icons) OnIconAnswer(icon);
    if (answers.compareDone) OnCompareDone(answers.compareResult);
}

void CMainFrame::SetComparing(bool comparing)
{
    m_bComparing = comparing;
    // The pointer changes at once where it rests on the bar, not only with
    // the next move.
    AfxRefreshCursor(m_hWnd);
}

BOOL CMainFrame::OnSetCursor()
{
    // The bar still takes keys and clicks while a Compare is under way: the
    // arrow with the hourglass beside it.
    if (!m_bComparing) return FALSE;
    ::SetCursor(::LoadCursorA(nullptr, IDC_APPSTARTING));
    return TRUE;
}
