// Work away from the window's thread: a critical section with its scoped
// lock, and a worker thread that runs one job at a time, the newest first.
#pragma once

#include "framework/Handles.h"

#include <windows.h>

#include <functional>

// A critical section for the length of the object's life.
class CriticalSection {
public:
    CriticalSection() { ::InitializeCriticalSection(&m_cs); }
    ~CriticalSection() { ::DeleteCriticalSection(&m_cs); }
    CriticalSection(const CriticalSection&) = delete;
    CriticalSection& operator=(const CriticalSection&) = delete;
    void Enter() { ::EnterCriticalSection(&m_cs); }
    void Leave() { ::LeaveCriticalSection(&m_cs); }

private:
    CRITICAL_SECTION m_cs;
};

// Holds a critical section for the length of a scope.
class ScopedLock {
public:
    explicit ScopedLock(CriticalSection& cs) : m_cs(cs) { m_cs.Enter(); }
    ~ScopedLock() { m_cs.Leave(); }
    ScopedLock(const ScopedLock&) = delete;
    ScopedLock& operator=(const ScopedLock&) = delete;

private:
    CriticalSection& m_cs;
};

// One thread that runs the jobs given to it one after the other. Only one
// job waits: a job given while another waits takes its place (the newest
// request is the one that counts), so requests never pile up behind a slow
// one. The thread is started by Start and ended and joined by Stop (or the
// destructor); a job that waits then is dropped, one that runs is waited for.
// A job gets the lane's stop event, signalled once Stop began, so that a long
// wait inside it can end early.
class WorkerThread {
public:
    using Job = std::function<void(HANDLE stopEvent)>;

    WorkerThread() = default;
    ~WorkerThread() { Stop(); }
    WorkerThread(const WorkerThread&) = delete;
    WorkerThread& operator=(const WorkerThread&) = delete;

    // Creates the thread; false when the system gave none: jobs then run at
    // once on the caller's thread, as they would without a worker.
    bool Start();
    // Hands a job to the thread. After Stop jobs are dropped.
    void Submit(Job job);
    // Signals the stop (SignalStop) and waits for the thread to end.
    void SignalStop();
    void Stop();

private:
    static unsigned __stdcall ThreadMain(void* self);
    void Run();

    CriticalSection m_lock;
    Job m_waiting;              // guarded by m_lock
    UniqueHandle m_stop;        // manual reset: the lane is ending
    UniqueHandle m_wake;        // auto reset: a job waits
    UniqueHandle m_thread;
    bool m_stopped = false;
};
