#include "framework/WinApp.h"

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
    // LoadStringA cannot report the length in advance; grow until it fits.
    for (int size = 256; size <= 65536; size *= 4) {
        std::string buf(static_cast<size_t>(size), '\0');
        int n = ::LoadStringA(AfxGetResourceHandle(), id, &buf[0], size);
        if (n <= 0) return std::string();
        if (n < size - 1) {
            buf.resize(static_cast<size_t>(n));
            return buf;
        }
    }
    return std::string();
}

CWinApp::CWinApp()
{
    g_pApp = this;
    m_hInstance = ::GetModuleHandleA(nullptr);
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

BOOL AfxPumpMessage()
{
    MSG msg;
    BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
    if (got == -1) return FALSE;
    if (!got) {
        ::PostQuitMessage(static_cast<int>(msg.wParam));
        return FALSE;
    }
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

int CWinApp::Run()
{
    for (;;) {
        MSG msg;
        BOOL got = ::GetMessageA(&msg, nullptr, 0, 0);
        if (got == -1) break;
        if (!got) {
            m_exitCode = static_cast<int>(msg.wParam);
            break;
        }
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
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
