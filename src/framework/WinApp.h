// CWinApp: the application object and the message loop.
//
// The loop offers every message to PreTranslateMessage of the target window's
// object and then of each parent's object up to the top-level window,
// innermost first, before it
// translates and dispatches it. Modal dialogs run the same pump
// (PumpMessage) in their own loop, so keyboard handling and tooltip relays
// work there too.
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
public:
    CWinApp();
    virtual ~CWinApp();

    CWinApp(const CWinApp&) = delete;
    CWinApp& operator=(const CWinApp&) = delete;

    // Set up the program; FALSE ends it without running the message loop.
    virtual BOOL InitInstance() { return TRUE; }
    virtual int ExitInstance() { return m_exitCode; }
    // The program's own work once its queue is empty, in this loop only (not
    // in the nested loops of dialogs, choosers, message boxes and menus).
    virtual void OnIdle() {}
    // Runs the message loop until WM_QUIT; returns the exit code.
    virtual int Run();

    // The application's title, from string resource 57344 (AFX_IDS_APP_TITLE).
    const std::string& GetAppTitle() const { return m_strAppTitle; }

    CWnd* m_pMainWnd = nullptr;

private:
    std::string m_strAppTitle;
    int m_exitCode = 0;
};

// The one application object (nullptr before it is constructed).
CWinApp* AfxGetApp();
// The module whose resources the program uses.
HINSTANCE AfxGetResourceHandle();
// Offers a message to the PreTranslateMessage chain; TRUE when it was taken.
BOOL AfxPreTranslateMessage(MSG* msg);
// Gets, pre-translates and dispatches one message. FALSE on WM_QUIT (which is
// posted again so that an outer loop also ends) or when GetMessage fails.
BOOL AfxPumpMessage();
// The framework's entry point: InitInstance, then the message loop.
int AfxWinMain();
// OLE on the GUI thread: AfxOleInit starts it (OleInitialize; FALSE when
// that fails), AfxOleTerm ends what AfxOleInit started. AfxOleRunning tells
// whether it runs, so that a window created before can leave its drop-target
// registration to its owner, once OLE runs.
BOOL AfxOleInit();
void AfxOleTerm();
BOOL AfxOleRunning();
// Loads a string resource (in the language of this run) as ANSI bytes;
// empty when it is missing.
std::string AfxLoadString(UINT id);
// The application's title ("Pairmate"), the caption of its message boxes.
const std::string& AfxGetAppTitle();
// A message box with a text of the string table: caption the application's
// title, the exclamation icon, one OK button.
int AfxMessageBox(HWND owner, UINT textId);
// Has the pointer, where it rests on `window` or one of its children, take
// the shape the window now asks for, at once rather than with the next move.
void AfxRefreshCursor(HWND window);

constexpr UINT AFX_IDS_APP_TITLE = 0xE000; // 57344
constexpr UINT ID_APP_EXIT = 0xE141;       // 57665
constexpr UINT ID_APP_ABOUT = 0xE140;      // 57664
