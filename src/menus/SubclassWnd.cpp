#include "menus/SubclassWnd.h"

#include "framework/Wnd.h"

#include <algorithm>

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
    if (!g_bHookMapAlive) return;
    if (m_pWndHooked) Unhook();
    GetHookMap().ForgetHook(this);
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
    m_pWndHooked = nullptr;
    // A message in flight still goes on along the chain this hook was in.
    if (!g_bHookMapAlive || !GetHookMap().IsDispatching(this)) ReleaseChain();
    return TRUE;
}

LRESULT CSubclassWnd::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_pNext) return GetHookMap().Dispatch(m_pNext, hwnd, msg, wParam, lParam);
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
    auto earlier = m_earlierProcs.find(hwnd);
    if (head) {
        hook->m_pNext = head;
        hook->m_pOldWndProc = head->m_pOldWndProc;
    } else if (earlier != m_earlierProcs.end()) {
        // HookWndProc is still reached (through the procedure set after the
        // former hooks): the new hook takes their place in the chain.
        hook->m_pNext = nullptr;
        hook->m_pOldWndProc = earlier->second;
        m_earlierProcs.erase(earlier);
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
            // A procedure set after the hooks stays, and what it passes on
            // still reaches the earlier one through HookWndProc.
            if (::GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&HookWndProc))
                SetWndProc(hwnd, head->m_pOldWndProc);
            else
                m_earlierProcs[hwnd] = head->m_pOldWndProc;
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

LRESULT CSubclassWndMap::Dispatch(CSubclassWnd* hook, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const size_t slot = m_dispatching.size();
    m_dispatching.push_back(hook);
    const LRESULT result = hook->WindowProc(hwnd, msg, wParam, lParam);
    // The hook may have been destroyed meanwhile (its slot is then null).
    CSubclassWnd* alive = m_dispatching[slot];
    m_dispatching.resize(slot);
    // Unhooked while handling the message: now it lets go of the chain.
    if (alive && !alive->m_pWndHooked && !IsDispatching(alive)) alive->ReleaseChain();
    return result;
}

LRESULT CSubclassWndMap::PassOnUnhooked(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto earlier = m_earlierProcs.find(hwnd);
    if (earlier == m_earlierProcs.end()) return ::DefWindowProcA(hwnd, msg, wParam, lParam);
    const WNDPROC proc = earlier->second;
    if (msg == WM_NCDESTROY) m_earlierProcs.erase(earlier);
    return ::CallWindowProcA(proc, hwnd, msg, wParam, lParam);
}

bool CSubclassWndMap::IsDispatching(const CSubclassWnd* hook) const
{
    return std::find(m_dispatching.begin(), m_dispatching.end(), hook) != m_dispatching.end();
}

void CSubclassWndMap::ForgetHook(CSubclassWnd* hook)
{
    std::replace(m_dispatching.begin(), m_dispatching.end(), hook, static_cast<CSubclassWnd*>(nullptr));
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
    CSubclassWndMap& map = GetHookMap();
    CSubclassWnd* head = map.LookupHook(hwnd);
    if (!head) {
        // Only reachable when somebody replaced the procedure after the hooks
        // and still passes messages here after the last hook has gone.
        return map.PassOnUnhooked(hwnd, msg, wParam, lParam);
    }
    if (msg == WM_NCDESTROY) {
        WNDPROC old = head->GetOldWndProc();
        map.RemoveAllHooks(hwnd);
        map.ForgetWindow(hwnd);
        return ::CallWindowProcA(old, hwnd, msg, wParam, lParam);
    }
    return map.Dispatch(head, hwnd, msg, wParam, lParam);
}
