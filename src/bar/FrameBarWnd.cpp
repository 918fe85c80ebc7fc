#include "bar/FrameBarWnd.h"

#include "bar/BarPictures.h"
#include "framework/Dpi.h"
#include "framework/Gdi.h"
#include "framework/Look.h"
#include "framework/WinApp.h"
#include "settings/WindowsVersion.h"

#include <shellapi.h>
#include <windowsx.h>

namespace {

void SendAppBarMessage(DWORD message, HWND hwnd, UINT callback = 0)
{
    APPBARDATA data = {};
    data.cbSize = sizeof(data);
    data.hWnd = hwnd;
    data.uCallbackMessage = callback;
    ::SHAppBarMessage(message, &data);
}

// The rectangle of the shell's desktop view (the first child of the
// "Program Manager" window); false when the shell has no such window, as
// under shells other than Explorer.
bool GetShellDesktopRect(RECT& rect)
{
    HWND progman = ::FindWindowA("Progman", "Program Manager");
    if (!progman) return false;
    HWND view = ::GetWindow(progman, GW_CHILD);
    if (!view) return false;
    RECT rc{};
    if (!::GetWindowRect(view, &rc) || ::IsRectEmpty(&rc)) return false;
    ::CopyRect(&rect, &rc);
    return true;
}

} // namespace

CFrameBarWnd::CFrameBarWnd() = default;
CFrameBarWnd::~CFrameBarWnd() = default;

BOOL CFrameBarWnd::LoadBitmaps(UINT handleId, UINT handleActiveId, UINT tileId)
{
    m_nBitmapIds[0] = handleId;
    m_nBitmapIds[1] = handleActiveId;
    m_nBitmapIds[2] = tileId;
    HINSTANCE resources = AfxGetResourceHandle();
    const UINT dpi = GetDpi();
    const Look look = AfxGetLook();
    if (dpi == kDefaultDpi && look != Look::Contrast) {
        // The bitmaps, or their dark copies.
        const UINT offset = look == Look::Dark ? kDarkBitmapOffset : 0;
        m_dibHandle.Load(resources, handleId + offset);
        m_dibHandleActive.Load(resources, handleActiveId + offset);
        m_dibTile.Load(resources, tileId + offset);
    } else {
        // The drawn pictures stand for the resources: a missing one leaves
        // its part unpainted here too.
        auto exists = [&](UINT id) {
            return ::FindResourceA(resources, MAKEINTRESOURCEA(LOWORD(id)), MAKEINTRESOURCEA(2) /* RT_BITMAP */);
        };
        m_dibHandle.DeleteObject();
        m_dibHandleActive.DeleteObject();
        m_dibTile.DeleteObject();
        if (exists(handleId)) m_dibHandle.SetBitmap(DrawBarHandle(dpi, false, look));
        if (exists(handleActiveId)) m_dibHandleActive.SetBitmap(DrawBarHandle(dpi, true, look));
        if (exists(tileId)) m_dibTile.SetBitmap(DrawBarTile(dpi, look));
    }
    m_sizeHandle = m_dibHandle.GetSize();
    return TRUE;
}

RECT CFrameBarWnd::GetWorkArea() const
{
    RECT monitor{}, area{};
    if (m_monitor.Rects(monitor, area)) return area;
    RECT work = {0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    if (IsWindowsXPOrLater() && GetShellDesktopRect(work)) return work;
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    return work;
}

BOOL CFrameBarWnd::PlaceBar()
{
    // Exactly these styles: no caption, no border, not on the taskbar or in
    // the Alt+Tab list. WS_VISIBLE goes too; the caller shows the window.
    ::SetWindowLongPtrA(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(WS_POPUP));
    ::SetWindowLongPtrA(m_hWnd, GWL_EXSTYLE, static_cast<LONG_PTR>(WS_EX_TOOLWINDOW));
    RECT work = GetWorkArea();
    // SWP_FRAMECHANGED: the frame of the creation styles must go even when
    // the window happens to have the strip's size already.
    // Not activated yet: ShowBar brings it to the foreground as it shows it.
    // Activating a hidden window starts its input context first, which takes
    // a while with nothing on the screen.
    FitBar(work, work.top, SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    return TRUE;
}

void CFrameBarWnd::ShowBar()
{
    // The controls' and their tooltips' dark parts, in the dark look.
    AfxApplyLookToWindow(m_hWnd);
    ShowWindow(SW_SHOW);
    ::SetForegroundWindow(m_hWnd);
    UpdateWindow();
}

void CFrameBarWnd::FitBar(const RECT& work, int top, UINT flags)
{
    int left = m_bMinimized ? work.right - m_sizeHandle.cx : work.left;
    ::SetWindowPos(m_hWnd, nullptr, left, top, work.right - work.left, m_sizeHandle.cy, flags);
}

void CFrameBarWnd::RecalcBarPosition()
{
    RECT work = GetWorkArea();
    FitBar(work, work.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CFrameBarWnd::OnDpiChanged(UINT)
{
    // Ignores the rectangle the system suggests: the strip fits itself to
    // the work area. It reserves no room on the screen (the shell only
    // notifies it), so no reservation has to follow its new height.
    LoadBitmaps(m_nBitmapIds[0], m_nBitmapIds[1], m_nBitmapIds[2]);
    FitBar(GetWorkArea(), ClampTop(GetWindowRect().top, m_sizeHandle.cy), SWP_NOZORDER | SWP_NOACTIVATE);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
    return TRUE;
}

void CFrameBarWnd::MaximizeBar()
{
    RECT work = GetWorkArea();
    RECT rc = GetWindowRect();
    ::SetWindowPos(m_hWnd, nullptr, work.left, rc.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bMinimized = FALSE;
    if (::GetActiveWindow() == m_hWnd) RestoreFocus();
}

void CFrameBarWnd::MinimizeBar()
{
    RECT work = GetWorkArea();
    RECT rc = GetWindowRect();
    ::SetWindowPos(m_hWnd, nullptr, work.right - m_sizeHandle.cx, rc.top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_bMinimized = TRUE;
    // No key may reach the controls that have slid off the screen.
    RememberFocus();
    if (::IsChild(m_hWnd, ::GetFocus())) ::SetFocus(m_hWnd);
}

void CFrameBarWnd::FocusControl(HWND control)
{
    m_hwndFocus = control;
    if (!m_bMinimized && ::GetActiveWindow() == m_hWnd) RestoreFocus();
}

void CFrameBarWnd::RememberFocus()
{
    HWND focus = ::GetFocus();
    if (focus && ::IsChild(m_hWnd, focus)) m_hwndFocus = focus;
}

void CFrameBarWnd::RestoreFocus()
{
    HWND target = m_hwndFocus;
    if (target && !(::IsChild(m_hWnd, target) && ::IsWindowVisible(target) && ::IsWindowEnabled(target)))
        target = nullptr;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child && !target; child = ::GetWindow(child, GW_HWNDNEXT)) {
        const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
        if ((style & (WS_TABSTOP | WS_VISIBLE | WS_DISABLED)) == (WS_TABSTOP | WS_VISIBLE)) target = child;
    }
    ::SetFocus(target ? target : m_hWnd);
}

void CFrameBarWnd::OnActivate(UINT state)
{
    if (state == WA_INACTIVE) {
        RememberFocus();
        return;
    }
    // Back where it was, as in a dialog box; only the handle showing, on
    // the bar itself.
    if (m_bMinimized)
        ::SetFocus(m_hWnd);
    else
        RestoreFocus();
}

LRESULT CFrameBarWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CREATE:
        return OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam));
    case WM_SIZE:
        OnSize(static_cast<UINT>(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
        return 0;
    case WM_ERASEBKGND:
        return OnEraseBkgnd(reinterpret_cast<HDC>(wParam));
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_LBUTTONUP:
        OnLButtonUp(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_MOUSEMOVE:
        OnMouseMove(static_cast<UINT>(wParam), POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_WINDOWPOSCHANGED: {
        const LRESULT result = Default(msg, wParam, lParam);
        ClipToMonitor();
        return result;
    }
    case WM_DISPLAYCHANGE:
        Default(msg, wParam, lParam);
        OnDisplayChange();
        return 0;
    case WM_CAPTURECHANGED:
        OnCaptureChanged(reinterpret_cast<HWND>(lParam));
        return 0;
    case WM_ACTIVATE:
        OnActivate(LOWORD(wParam));
        return 0;
    case WM_ACTIVATEAPP:
        OnActivateApp(static_cast<BOOL>(wParam), static_cast<DWORD>(lParam));
        return 0;
    case WM_DESTROY:
        OnDestroy();
        return 0;
    case WM_SETTINGCHANGE:
        OnSettingChange(static_cast<UINT>(wParam), reinterpret_cast<LPCSTR>(lParam));
        return 0;
    case kAppBarCallback:
        return OnAppBarNotify(wParam, lParam);
    default:
        if (msg == AfxLookChangedMessage()) {
            // The pictures of the new look, of the same sizes (once there
            // are pictures).
            if (m_nBitmapIds[0]) LoadBitmaps(m_nBitmapIds[0], m_nBitmapIds[1], m_nBitmapIds[2]);
            return 0;
        }
        // WM_CTLCOLOR* reach the child control first (reflection), then the
        // default handling.
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
}

BOOL CFrameBarWnd::PreTranslateMessage(MSG* msg)
{
    if (m_bDragging && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) {
        // Esc ends an Alt-drag where the strip is: losing the capture ends it.
        ::ReleaseCapture();
        return TRUE;
    }
    bool key = msg->message >= WM_KEYFIRST && msg->message <= WM_KEYLAST;
    bool mouse = msg->message >= WM_MOUSEFIRST && msg->message <= WM_MBUTTONDBLCLK;
    // Keys on the bar itself while only its handle shows do nothing: Enter
    // would compare, Tab move into the controls off the screen.
    if (key && m_bMinimized && msg->hwnd == m_hWnd) return FALSE;
    if (key || mouse) return ::IsDialogMessageW(m_hWnd, msg);
    return FALSE;
}

int CFrameBarWnd::OnCreate(CREATESTRUCTA* cs)
{
    if (Default(WM_CREATE, 0, reinterpret_cast<LPARAM>(cs)) == -1) return -1;
    // The monitor it was left on, before anything is laid out for a work area.
    m_monitor.Load();
    return 0;
}

void CFrameBarWnd::RegisterAppBar()
{
    if (m_bAppBarRegistered || !m_hWnd) return;
    // Registered only to receive the shell's notifications: the position is
    // never negotiated (no ABM_QUERYPOS or ABM_SETPOS).
    SendAppBarMessage(ABM_NEW, m_hWnd, kAppBarCallback);
    m_bAppBarRegistered = TRUE;
}

void CFrameBarWnd::OnSize(UINT type, int cx, int cy)
{
    Default(WM_SIZE, type, MAKELPARAM(cx, cy));
}

void CFrameBarWnd::OnDestroy()
{
    if (m_bAppBarRegistered) SendAppBarMessage(ABM_REMOVE, m_hWnd);
    m_bAppBarRegistered = FALSE;
    Default(WM_DESTROY, 0, 0);
}

LRESULT CFrameBarWnd::OnAppBarNotify(WPARAM code, LPARAM)
{
    if (code == ABN_POSCHANGED) RecalcBarPosition();
    return 0;
}

void CFrameBarWnd::OnSettingChange(UINT flags, LPCSTR section)
{
    // The base handling follows a change of the look (framework/Look.h).
    Default(WM_SETTINGCHANGE, flags, reinterpret_cast<LPARAM>(section));
    // Only a change of the work area (or a notice that names no setting)
    // refits the strip: any other, a theme switch for one, keeps a place
    // chosen by Alt-drag.
    if (flags == SPI_SETWORKAREA || (flags == 0 && (!section || !*section))) RecalcBarPosition();
}

BOOL CFrameBarWnd::OnEraseBkgnd(HDC dc)
{
    RECT client = GetClientRect();
    SIZE handle = m_dibHandle.GetSize();
    const CDib& handleDib = m_bAppActive ? m_dibHandleActive : m_dibHandle;
    handleDib.Draw(dc, RECT{client.left, client.top, client.left + handle.cx, client.top + handle.cy});

    // Without a tile bitmap there is nothing to repeat.
    int tileWidth = m_dibTile.GetSize().cx;
    if (tileWidth > 0) {
        for (int x = handle.cx; x < client.right; x += tileWidth)
            m_dibTile.Draw(dc, RECT{x, client.top, x + tileWidth, client.top + handle.cy});
    }
    return TRUE;
}

void CFrameBarWnd::OnActivateApp(BOOL active, DWORD thread)
{
    Default(WM_ACTIVATEAPP, static_cast<WPARAM>(active), static_cast<LPARAM>(thread));
    m_bAppActive = active ? TRUE : FALSE;
    // Repaint the handle now, in the bitmap of the new state.
    RECT client = GetClientRect();
    RECT handle = {client.left, client.top, client.left + m_dibHandle.GetSize().cx, client.bottom};
    ::InvalidateRect(m_hWnd, &handle, TRUE);
    UpdateWindow();
}

int CFrameBarWnd::ClampTop(int top, int height) const
{
    // The upper limit is the top of the screen, not of the work area; the
    // lower limit (the strip's bottom on the work area's bottom) wins when
    // the two conflict.
    RECT monitor{}, work{};
    if (!m_monitor.Rects(monitor, work)) work = GetWorkArea(); // one monitor: the screen's top is 0
    if (top < monitor.top) top = monitor.top;
    if (top > work.bottom - height) top = work.bottom - height;
    return top;
}

int CFrameBarWnd::DragTop(POINT point) const
{
    ::ClientToScreen(m_hWnd, &point);
    RECT rc = GetWindowRect();
    return ClampTop(point.y - m_ptDragStart.y, rc.bottom - rc.top);
}

void CFrameBarWnd::MoveToTop(int top) const
{
    RECT rc = GetWindowRect();
    ::SetWindowPos(m_hWnd, nullptr, rc.left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFrameBarWnd::OnLButtonDown(UINT flags, POINT point)
{
    Default(WM_LBUTTONDOWN, flags, MAKELPARAM(point.x, point.y));
    if (::GetKeyState(VK_MENU) >= 0) {
        MaximizeBar();
        return;
    }
    if (m_bDragging) return;
    m_bDragging = TRUE;
    m_ptDragStart = point;
    ::SetCapture(m_hWnd);
}

void CFrameBarWnd::OnMouseMove(UINT flags, POINT point)
{
    Default(WM_MOUSEMOVE, flags, MAKELPARAM(point.x, point.y));
    if (!m_bDragging || FollowPointer(point)) return;
    int top = DragTop(point);
    if (top != GetWindowRect().top) MoveToTop(top);
}

void CFrameBarWnd::OnLButtonUp(UINT flags, POINT point)
{
    Default(WM_LBUTTONUP, flags, MAKELPARAM(point.x, point.y));
    if (!m_bDragging) return;
    FollowPointer(point);
    MoveToTop(DragTop(point));
    m_bDragging = FALSE;
    ::ReleaseCapture();
}

void CFrameBarWnd::OnCaptureChanged(HWND newCapture)
{
    Default(WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(newCapture));
    // Another window took the mouse (a menu, a dialog, a task switch): the
    // drag ends where the strip is, or the next move would still drag it.
    if (newCapture != m_hWnd) m_bDragging = FALSE;
}

bool CFrameBarWnd::FollowPointer(POINT point)
{
    if (!CBarMonitor::Several()) return false;
    POINT screen = point;
    ::ClientToScreen(m_hWnd, &screen);
    const HMONITOR under = CBarMonitor::AtPoint(screen);
    if (!under || !m_monitor.Set(under)) return false;
    // Across the new monitor's work area, in the same state, the grab
    // offset kept.
    RECT rc = GetWindowRect();
    FitBar(GetWorkArea(), ClampTop(screen.y - m_ptDragStart.y, rc.bottom - rc.top), SWP_NOZORDER | SWP_NOACTIVATE);
    m_monitor.Save();
    return true;
}

void CFrameBarWnd::ClipToMonitor()
{
    RECT window = GetWindowRect(), monitor{}, work{}, part{};
    if (m_monitor.Rects(monitor, work) && ::IntersectRect(&part, &window, &monitor) && !::EqualRect(&part, &window))
        ::OffsetRect(&part, -window.left, -window.top);
    else
        part = RECT{};
    if (::EqualRect(&part, &m_rcClip)) return;
    GdiObject<HRGN> region(::IsRectEmpty(&part) ? nullptr : ::CreateRectRgnIndirect(&part));
    if (!::IsRectEmpty(&part) && !region) return;
    // Noted first: setting the region moves the window again (and brings
    // this back here).
    const RECT previous = m_rcClip;
    m_rcClip = part;
    if (::SetWindowRgn(m_hWnd, region, TRUE))
        region.Release(); // the window's now
    else
        m_rcClip = previous;
}

void CFrameBarWnd::OnDisplayChange()
{
    // The texts and lists stay; only the place follows the monitors.
    m_monitor.Refind();
    RecalcBarPosition();
}
