// Drives modal loops from inside: dialogs, message boxes and common dialogs
// run their own loops on the test's thread, so the test queues steps that a
// thread timer runs while such a loop has control.
//
//   ModalScript script;
//   script.Then([&] { return dlg.m_hWnd != nullptr; })      // wait for it
//         .Then([&] { Click(dlg.m_hWnd, IDCANCEL); return true; });
//   script.Start();
//   EXPECT_EQ(IDCANCEL, dlg.DoModal());
//   EXPECT_TRUE(script.Finished());
//
// Each step runs on a tick until it returns true; steps must not block (post
// clicks rather than send them). When the steps do not finish in time, every
// dialog box of the thread is cancelled so that the test cannot hang, and
// TimedOut() tells.
#pragma once

#include <windows.h>

#include "support/pump.h"

#include <functional>
#include <string>
#include <vector>

class ModalScript {
public:
    explicit ModalScript(DWORD timeoutMs = kWaitMs);
    ~ModalScript();
    ModalScript(const ModalScript&) = delete;
    ModalScript& operator=(const ModalScript&) = delete;

    ModalScript& Then(std::function<bool()> step);
    void Start();
    void Stop();
    bool Finished() const { return m_next == m_steps.size(); }
    bool TimedOut() const { return m_timedOut; }

private:
    static void CALLBACK OnTimer(HWND, UINT, UINT_PTR, DWORD);
    void Tick();

    std::vector<std::function<bool()>> m_steps;
    size_t m_next = 0;
    DWORD m_timeoutMs;
    DWORD m_start = 0;
    UINT_PTR m_timer = 0;
    bool m_running = false;
    bool m_timedOut = false;
};

// A visible dialog box (class "#32770") of this thread whose caption is
// `caption` (any caption when null), other than `except`; null when none.
HWND FindThreadDialog(const char* caption, HWND except = nullptr);
// The texts of a message box: its caption and its message.
std::string MessageBoxCaption(HWND box);
std::string MessageBoxMessage(HWND box);
// Whether the message box shows the system's exclamation icon.
bool MessageBoxHasExclamationIcon(HWND box);
// Clicks a button of a dialog the way a user does (posted, not sent).
void Click(HWND dialog, int id);
