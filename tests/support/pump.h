// Helpers for GUI tests: wait for a condition while the thread keeps
// processing its messages (never a fixed sleep).
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// Pumps messages through the framework's pre-translation until `done`
// returns true or `timeoutMs` passes; returns whether it became true.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
// Processes whatever is queued now (and for up to `ms` milliseconds).
void PumpFor(DWORD ms);
// The lines another process wrote to `path`, once the file is there and
// whole (it ends with a line end), pumping while it waits; empty when it
// never is.
std::vector<std::string> WaitForLines(const std::string& path, DWORD timeoutMs = 15000);
// Puts the pointer on a screen point and waits until the system reports it
// there: in Wine's virtual desktop a move can be undone by the late event of
// the move before it, so the move is repeated. Returns whether it got there.
bool MoveCursorTo(int x, int y, DWORD timeoutMs = 5000);
