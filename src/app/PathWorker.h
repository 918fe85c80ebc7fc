// The bar's worker: everything that may wait on a disk or a share (the
// path boxes' icon lookups, Compare's checks and the start of the comparison
// program) runs here, away from the window's thread.
//
// Three threads (and the dialogs' own, see ProgramFiles): one per path box for its icon lookups (at most one lookup
// of a box at a time; while one runs, only the box's newest request waits)
// and one for Compare, so that a slow lookup holds up neither the other box
// nor a Compare. Requests go in as owned copies. Answers are kept in the
// worker's outbox, and each is announced by a message posted to the window
// (`msg`, no parameters), which takes them out with TakeAnswers. Nothing on
// the worker touches a window, a control or the histories; a message that
// finds the window gone is dropped by the system and leaves nothing behind,
// as the outbox goes with the worker.
#pragma once

#include "app/CompareChecks.h"
#include "dialogs/ProgramFileWorker.h"
#include "framework/WorkerThread.h"

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

// The answer to one icon request of a path box.
struct PathIconAnswer {
    int box = 0;          // 1 or 2
    unsigned serial = 0;  // the request's number (see RequestIcon)
    int index = -1;       // system image-list index; -1: the path names nothing
};

// What the worker has finished since the window last looked.
struct WorkerAnswers {
    std::vector<PathIconAnswer> icons;
    bool compareDone = false;
    UINT compareResult = 0; // as RunCompare returns it
};

// The icon a path box shows for `path`: its system image-list index, or -1
// when `mustExist` and the path names no existing file or folder.
int LookUpPathIcon(const std::string& path, bool mustExist);

class PathWorker {
public:
    PathWorker() = default;
    ~PathWorker() { Stop(); }
    PathWorker(const PathWorker&) = delete;
    PathWorker& operator=(const PathWorker&) = delete;

    // Starts the threads; answers are announced to `window` with `msg`.
    void Start(HWND window, UINT msg);
    // Ends the threads and waits for them: a lookup under way is waited for,
    // a Compare under way starts nothing any more; waiting requests and
    // answers not taken are dropped.
    void Stop();

    // Looks up the icon of `path` for box `box` (1 or 2); the answer carries
    // `serial`, by which the window knows an answer for an older text.
    void RequestIcon(int box, unsigned serial, const std::string& path, bool mustExist);
    // Runs Compare's checks and, when they pass, starts the program.
    void RequestCompare(const CompareRequest& request);

    // The answers since the last call, in the order they came.
    WorkerAnswers TakeAnswers();

    // The lookups of the program file field of the bar's dialogs (lent to
    // them: it outlives each, so none waits for a slow lookup as it closes).
    ProgramFileWorker& ProgramFiles() { return m_programFiles; }

private:
    void Deliver(const PathIconAnswer* icon, const UINT* compareResult);

    HWND m_window = nullptr; // set before the threads start, read only after
    UINT m_msg = 0;
    WorkerThread m_iconThreads[2];
    WorkerThread m_compareThread;
    ProgramFileWorker m_programFiles;
    CriticalSection m_lock;
    WorkerAnswers m_outbox; // guarded by m_lock
};
