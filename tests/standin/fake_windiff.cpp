// Stands in for windiff.exe in the tests. It writes its full command line,
// its working folder and then, one a line, the arguments after the program
// name as the C runtime split them, to the file named by PAIRMATE_STANDIN_LOG,
// then runs a message loop until it gets WM_CLOSE or its time-out passes, so
// that the caller's WaitForInputIdle returns at once.
//
// It records what an ANSI program such as WinDiff receives, in its code
// page; with PAIRMATE_STANDIN_UNICODE set, what a Unicode comparison program
// receives instead: the same lines from the UTF-16 command line and folder,
// written in UTF-8.
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
#include <string>

static LRESULT CALLBACK StandInProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_CLOSE:
        DestroyWindow(hwnd);
        return 0;
    case WM_TIMER:
        DestroyWindow(hwnd);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

static std::string Utf8(const wchar_t* text)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(size > 0 ? size : 1, '\0');
    WideCharToMultiByte(CP_UTF8, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.pop_back();
    return out;
}

// The record in this program's code page, as the C runtime splits it.
static std::string AnsiRecord()
{
    std::string text = GetCommandLineA();
    text += "\r\n";
    char cwd[MAX_PATH * 2] = {};
    GetCurrentDirectoryA(sizeof(cwd), cwd);
    text += cwd;
    text += "\r\n";
    for (int i = 1; i < __argc; ++i) {
        text += __argv[i];
        text += "\r\n";
    }
    return text;
}

// The record of a Unicode program, in UTF-8.
static std::string UnicodeRecord()
{
    std::string text = Utf8(GetCommandLineW()) + "\r\n";
    wchar_t cwd[MAX_PATH * 2] = {};
    GetCurrentDirectoryW(MAX_PATH * 2, cwd);
    text += Utf8(cwd) + "\r\n";
    int count = 0;
    if (LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count)) {
        for (int i = 1; i < count; ++i) text += Utf8(arguments[i]) + "\r\n";
        LocalFree(arguments);
    }
    return text;
}

static void WriteLog()
{
    char logName[MAX_PATH * 2] = {};
    DWORD n = GetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", logName, sizeof(logName));
    if (n == 0 || n >= sizeof(logName)) return;
    const std::string text = GetEnvironmentVariableA("PAIRMATE_STANDIN_UNICODE", nullptr, 0) ? UnicodeRecord() : AnsiRecord();

    // Written to a temporary name and renamed, so a reader never sees half a file.
    std::string tmp = std::string(logName) + ".tmp";
    HANDLE h = CreateFileA(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(h);
    MoveFileExA(tmp.c_str(), logName, MOVEFILE_REPLACE_EXISTING);
}

int WINAPI WinMain(HINSTANCE hInst, HINSTANCE, LPSTR, int)
{
    WriteLog();

    UINT timeoutMs = 10000;
    char buf[32] = {};
    if (GetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", buf, sizeof(buf)) > 0)
        timeoutMs = static_cast<UINT>(strtoul(buf, nullptr, 10));

    WNDCLASSA wc = {};
    wc.lpfnWndProc = StandInProc;
    wc.hInstance = hInst;
    wc.lpszClassName = "PairmateStandIn";
    RegisterClassA(&wc);
    HWND hwnd = CreateWindowExA(0, wc.lpszClassName, "windiff stand-in", WS_OVERLAPPED,
                                0, 0, 10, 10, nullptr, nullptr, hInst, nullptr);
    if (!hwnd) return 1;
    SetTimer(hwnd, 1, timeoutMs, nullptr);

    // A program slow to become ready: it takes no input for this long.
    if (GetEnvironmentVariableA("PAIRMATE_STANDIN_READY_MS", buf, sizeof(buf)) > 0)
        Sleep(static_cast<DWORD>(strtoul(buf, nullptr, 10)));

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
