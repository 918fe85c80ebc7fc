#include "framework/FrameWnd.h"

#include "framework/WinApp.h"

#include <commctrl.h>

const char* const kFrameWndClass = "PairmateFrameWnd";

const RECT CFrameWnd::rectDefault = {CW_USEDEFAULT, CW_USEDEFAULT, 0, 0};

namespace {

void RegisterFrameClass()
{
    static bool registered = false;
    if (registered) return;
    WNDCLASSA wc = {};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = ::DefWindowProcA; // replaced per window by the CWnd link
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFrameWndClass;
    registered = ::RegisterClassA(&wc) != 0 || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

} // namespace

CFrameWnd::CFrameWnd() = default;
CFrameWnd::~CFrameWnd() = default;

BOOL CFrameWnd::Create(LPCSTR className, LPCSTR windowName, DWORD style, const RECT& rect,
                       CWnd* parent, LPCSTR menuName, DWORD exStyle)
{
    RegisterFrameClass();
    HMENU menu = menuName ? ::LoadMenuA(AfxGetResourceHandle(), menuName) : nullptr;
    RECT rc = rect;
    if (rect.left == CW_USEDEFAULT) {
        // CreateWindowEx takes CW_USEDEFAULT in x and width only.
        rc = {CW_USEDEFAULT, 0, CW_USEDEFAULT, 0};
    }
    BOOL ok = CreateEx(exStyle, className ? className : kFrameWndClass, windowName, style, rc,
                       parent ? parent->m_hWnd : nullptr, reinterpret_cast<UINT_PTR>(menu));
    if (!ok && menu) ::DestroyMenu(menu);
    return ok;
}

std::string CFrameWnd::GetCommandTip(UINT id)
{
    std::string text = AfxLoadString(id);
    size_t nl = text.find('\n');
    if (nl == std::string::npos) return std::string();
    text.erase(0, nl + 1);
    size_t next = text.find('\n');
    if (next != std::string::npos) text.erase(next);
    return text;
}

BOOL CFrameWnd::OnToolTipText(NMHDR* hdr)
{
    UINT id = static_cast<UINT>(hdr->idFrom);
    if (hdr->code == TTN_GETDISPINFOA) {
        auto* info = reinterpret_cast<NMTTDISPINFOA*>(hdr);
        if (info->uFlags & TTF_IDISHWND) id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(hdr->idFrom)));
        m_strTipBuffer = GetCommandTip(id);
        info->lpszText = &m_strTipBuffer[0];
        info->hinst = nullptr;
        return TRUE;
    }
    if (hdr->code == TTN_GETDISPINFOW) {
        auto* info = reinterpret_cast<NMTTDISPINFOW*>(hdr);
        if (info->uFlags & TTF_IDISHWND) id = static_cast<UINT>(::GetDlgCtrlID(reinterpret_cast<HWND>(hdr->idFrom)));
        std::string tip = GetCommandTip(id);
        info->szText[0] = L'\0';
        ::MultiByteToWideChar(CP_ACP, 0, tip.c_str(), -1, info->szText,
                              static_cast<int>(sizeof(info->szText) / sizeof(info->szText[0])));
        info->szText[sizeof(info->szText) / sizeof(info->szText[0]) - 1] = L'\0';
        info->lpszText = info->szText;
        info->hinst = nullptr;
        return TRUE;
    }
    return FALSE;
}

BOOL CFrameWnd::OnCommand(UINT id, UINT, HWND)
{
    if (id == ID_APP_EXIT) {
        // The application's Exit: close the main window.
        ::SendMessageA(m_hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
    return FALSE;
}

LRESULT CFrameWnd::WindowProc(UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COMMAND:
        if (OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam))) return 0;
        break;
    case WM_NOTIFY:
        if (OnToolTipText(reinterpret_cast<NMHDR*>(lParam))) return 0;
        break;
    case WM_NCDESTROY: {
        CWinApp* app = AfxGetApp();
        if (app && app->m_pMainWnd == this) {
            app->m_pMainWnd = nullptr;
            ::PostQuitMessage(0);
        }
        break;
    }
    default:
        break;
    }
    return CWnd::WindowProc(msg, wParam, lParam);
}

void CFrameWnd::PostNcDestroy()
{
    if (m_bAutoDelete) delete this;
}
