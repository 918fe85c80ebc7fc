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

} // namespace

BOOL RunProcess(const char* program, const char* arguments, const char* folder, int wait, DWORD* exitCode)
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
    ::WaitForInputIdle(process.Get(), 65535);

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
