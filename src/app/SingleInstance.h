// The mark of a running copy of the program: a named mutex that is never
// owned or waited on; its existence alone says that a copy runs.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class CSingleInstance {
public:
    CSingleInstance() = default;
    virtual ~CSingleInstance();

    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    // Creates (or opens) the named mutex. FALSE when no handle could be had.
    BOOL Create(const char* name);
    // The mutex existed before this process opened it.
    BOOL IsAlreadyRunning() const { return m_bAlreadyExists; }
    // Lets go of the mutex; always TRUE.
    BOOL Close();

private:
    HANDLE m_hMutex = nullptr;
    BOOL m_bAlreadyExists = FALSE;
};

// The running copy's main window: title "Pairmate", of the frame class when
// there is one; null when there is none.
HWND FindPreviousInstance();
// Brings the running copy's main window to the foreground.
void ActivatePreviousInstance();
// Hands the running copy paths of the command line (waiting a few seconds
// for its window when it is still starting), then brings it, or the dialog
// it shows, to the foreground.
void HandPathsToPreviousInstance(const std::vector<std::wstring>& paths);

// The name of the mutex and the main window's title: the rendezvous of copies.
extern const char* const kInstanceMutexName;
extern const char* const kMainWindowTitle;
