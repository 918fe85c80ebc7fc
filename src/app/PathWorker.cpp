#include "app/PathWorker.h"

#include "pathinput/PathTests.h"
#include "pathinput/ShellHelpers.h"

#include <utility>

int LookUpPathIcon(const std::string& path, bool mustExist)
{
    if (mustExist && GetPathKind(path) == PathKind::Missing) return -1;
    int index = 0;
    GetSysIconIndex(path, index);
    return index;
}

void PathWorker::Start(HWND window, UINT msg)
{
    m_window = window;
    m_msg = msg;
    for (WorkerThread& thread : m_iconThreads) thread.Start();
    m_compareThread.Start();
    m_programFiles.Start();
}

void PathWorker::Stop()
{
    // All told first, so that they end side by side.
    for (WorkerThread& thread : m_iconThreads) thread.SignalStop();
    m_compareThread.SignalStop();
    for (WorkerThread& thread : m_iconThreads) thread.Stop();
    m_compareThread.Stop();
    m_programFiles.Stop();
    ScopedLock lock(m_lock);
    m_outbox = WorkerAnswers();
}

void PathWorker::RequestIcon(int box, unsigned serial, const std::string& path, bool mustExist)
{
    m_iconThreads[box == 1 ? 0 : 1].Submit([this, box, serial, path, mustExist](HANDLE) {
        PathIconAnswer answer;
        answer.box = box;
        answer.serial = serial;
        answer.index = LookUpPathIcon(path, mustExist);
        Deliver(&answer, nullptr);
    });
}

void PathWorker::RequestCompare(const CompareRequest& request)
{
    m_compareThread.Submit([this, request](HANDLE stopEvent) {
        const UINT result = RunCompare(request, stopEvent);
        Deliver(nullptr, &result);
    });
}

void PathWorker::Deliver(const PathIconAnswer* icon, const UINT* compareResult)
{
    {
        ScopedLock lock(m_lock);
        if (icon) m_outbox.icons.push_back(*icon);
        if (compareResult) {
            m_outbox.compareDone = true;
            m_outbox.compareResult = *compareResult;
        }
    }
    ::PostMessageA(m_window, m_msg, 0, 0);
}

WorkerAnswers PathWorker::TakeAnswers()
{
    ScopedLock lock(m_lock);
    return std::exchange(m_outbox, WorkerAnswers());
}
