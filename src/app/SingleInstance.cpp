#include "app/SingleInstance.h"

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

void ActivatePreviousInstance()
{
    // The title alone could name any window (a folder called Pairmate open in
    // the shell): the program's own frame class comes first, the title alone
    // only for a running copy that registered another class.
    HWND hwnd = ::FindWindowA(kFrameWndClass, kMainWindowTitle);
    if (!hwnd) hwnd = ::FindWindowA(nullptr, kMainWindowTitle);
    if (hwnd) ::SetForegroundWindow(hwnd);
}
