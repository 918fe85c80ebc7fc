#include "framework/WinApp.h"

#include "framework/CodePage.h"
#include "framework/Language.h"
#include "framework/Look.h"
#include "framework/Wnd.h"

#include <ole2.h>

namespace {
CWinApp* g_pApp = nullptr;
bool g_bOleRunning = false;
} // namespace

BOOL AfxOleInit()
{
    if (!g_bOleRunning) g_bOleRunning = SUCCEEDED(::OleInitialize(nullptr));
    return g_bOleRunning;
}

void AfxOleTerm()
{
    if (!g_bOleRunning) return;
    ::OleUninitialize();
    g_bOleRunning = false;
}

BOOL AfxOleRunning()
{
    return g_bOleRunning;
}

CWinApp* AfxGetApp()
{
    return g_pApp;
}

HINSTANCE AfxGetResourceHandle()
{
    return ::GetModuleHandleA(nullptr);
}

std::string AfxLoadString(UINT id)
{
    return ToAnsi(AfxLoadStringW(id));
}

const std::string& AfxGetAppTitle()
{
    static const std::string fallback = "Pairmate";
    CWinApp* app = AfxGetApp();
    return app && !app->GetAppTitle().empty() ? app->GetAppTitle() : fallback;
}

int AfxMessageBox(HWND owner, UINT textId)
{
    return AfxLookMessageBox(owner, AfxLoadString(textId).c_str(), AfxGetAppTitle().c_str(), MB_OK | MB_ICONEXCLAMATION);
}

CWinApp::CWinApp()
{
    g_pApp = this;
    m_strAppTitle = AfxLoadString(AFX_IDS_APP_TITLE);
}

CWinApp::~CWinApp()
{
    if (g_pApp == this) g_pApp = nullptr;
}

BOOL AfxPreTranslateMessage(MSG* msg)
{
    // From the target window up to its top-level window; a popup's owner
    // (GetParent of a top-level window) is another window's business.
    for (HWND hwnd = msg->hwnd; hwnd; hwnd = ::GetParent(hwnd)) {
        if (CWnd* wnd = CWnd::FromHandle(hwnd)) {
            if (wnd->PreTranslateMessage(msg)) return TRUE;
        }
        if (!(::GetWindowLongPtrA(hwnd, GWL_STYLE) & WS_CHILD)) break;
    }
    return FALSE;
}

// The loops take messages in UTF-16 (GetMessageW): a character typed into a
// control comes as it was typed, whatever the code page, and reaches the
// system's controls, which are Unicode windows, unchanged. A window of the
// program's own gets its messages converted to its character set by the
// system as always.
BOOL AfxPumpMessage()
{
    MSG msg;
    BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
    if (got == -1) return FALSE;
    if (!got) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return FALSE;
    }
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
    return TRUE;
}

int CWinApp::Run()
{
    for (;;) {
        MSG msg;
        if (!::PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE)) OnIdle();
        BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (!got) {
            m_exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
    return ExitInstance();
}

int AfxWinMain()
{
    CWinApp* app = AfxGetApp();
    if (!app) return -1;
    if (!app->InitInstance()) return app->ExitInstance();
    return app->Run();
}

void AfxRefreshCursor(HWND window)
{
    POINT pt;
    if (!::GetCursorPos(&pt)) return;
    HWND under = ::WindowFromPoint(pt);
    if (under && (under == window || ::IsChild(window, under))) {
        const LRESULT hit = ::SendMessageA(under, WM_NCHITTEST, 0, MAKELPARAM(pt.x, pt.y));
        ::SendMessageA(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
    }
}
