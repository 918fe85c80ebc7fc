#include "app/SingleInstance.h"

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
    if (HWND hwnd = ::FindWindowA(nullptr, kMainWindowTitle)) ::SetForegroundWindow(hwnd);
}
