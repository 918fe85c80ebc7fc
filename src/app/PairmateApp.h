// The application object: one copy per desktop, OLE for the drop targets,
// then the main window, placed as a minimised bar and shown.
#pragma once

#include "app/SingleInstance.h"
#include "framework/WinApp.h"

class CPairmateApp : public CWinApp {
public:
    CPairmateApp() = default;
    ~CPairmateApp() override;

    BOOL InitInstance() override;
    int ExitInstance() override;

private:
    CSingleInstance m_instanceMutex;
    bool m_bOleInitialized = false;
};
