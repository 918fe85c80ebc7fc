// The application object: one copy per desktop; the main window, placed as
// a minimised bar and shown; then OLE for the drop targets and the rest of
// the start-up work that nothing on the screen waits for. Paths on the
// command line go to the bar, or to the copy that runs already.
#pragma once

#include "app/SingleInstance.h"
#include "framework/WinApp.h"

class CPairmateApp : public CWinApp {
public:
    CPairmateApp() = default;
    ~CPairmateApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;
    // Paths handed over on a command line are applied here, once the bar is
    // back at its own message loop.
    void OnIdle() override;

private:
    CSingleInstance m_instanceMutex;
};
