#include "framework/WorkerThread.h"

#include <objbase.h>
#include <process.h>

#include <utility>

bool WorkerThread::Start()
{
    if (m_thread) return true;
    m_stop.Reset(::CreateEventA(nullptr, TRUE, FALSE, nullptr));
    m_wake.Reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    if (!m_stop || !m_wake) return false;
    // Through the C runtime, which then keeps its per-thread data for it.
    m_thread.Reset(reinterpret_cast<HANDLE>(::_beginthreadex(nullptr, 0, ThreadMain, this, 0, nullptr)));
    return static_cast<bool>(m_thread);
}

void WorkerThread::Submit(Job job)
{
    if (m_stopped) return;
    if (!m_thread) {
        job(nullptr);
        return;
    }
    {
        ScopedLock lock(m_lock);
        m_waiting = std::move(job);
    }
    ::SetEvent(m_wake);
}

void WorkerThread::SignalStop()
{
    if (m_stop) ::SetEvent(m_stop);
}

void WorkerThread::Stop()
{
    m_stopped = true;
    SignalStop();
    if (m_thread) ::WaitForSingleObject(m_thread, INFINITE);
    m_thread.Reset();
    ScopedLock lock(m_lock);
    m_waiting = nullptr;
}

unsigned __stdcall WorkerThread::ThreadMain(void* self)
{
    // The shell's functions want COM on the thread that calls them.
    const HRESULT com = ::CoInitialize(nullptr);
    static_cast<WorkerThread*>(self)->Run();
    if (SUCCEEDED(com)) ::CoUninitialize();
    return 0;
}

void WorkerThread::Run()
{
    const HANDLE events[] = {m_stop.Get(), m_wake.Get()};
    while (::WaitForMultipleObjects(2, events, FALSE, INFINITE) == WAIT_OBJECT_0 + 1) {
        Job job;
        {
            ScopedLock lock(m_lock);
            job = std::move(m_waiting);
            m_waiting = nullptr;
        }
        if (job && ::WaitForSingleObject(m_stop, 0) != WAIT_OBJECT_0) job(m_stop.Get());
    }
}
