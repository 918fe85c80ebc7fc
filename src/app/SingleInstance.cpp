#include "app/SingleInstance.h"

#include "app/CommandLine.h"
#include "framework/FrameWnd.h"

const char* const kInstanceMutexName = "Velmora : Pairmate";
const char* const kMainWindowTitle = "Pairmate";

CSingleInstance::~CSingleInstance()
{
    Close();
}

BOOL CSingleInstance::Create(const char* name)
{
    Close();
    m_hMutex = ::CreateMutexA(nullptr, FALSE, name);
    if (!m_hMutex) return FALSE;
    m_bAlreadyExists = ::GetLastError() == ERROR_ALREADY_EXISTS;
    return TRUE;
}

BOOL CSingleInstance::Close()
{
    if (m_hMutex) {
        ::CloseHandle(m_hMutex);
        m_hMutex = nullptr;
        m_bAlreadyExists = FALSE;
    }
    return TRUE;
}

HWND FindPreviousInstance()
{
    // The title alone could name any window (a folder called Pairmate open in
    // the shell): the program's own frame class comes first, the title alone
    // only for a running copy that registered another class.
    HWND hwnd = ::FindWindowA(kFrameWndClass, kMainWindowTitle);
    return hwnd ? hwnd : ::FindWindowA(nullptr, kMainWindowTitle);
}

void ActivatePreviousInstance()
{
    if (HWND hwnd = FindPreviousInstance()) ::SetForegroundWindow(hwnd);
}

void HandPathsToPreviousInstance(const std::vector<std::wstring>& paths)
{
    // A copy that is starting has its mutex before its window.
    HWND bar = FindPreviousInstance();
    for (int tries = 0; !bar && tries < 100; ++tries) {
        ::Sleep(100);
        bar = FindPreviousInstance();
    }
    if (!bar) return;
    std::vector<WCHAR> packed = PackPaths(paths);
    COPYDATASTRUCT data = {kPathsCopyData, static_cast<DWORD>(packed.size() * sizeof(WCHAR)), packed.data()};
    // The bar may be busy waiting for WinDiff to start (up to 65 seconds).
    DWORD_PTR taken = 0;
    ::SendMessageTimeoutW(bar, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_NORMAL, 90000, &taken);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(bar, &pid);
    ::AllowSetForegroundWindow(pid);
    ::SetForegroundWindow(::GetLastActivePopup(bar));
}
