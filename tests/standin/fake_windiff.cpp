// Stands in for windiff.exe in the tests. It writes its full command line,
// its working folder and then, one a line, the arguments after the program
// name as the C runtime split them, to the file named by PAIRMATE_STANDIN_LOG,
// then runs a message loop until it gets WM_CLOSE or its time-out passes, so
// that the caller's WaitForInputIdle returns at once.
#include <windows.h>

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

static void WriteLog()
{
    char logName[MAX_PATH * 2] = {};
    DWORD n = GetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", logName, sizeof(logName));
    if (n == 0 || n >= sizeof(logName)) return;

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

    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
