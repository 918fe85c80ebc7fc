#include "app/RunProcess.h"

#include "framework/Handles.h"

#include <string>
#include <vector>

namespace {

std::string BuildCommandLine(const char* program, const char* arguments)
{
    std::string commandLine;
    if (program[0] == '"') {
        commandLine = program;
    } else {
        commandLine = "\"";
        commandLine += program;
        commandLine += "\"";
    }
    if (arguments) {
        commandLine += ' ';
        commandLine += arguments;
    }
    return commandLine;
}

// WaitForInputIdle for up to `timeoutMs`, in short steps when `stopWait` may
// end it early.
void WaitUntilReady(HANDLE process, DWORD timeoutMs, HANDLE stopWait)
{
    if (!stopWait) {
        ::WaitForInputIdle(process, timeoutMs);
        return;
    }
    constexpr DWORD kStepMs = 50;
    const DWORD start = ::GetTickCount();
    for (;;) {
        const DWORD waited = ::GetTickCount() - start;
        if (waited >= timeoutMs || ::WaitForSingleObject(stopWait, 0) == WAIT_OBJECT_0) return;
        const DWORD step = timeoutMs - waited < kStepMs ? timeoutMs - waited : kStepMs;
        if (::WaitForInputIdle(process, step) != WAIT_TIMEOUT) return;
    }
}

} // namespace

BOOL RunProcess(const char* program, const char* arguments, const char* folder, int wait, DWORD* exitCode,
                HANDLE stopWait)
{
    if (!program) return FALSE;

    // CreateProcess may write into the command line: hand it a copy.
    const std::string text = BuildCommandLine(program, arguments);
    std::vector<char> commandLine(text.begin(), text.end());
    commandLine.push_back('\0');

    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_FORCEOFFFEEDBACK;
    PROCESS_INFORMATION info = {};
    if (!::CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, folder, &startup, &info))
        return FALSE;
    const UniqueHandle process(info.hProcess);
    const UniqueHandle thread(info.hThread);

    // Blocks the calling thread until the new program can take input; a
    // time-out, or a program without a message queue, still counts as started.
    WaitUntilReady(process.Get(), 65535, stopWait);

    if (wait == 1) {
        ::WaitForSingleObject(process.Get(), INFINITE);
        DWORD code = 0;
        ::GetExitCodeProcess(process.Get(), &code);
        if (exitCode) *exitCode = code;
    }
    return TRUE;
}

BOOL RunProcess(const char* program, const char* arguments)
{
    return RunProcess(program, arguments, nullptr, 0, nullptr);
}
