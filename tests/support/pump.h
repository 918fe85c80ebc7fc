// Helpers for GUI tests: wait for a condition while the thread keeps
// processing its messages (never a fixed sleep).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Limits of the waits. A wait returns as soon as its state is there, so a
// passing run takes no longer for a long limit; the limits are long because
// on a loaded machine, in a freshly made Wine prefix and with the 32-bit
// build running through an emulator, a program can take many seconds to
// start and to show its first window.
constexpr DWORD kWaitMs = 30000;  // a state of a program that runs already
constexpr DWORD kStartMs = 60000; // anything that needs a program to start

// Pumps messages through the framework's pre-translation until `done`
// returns true or `timeoutMs` passes; returns whether it became true.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs);
// Processes whatever is queued now (and for up to `ms` milliseconds).
void PumpFor(DWORD ms);
// The lines another process wrote to `path`, once the file is there and
// whole (it ends with a line end), pumping while it waits; empty when it
// never is.
std::vector<std::string> WaitForLines(const std::string& path, DWORD timeoutMs = kStartMs);
// Puts the pointer on a screen point and waits until the system reports it
// there: in Wine's virtual desktop a move can be undone by the late event of
// the move before it, so the move is repeated. Returns whether it got there.
bool MoveCursorTo(int x, int y, DWORD timeoutMs = kWaitMs);
// Such a late event can also come after the system reported the pointer
// there, and put it back for good: a wait that needs the pointer to stay
// calls this in its condition, which puts the pointer on the point again
// where it is not. Returns whether it was there.
bool HoldCursorAt(int x, int y);
