// The bar's right-click menu: one popup for the maximised bar, another for
// the minimised one, drawn by the menu drawer with the toolbar images.
#include "app/MainFrame.h"

#include "framework/Handles.h"
#include "framework/Language.h"
#include "res/resource.h"

void CMainFrame::OnContextMenu(HWND, POINT pt)
{
    UniqueMenu menu(AfxLoadMenu(IDR_CONTEXT_MENU));
    if (!menu) return;
    HMENU popup = ::GetSubMenu(menu, IsBarMinimized() ? 1 : 0);
    if (!popup) return;

    // Asked for from the keyboard (Shift+F10, the menu key), the menu comes
    // with no point: it opens below the control with the focus, or below
    // the handle while only the handle shows.
    UINT align = TPM_BOTTOMALIGN;
    if (pt.x == -1 && pt.y == -1) {
        HWND control = ::GetFocus();
        while (control && ::GetParent(control) != m_hWnd) control = ::GetParent(control);
        RECT below = GetWindowRect();
        if (::IsWindow(control) && !IsBarMinimized()) ::GetWindowRect(control, &below);
        pt = POINT{below.left, below.bottom};
        align = TPM_TOPALIGN;
    }

    // The menu belongs to the foreground window's input; share it for the
    // time the menu is open so that a click elsewhere closes it.
    DWORD foregroundThread = ::GetWindowThreadProcessId(::GetForegroundWindow(), nullptr);
    DWORD thisThread = ::GetCurrentThreadId();
    bool attached = foregroundThread && foregroundThread != thisThread &&
                    ::AttachThreadInput(thisThread, foregroundThread, TRUE);
    ::SetForegroundWindow(m_hWnd);

    ::TrackPopupMenu(popup, TPM_RIGHTBUTTON | align, pt.x, pt.y, 0, m_hWnd, nullptr);

    if (attached) ::AttachThreadInput(thisThread, foregroundThread, FALSE);
    PostMessage(WM_NULL);
}
