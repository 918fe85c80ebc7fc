// Starting another program: the program's file name is quoted (unless the
// text already begins with a quote), the arguments follow after one space.
#pragma once

#include <windows.h>

// Starts `program` with `arguments` (NULL: none; an empty text still adds
// the space) in `folder` (NULL: the current folder), waits up to 65.535 s
// for it to be ready for input and, when `wait` is exactly 1, for it to end,
// storing its exit code in *exitCode when that is not NULL. Returns TRUE
// when the process was started. The process is not tracked afterwards.
// When `stopWait` is given (an event), the wait for input ends early once it
// is signalled (the caller is going away): the process still counts as
// started.
BOOL RunProcess(const char* program, const char* arguments, const char* folder, int wait, DWORD* exitCode,
                HANDLE stopWait = nullptr);

// The same with no folder, no wait and no exit code.
BOOL RunProcess(const char* program, const char* arguments);
