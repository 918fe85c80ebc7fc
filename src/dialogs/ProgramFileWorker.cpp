#include "dialogs/ProgramFileWorker.h"

#include "pathinput/PathTests.h"
#include "pathinput/ShellHelpers.h"

#include <utility>

ProgramFileAnswer LookUpProgramFile(const std::string& path, bool withIcon)
{
    ProgramFileAnswer answer;
    answer.exists = IsExistingFile(path) != FALSE;
    answer.iconLookedUp = withIcon;
    if (withIcon) answer.icon.Reset(GetFileIcon(path));
    return answer;
}

void ProgramFileWorker::Start()
{
    if (!m_answered) m_answered.Reset(::CreateEventA(nullptr, FALSE, FALSE, nullptr));
    m_thread.Start();
}

void ProgramFileWorker::Stop()
{
    m_thread.Stop();
    ProgramFileAnswer dropped; // destroyed after the lock is left
    ScopedLock lock(m_lock);
    std::swap(dropped, m_outbox);
}

void ProgramFileWorker::SetTarget(HWND window, UINT msg)
{
    ProgramFileAnswer dropped; // destroyed after the lock is left
    ScopedLock lock(m_lock);
    m_window = window;
    m_msg = msg;
    if (!window) std::swap(dropped, m_outbox);
}

unsigned ProgramFileWorker::Request(const std::string& path, bool withIcon)
{
    const unsigned serial = ++m_serial;
    m_thread.Submit([this, serial, path, withIcon](HANDLE) {
        ProgramFileAnswer answer = LookUpProgramFile(path, withIcon);
        answer.serial = serial;
        Deliver(std::move(answer));
    });
    return serial;
}

void ProgramFileWorker::Deliver(ProgramFileAnswer answer)
{
    HWND window = nullptr;
    UINT msg = 0;
    {
        ScopedLock lock(m_lock);
        window = m_window;
        msg = m_msg;
        if (window) std::swap(m_outbox, answer); // one not taken is older
    }
    if (!window) return; // no one waits for it: its icon goes here (as an
                         // older one replaced does)
    if (m_answered) ::SetEvent(m_answered);
    ::PostMessageA(window, msg, 0, 0);
}

bool ProgramFileWorker::HasAnswer(unsigned serial)
{
    ScopedLock lock(m_lock);
    return m_outbox.serial == serial;
}

bool ProgramFileWorker::WaitForAnswer(unsigned serial, DWORD ms)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        if (HasAnswer(serial)) return true;
        const DWORD spent = ::GetTickCount() - start;
        if (spent >= ms || !m_answered) return false;
        ::WaitForSingleObject(m_answered, ms - spent);
    }
}

ProgramFileAnswer ProgramFileWorker::TakeAnswer()
{
    ProgramFileAnswer answer;
    ScopedLock lock(m_lock);
    std::swap(answer, m_outbox);
    return answer;
}
