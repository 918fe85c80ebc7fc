// Compare's work as plain functions: the checks of the WinDiff file name and
// both paths, in their order, and the start of the program. The bar runs them on its worker (app/PathWorker.h); a test
// calls them directly.
#pragma once

#include <windows.h>

#include <string>

// What a Compare works on: owned copies, taken on the window's thread.
struct CompareRequest {
    std::string program;   // the WinDiff file name
    std::string path1;     // both paths as tested and handed on ("C:" as "C:\")
    std::string path2;
    std::string commandLine; // the whole command line (ProgramArguments.h)
};

// Compare's answer: 0 when the program was started, else the string id of
// the first failing check's message (or of the failed start).
constexpr UINT kCompareStopped = static_cast<UINT>(-1); // the bar went first: nothing started

// The first failing check's message id, or 0 when all pass. Each path is
// looked at once, and only once the checks before it have passed. Last, a
// program that compares files only is not handed two folders.
UINT FirstCompareFailure(const std::string& program, const std::string& path1, const std::string& path2);
// The checks, then the program's start with its wait until it is ready.
// Once `stopEvent` (may be null) is signalled nothing is started any more
// and the wait ends early.
UINT RunCompare(const CompareRequest& request, HANDLE stopEvent);
