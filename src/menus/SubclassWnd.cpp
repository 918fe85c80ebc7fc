#include "menus/SubclassWnd.h"

#include "framework/Wnd.h"

namespace {

// False once the process-wide map has been destroyed at exit: a hook that is
// itself destroyed later (a static object) must not reach for it.
bool g_bHookMapAlive = false;

HWND HandleOf(const CWnd* wnd)
{
    return wnd ? wnd->GetSafeHwnd() : nullptr;
}

WNDPROC SetWndProc(HWND hwnd, WNDPROC proc)
{
    return reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc)));
}

} // namespace

// CSubclassWnd --------------------------------------------------------------

CSubclassWnd::~CSubclassWnd()
{
    if (m_pWndHooked && g_bHookMapAlive) Unhook();
}

BOOL CSubclassWnd::HookWindow(CWnd* wnd)
{
    if (m_pWndHooked) Unhook();
    if (!GetHookMap().AddHook(HandleOf(wnd), this)) return FALSE;
    m_pWndHooked = wnd;
    return TRUE;
}

BOOL CSubclassWnd::Unhook()
{
    if (m_pWndHooked) GetHookMap().RemoveHook(HandleOf(m_pWndHooked), this);
    m_pOldWndProc = nullptr;
    m_pWndHooked = nullptr;
    m_pNext = nullptr;
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext) return m_pNext->WindowProc(hwnd, msg, wParam, lParam);
    if (m_pOldWndProc) return ::CallWindowProcA(m_pOldWndProc, hwnd, msg, wParam, lParam);
    // Detached while handling this message: nobody is left to pass it to.
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

// CSubclassWndMap ----------------------------------------------------------

CSubclassWndMap::~CSubclassWndMap()
{
    g_bHookMapAlive = false;
}

BOOL CSubclassWndMap::AddHook(HWND hwnd, CSubclassWnd* hook)
{
    if (!hook) return FALSE;
    CSubclassWnd* head = LookupHook(hwnd);
    if (head) {
        hook->m_pNext = head;
        hook->m_pOldWndProc = head->m_pOldWndProc;
    } else {
        WNDPROC old = hwnd ? SetWndProc(hwnd, &HookWndProc) : nullptr;
        if (!old) return FALSE;
        hook->m_pNext = nullptr;
        hook->m_pOldWndProc = old;
    }
    m_hooks[hwnd] = hook;
    return TRUE;
}

BOOL CSubclassWndMap::RemoveHook(HWND hwnd, CSubclassWnd* hook)
{
    auto it = m_hooks.find(hwnd);
    if (it == m_hooks.end() || !hook) return TRUE;
    CSubclassWnd* head = it->second;
    if (head == hook) {
        if (head->m_pNext) {
            it->second = head->m_pNext;
        } else {
            m_hooks.erase(it);
            SetWndProc(hwnd, head->m_pOldWndProc);
        }
        return TRUE;
    }
    for (CSubclassWnd* p = head; p->m_pNext; p = p->m_pNext) {
        if (p->m_pNext == hook) {
            p->m_pNext = hook->m_pNext;
            break;
        }
    }
    return TRUE;
}

BOOL CSubclassWndMap::RemoveAllHooks(HWND hwnd)
{
    while (CSubclassWnd* hook = LookupHook(hwnd)) {
        if (HandleOf(hook->m_pWndHooked) == hwnd) {
            hook->Unhook();
        } else {
            // A head whose object no longer names this window (its handle was
            // cleared early): unlink it directly so the loop always ends.
            RemoveHook(hwnd, hook);
            hook->m_pOldWndProc = nullptr;
            hook->m_pWndHooked = nullptr;
            hook->m_pNext = nullptr;
        }
    }
    return TRUE;
}

CSubclassWnd* CSubclassWndMap::LookupHook(HWND hwnd) const
{
    auto it = m_hooks.find(hwnd);
    return it == m_hooks.end() ? nullptr : it->second;
}

CSubclassWndMap& GetHookMap()
{
    static CSubclassWndMap map;
    g_bHookMapAlive = true;
    return map;
}

// The window procedure ------------------------------------------------------

LRESULT CALLBACK HookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CSubclassWnd* head = GetHookMap().LookupHook(hwnd);
    if (!head) {
        // Only reachable when somebody replaced the procedure after the hooks
        // and still passes messages here after the last hook has gone.
        return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        WNDPROC old = head->GetOldWndProc();
        GetHookMap().RemoveAllHooks(hwnd);
        return ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
    }
    return head->WindowProc(hwnd, msg, wParam, lParam);
}
