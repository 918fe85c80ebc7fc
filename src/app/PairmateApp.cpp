#include "app/PairmateApp.h"

#include "app/MainFrame.h"

#include <commctrl.h>
#include <ole2.h>

#include <new>

CPairmateApp::~CPairmateApp() = default;

BOOL CPairmateApp::InitInstance()
{
    // Without a mutex at all the program still runs, as the first copy.
    m_instanceMutex.Create(kInstanceMutexName);
    if (m_instanceMutex.IsAlreadyRunning()) {
        // A second copy: show the running one and end, touching nothing else.
        ActivatePreviousInstance();
        return FALSE;
    }

    m_bOleInitialized = SUCCEEDED(::OleInitialize(nullptr));
    INITCOMMONCONTROLSEX icc = {sizeof(icc), ICC_WIN95_CLASSES | ICC_BAR_CLASSES};
    ::InitCommonControlsEx(&icc);

    auto* frame = new (std::nothrow) CMainFrame;
    if (!frame) return FALSE;
    m_pMainWnd = frame;

    if (!frame->Create(nullptr, kMainWindowTitle, WS_OVERLAPPEDWINDOW)) {
        // A failed creation may have destroyed the window already, which
        // deletes the frame; delete it only while it still lives here.
        if (m_pMainWnd == frame) delete frame;
        m_pMainWnd = nullptr;
        return FALSE;
    }

    frame->PlaceBar();
    frame->ShowWindow(SW_SHOW);
    frame->UpdateWindow();
    return TRUE;
}

int CPairmateApp::ExitInstance()
{
    if (m_bOleInitialized) {
        ::OleUninitialize();
        m_bOleInitialized = false;
    }
    return CWinApp::ExitInstance();
}
