// Reaching the bar without a mouse, and hearing it: the hot key that brings
// it out from any program, and the names screen readers give its controls.
#include "app/MainFrame.h"

#include "framework/Accessible.h"
#include "framework/Language.h"
#include "res/resource.h"

#include <oleacc.h>

namespace {

// The dialog, message box or chooser of `thread` that is in front of the
// others (they are all of the system's dialog class), or null.
HWND FrontDialog(DWORD thread)
{
    for (HWND hwnd = ::GetTopWindow(nullptr); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        if (::GetWindowThreadProcessId(hwnd, nullptr) != thread || !::IsWindowVisible(hwnd) ||
            !::IsWindowEnabled(hwnd))
            continue;
        if (AfxIsWindowClass(hwnd, "#32770")) return hwnd;
    }
    return nullptr;
}

} // namespace

void CMainFrame::OnHotKey(int id)
{
    if (id != m_hotKey.GetId()) return;
    if (HWND dialog = FrontDialog(::GetCurrentThreadId())) {
        ::SetForegroundWindow(dialog);
        return;
    }
    if (!IsBarMinimized() && ::GetForegroundWindow() == m_hWnd) {
        MinimizeBar();
        return;
    }
    // The focus goes to path 1 as the bar is activated; its whole text is
    // selected, ready to be typed over.
    if (IsBarMinimized()) MaximizeBar();
    FocusControl(m_wndCombo1);
    ::SetForegroundWindow(m_hWnd);
    m_wndCombo1.SendMessage(CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void CMainFrame::NameControls()
{
    // A screen reader in the box's edit field hears the box's name too.
    for (int k = 1; k <= 2; ++k) {
        const std::wstring name = AfxLoadStringW(k == 1 ? IDS_PATH1_NAME : IDS_PATH2_NAME);
        AfxSetAccessibleName(Slot(k).combo, name, ROLE_SYSTEM_COMBOBOX);
        AfxSetAccessibleName(Slot(k).combo.GetEditWnd(), name, ROLE_SYSTEM_TEXT);
    }
    for (HWND toolbar : {m_wndToolBarMain.m_hWnd, m_wndToolBar1.m_hWnd, m_wndToolBar2.m_hWnd})
        AfxSetAccessibleToolbar(toolbar);
}

void CMainFrame::OnDestroy()
{
    CFrameBarWnd::OnDestroy();
    m_hotKey.Release();
}

void CMainFrame::UpdateHotKey()
{
    if (CHotKey::TypesCharacter(m_wHotKey, ::GetKeyboardLayout(0))) m_hotKey.Release();
    else m_hotKey.Change(m_hWnd, m_wHotKey);
}
