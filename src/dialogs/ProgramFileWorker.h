// The lookups of a dialog's program file field, away from the window's
// thread: does the file exist, and its icon. The main window owns one (so
// that a dialog closed during a slow lookup does not wait for it) and lends
// it to its dialogs; a dialog given none makes its own.
//
// One thread; only the newest request counts (a request given while another
// waits takes its place, and an answer replaces the one not yet taken). The
// answer is kept in the worker's outbox and announced by a message posted
// (no parameters) to the window that was the target when it came; the window
// takes it with TakeAnswer. With no target (the dialog has gone) an answer is
// dropped at once, its icon destroyed. Nothing on the worker touches a window.
#pragma once

#include "framework/Handles.h"
#include "framework/WorkerThread.h"

#include <windows.h>

#include <string>

struct ProgramFileAnswer {
    unsigned serial = 0; // as Request returned it; 0: no answer
    bool exists = false; // the path names an existing file
    bool iconLookedUp = false;
    UniqueIcon icon; // the file's icon, when looked up (none when the shell gave none)
};

// The plain lookup the worker runs for `path`: whether it exists, and with
// `withIcon` its icon too.
ProgramFileAnswer LookUpProgramFile(const std::string& path, bool withIcon);

class ProgramFileWorker {
public:
    ProgramFileWorker() = default;
    ~ProgramFileWorker() { Stop(); }
    ProgramFileWorker(const ProgramFileWorker&) = delete;
    ProgramFileWorker& operator=(const ProgramFileWorker&) = delete;

    void Start();
    // Ends the thread and waits for it; answers not taken are dropped.
    void Stop();

    // Answers go to `window` with `msg` from now on; nullptr sends them to no
    // one, and the answer not taken is dropped.
    void SetTarget(HWND window, UINT msg);
    // Looks up `path` (with its icon when `withIcon`); returns the
    // request's number (never given twice).
    unsigned Request(const std::string& path, bool withIcon);
    // Waits up to `ms` milliseconds for the answer to request `serial`:
    // true once it is in the outbox.
    bool WaitForAnswer(unsigned serial, DWORD ms);
    ProgramFileAnswer TakeAnswer();

private:
    void Deliver(ProgramFileAnswer answer);
    bool HasAnswer(unsigned serial);

    WorkerThread m_thread;
    UniqueHandle m_answered; // auto reset: an answer came
    CriticalSection m_lock;
    HWND m_window = nullptr; // guarded by m_lock
    UINT m_msg = 0;          // guarded by m_lock
    ProgramFileAnswer m_outbox; // guarded by m_lock
    unsigned m_serial = 0;   // the window's thread only
};
