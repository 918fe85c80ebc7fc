#include "app/PairmateApp.h"

#include "app/CommandLine.h"
#include "app/MainFrame.h"
#include "res/resource.h"

#include <commctrl.h>

#include <new>

CPairmateApp::~CPairmateApp() = default;

BOOL CPairmateApp::InitInstance()
{
    // Every edit of a path box tests the path: on a drive without a medium
    // (a card reader, an empty DVD drive) the system would otherwise show
    // its own "no disk" box for each key. The other flags stay as given.
    ::SetErrorMode(::SetErrorMode(SEM_FAILCRITICALERRORS) | SEM_FAILCRITICALERRORS);

    std::vector<std::wstring> paths;
    if (!ReadPathArguments(::GetCommandLineW(), paths)) {
        // More than two paths, or an option: said, and nothing else done.
        AfxMessageBox(nullptr, IDS_ONE_OR_TWO_PATHS);
        return FALSE;
    }

    // Without a mutex at all the program still runs, as the first copy.
    m_instanceMutex.Create(kInstanceMutexName);
    if (m_instanceMutex.IsAlreadyRunning()) {
        // A second copy: show the running one (with the paths, if any) and
        // end, touching nothing else.
        if (paths.empty())
            ActivatePreviousInstance();
        else
            HandPathsToPreviousInstance(paths);
        return FALSE;
    }

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
    frame->ShowBar();
    if (!paths.empty()) frame->QueuePaths(paths); // applied after the start-up check

    // The bar is on screen. OLE (whose DLLs load only now) and the rest of
    // the start-up work follow before the message loop runs, so the first
    // click, drop or command already finds them done.
    AfxOleInit();
    frame->CompleteStartup();
    return TRUE;
}

void CPairmateApp::OnIdle()
{
    if (auto* frame = dynamic_cast<CMainFrame*>(m_pMainWnd)) frame->ApplyQueuedPaths();
}

int CPairmateApp::ExitInstance()
{
    AfxOleTerm();
    return CWinApp::ExitInstance();
}
