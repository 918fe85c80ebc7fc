#include "support/pump.h"

#include "framework/WinApp.h"

#include <fstream>
#include <iterator>

namespace {

void PumpPending()
{
    MSG msg;
    // In UTF-16, as the program's own loops take them.
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) continue; // a test's frame ending its loop
        if (!AfxPreTranslateMessage(&msg)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
    }
}

} // namespace

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    for (;;) {
        PumpPending();
        if (done()) return true;
        if (::GetTickCount() - start > timeoutMs) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void PumpFor(DWORD ms)
{
    DWORD start = ::GetTickCount();
    do {
        PumpPending();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    } while (::GetTickCount() - start < ms);
    PumpPending();
}

bool MoveCursorTo(int x, int y, DWORD timeoutMs)
{
    return PumpUntil(
        [&] {
            ::SetCursorPos(x, y);
            PumpFor(30);
            POINT at{};
            return ::GetCursorPos(&at) && at.x == x && at.y == y;
        },
        timeoutMs);
}

bool HoldCursorAt(int x, int y)
{
    POINT at{};
    if (::GetCursorPos(&at) && at.x == x && at.y == y) return true;
    ::SetCursorPos(x, y);
    return false;
}

std::vector<std::string> WaitForLines(const std::string& path, DWORD timeoutMs)
{
    std::string text;
    std::vector<std::string> lines;
    if (!PumpUntil([&] {
            std::ifstream in(path, std::ios::binary);
            text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            return !text.empty() && text.back() == '\n';
        }, timeoutMs))
        return lines;
    for (size_t at = 0, end; (end = text.find('\n', at)) != std::string::npos; at = end + 1)
        lines.push_back(text.substr(at, end - at - (end > at && text[end - 1] == '\r' ? 1 : 0)));
    return lines;
}
