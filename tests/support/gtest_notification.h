// GoogleTest's Windows thread support uses a Notification class that it
// builds on std::mutex and std::condition_variable. MinGW's win32 thread
// model (the 32-bit build) has neither, so this one, on a Win32 event, takes
// its place there (see tests/CMakeLists.txt).
#pragma once

#include <windows.h>

namespace testing {
namespace internal {

class Notification {
public:
    Notification() : m_event(::CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
    ~Notification()
    {
        if (m_event) ::CloseHandle(m_event);
    }
    Notification(const Notification&) = delete;
    Notification& operator=(const Notification&) = delete;

    void Notify() { ::SetEvent(m_event); }
    void WaitForNotification() { ::WaitForSingleObject(m_event, INFINITE); }

private:
    HANDLE m_event;
};

} // namespace internal
} // namespace testing
