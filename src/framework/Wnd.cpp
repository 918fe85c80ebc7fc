#include "framework/Wnd.h"

#include "framework/CodePage.h"
#include "framework/Dpi.h"
#include "framework/Look.h"

#include <unordered_map>
#include <vector>

namespace {

// HWND -> object. One GUI thread uses it, so it needs no lock.
std::unordered_map<HWND, CWnd*>& WindowMap()
{
    static std::unordered_map<HWND, CWnd*> map;
    return map;
}

// The object waiting for its window while a window is being created, and the
// CBT hook that attaches it to the first window created. Creations nest (a
// window may create others from WM_CREATE), so the outer state is kept.
struct CreateHookState {
    CWnd* pending;
    HHOOK hook;
};
CWnd* g_pWndInit = nullptr;
HHOOK g_hCbtHook = nullptr;
std::vector<CreateHookState>& CreateHookStack()
{
    static std::vector<CreateHookState> stack;
    return stack;
}

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam);

} // namespace

struct WndInternals {
    static void AttachPending(HWND hwnd)
    {
        CWnd* wnd = g_pWndInit;
        g_pWndInit = nullptr;
        wnd->Attach(hwnd);
        wnd->m_pfnSuper = reinterpret_cast<WNDPROC>(
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    }
};

namespace {

LRESULT CALLBACK CbtFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code == HCBT_CREATEWND && g_pWndInit)
        WndInternals::AttachPending(reinterpret_cast<HWND>(wParam));
    return ::CallNextHookEx(g_hCbtHook, code, wParam, lParam);
}

} // namespace

void AfxHookWindowCreate(CWnd* wnd)
{
    CreateHookStack().push_back({g_pWndInit, g_hCbtHook});
    g_pWndInit = wnd;
    g_hCbtHook = ::SetWindowsHookExA(WH_CBT, CbtFilterHook, nullptr, ::GetCurrentThreadId());
}

void AfxUnhookWindowCreate()
{
    if (g_hCbtHook) ::UnhookWindowsHookEx(g_hCbtHook);
    auto& stack = CreateHookStack();
    if (stack.empty()) {
        g_pWndInit = nullptr;
        g_hCbtHook = nullptr;
        return;
    }
    g_pWndInit = stack.back().pending;
    g_hCbtHook = stack.back().hook;
    stack.pop_back();
}

std::string GetWindowTextString(HWND hwnd)
{
    // Read in UTF-16: the ANSI length is an estimate, short of the bytes
    // where a character takes three (UTF-8), and the text came cut.
    return ToAnsi(GetWindowTextWide(hwnd));
}

bool AfxIsWindowClass(HWND hwnd, const char* className)
{
    char name[64] = {};
    return hwnd && ::GetClassNameA(hwnd, name, sizeof(name)) && ::lstrcmpiA(name, className) == 0;
}

bool AfxIsGroupBox(HWND hwnd)
{
    return AfxIsWindowClass(hwnd, "Button") && (::GetWindowLongPtrA(hwnd, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
}

CWnd::CWnd() = default;

CWnd::~CWnd()
{
    // An object that dies before its window lets go of it, so the window
    // never calls into freed memory.
    if (m_hWnd) {
        if (m_pfnSuper && ::IsWindow(m_hWnd))
            UnsubclassWindow();
        else
            Detach();
    }
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd) return nullptr;
    auto& map = WindowMap();
    auto it = map.find(hwnd);
    return it == map.end() ? nullptr : it->second;
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    WindowMap()[hwnd] = this;
}

void CWnd::Detach()
{
    if (m_hWnd) {
        auto& map = WindowMap();
        auto it = map.find(m_hWnd);
        if (it != map.end() && it->second == this) map.erase(it);
    }
    m_hWnd = nullptr;
}

template <class Create>
BOOL CWnd::CreateHooked(Create create)
{
    if (m_hWnd) return FALSE;

    // Counted like a handler of the window: a window destroyed during its
    // creation (WM_CREATE refused) leaves its object alive until this call
    // is done with it.
    ++m_nMessageDepth;
    AfxHookWindowCreate(this);
    HWND hwnd = create(::GetModuleHandleA(nullptr));
    AfxUnhookWindowCreate();

    if (!hwnd) {
        // Creation failed after the object was attached (WM_NCCREATE or
        // WM_CREATE refused): the window is gone, so is the link.
        if (m_hWnd) Detach();
        m_pfnSuper = nullptr;
    }
    if (--m_nMessageDepth == 0 && m_bPostNcDestroyPending) {
        // The window is gone already; the object may delete itself here.
        m_bPostNcDestroyPending = false;
        PostNcDestroy();
        return FALSE;
    }
    return hwnd ? TRUE : FALSE;
}

BOOL CWnd::CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                    const RECT& rect, HWND parent, UINT_PTR idOrMenu, LPVOID param)
{
    return CreateHooked([&](HINSTANCE inst) {
        return ::CreateWindowExA(exStyle, className, windowName, style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(idOrMenu), inst, param);
    });
}

BOOL CWnd::CreateUnicodeEx(DWORD exStyle, LPCWSTR className, DWORD style, const RECT& rect, HWND parent, UINT_PTR id)
{
    return CreateHooked([&](HINSTANCE inst) {
        return ::CreateWindowExW(exStyle, className, nullptr, style, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top, parent, reinterpret_cast<HMENU>(id), inst, nullptr);
    });
}

BOOL CWnd::SubclassWindow(HWND hwnd)
{
    if (m_hWnd || !hwnd || !::IsWindow(hwnd) || FromHandle(hwnd)) return FALSE;
    Attach(hwnd);
    PreSubclassWindow();
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc)));
    if (!m_pfnSuper) {
        Detach();
        return FALSE;
    }
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT id, CWnd* parent)
{
    return parent ? SubclassWindow(::GetDlgItem(parent->m_hWnd, static_cast<int>(id))) : FALSE;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd && m_pfnSuper)
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    return hwnd;
}

BOOL CWnd::DestroyWindow()
{
    return m_hWnd ? ::DestroyWindow(m_hWnd) : FALSE;
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (m_pfnSuper) return ::CallWindowProcA(m_pfnSuper, m_hWnd, msg, wParam, lParam);
    return ::DefWindowProcA(m_hWnd, msg, wParam, lParam);
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_DPICHANGED) {
        // The new DPI in the low word (the x axis; the y axis's is the same).
        m_nDpi = AfxUsableDpi(LOWORD(wParam));
        if (OnDpiChanged(m_nDpi)) return 0;
    }
    // A top-level window hears of a change of the system's settings or
    // colours: the look may follow (framework/Look.h).
    if ((msg == WM_SETTINGCHANGE || msg == WM_SYSCOLORCHANGE) &&
        !(::GetWindowLongPtrA(m_hWnd, GWL_STYLE) & WS_CHILD))
        AfxUpdateLook(msg == WM_SYSCOLORCHANGE);
    return DefWindowProc(msg, wParam, lParam);
}

BOOL CWnd::OnDpiChanged(UINT)
{
    return FALSE;
}

UINT CWnd::GetDpi() const
{
    HWND root = m_hWnd ? ::GetAncestor(m_hWnd, GA_ROOT) : nullptr;
    const CWnd* top = root == m_hWnd ? this : FromHandle(root);
    if (top && top->m_nDpi) return top->m_nDpi;
    return AfxQueryWindowDpi(m_hWnd);
}

BOOL CWnd::PreTranslateMessage(MSG*)
{
    return FALSE;
}

BOOL CWnd::OnChildNotify(UINT, WPARAM, LPARAM, LRESULT*)
{
    return FALSE;
}

std::string CWnd::GetWindowText() const
{
    return GetWindowTextString(m_hWnd);
}

// With several monitors, the work area of the monitor that the owner begins
// on (the bar's left end lies on its own monitor whether it is slid out or
// in); false with one monitor, where the system's work area is the one.
static bool OwnersMonitorWorkArea(HWND owner, RECT& work)
{
    RECT r;
    if (!owner || ::GetSystemMetrics(SM_CMONITORS) < 2 || !::GetWindowRect(owner, &r)) return false;
    MONITORINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetMonitorInfoA(::MonitorFromPoint(POINT{r.left, r.top}, MONITOR_DEFAULTTONEAREST), &info)) return false;
    work = info.rcWork;
    return true;
}

void CWnd::CenterWindow(HWND alternateOwner) const
{
    HWND center = alternateOwner ? alternateOwner : ::GetWindow(m_hWnd, GW_OWNER);
    // Kept on the work area: the owner's monitor's where there are several,
    // and there "the desktop" is that monitor's work area too.
    RECT work{};
    const bool ownersMonitor = OwnersMonitorWorkArea(::GetWindow(m_hWnd, GW_OWNER), work);
    if (!ownersMonitor) ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT area = work;
    if (center && !(ownersMonitor && center == ::GetDesktopWindow())) ::GetWindowRect(center, &area);
    RECT rc = GetWindowRect();
    int w = rc.right - rc.left, h = rc.bottom - rc.top;
    int x = (area.left + area.right) / 2 - w / 2;
    int y = (area.top + area.bottom) / 2 - h / 2;
    if (x + w > work.right) x = work.right - w;
    if (y + h > work.bottom) y = work.bottom - h;
    if (x < work.left) x = work.left;
    if (y < work.top) y = work.top;
    ::SetWindowPos(m_hWnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CWnd* ReflectionTarget(UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND child = nullptr;
    switch (msg) {
    case WM_COMMAND:
        child = reinterpret_cast<HWND>(lParam); // 0 for menus and accelerators
        break;
    case WM_NOTIFY:
        child = reinterpret_cast<const NMHDR*>(lParam)->hwndFrom;
        break;
    case WM_CTLCOLORMSGBOX: case WM_CTLCOLOREDIT: case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN: case WM_CTLCOLORDLG: case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
        child = reinterpret_cast<HWND>(lParam);
        break;
    case WM_DRAWITEM:
        if (wParam != 0) child = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam)->hwndItem;
        break;
    default:
        break;
    }
    return child ? CWnd::FromHandle(child) : nullptr;
}

CWnd::LifeGuard::LifeGuard(CWnd* wnd) : m_pWnd(wnd)
{
    if (m_pWnd) ++m_pWnd->m_nMessageDepth;
}

CWnd::LifeGuard::~LifeGuard()
{
    if (m_pWnd && --m_pWnd->m_nMessageDepth == 0 && m_pWnd->m_bPostNcDestroyPending) {
        m_pWnd->m_bPostNcDestroyPending = false;
        m_pWnd->PostNcDestroy();
    }
}

LRESULT CALLBACK CWnd::StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    CWnd* wnd = FromHandle(hwnd);
    if (!wnd) return ::DefWindowProcA(hwnd, msg, wParam, lParam);

    // The object finishes its life (frames delete themselves) only once no
    // handler of its window is running any more: a window destroyed from
    // inside one of its own handlers (closed during a modal dialog, a menu
    // or the Exit command) leaves that handler a live object to return to.
    // A child's object is mostly a member of its top-level window's, which
    // therefore stays as long, whichever goes first.
    HWND root = (::GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD) ? ::GetAncestor(hwnd, GA_ROOT) : nullptr;
    LifeGuard keepTop(root && root != hwnd ? FromHandle(root) : nullptr);
    LifeGuard keep(wnd);

    // Notifications go to the child control's object first.
    if (CWnd* child = ReflectionTarget(msg, wParam, lParam)) {
        if (child != wnd) {
            LRESULT result = 0;
            if (child->OnChildNotify(msg, wParam, lParam, &result)) return result;
        }
    }

    LRESULT result = wnd->WindowProc(msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
        // The window is gone: put the old procedure back (the window may
        // still be subclassed by somebody else) and detach.
        if (wnd->m_pfnSuper &&
            ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&CWnd::StaticWndProc))
            ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(wnd->m_pfnSuper));
        wnd->m_pfnSuper = nullptr;
        wnd->Detach();
        wnd->m_bPostNcDestroyPending = true;
    }
    return result;
}
