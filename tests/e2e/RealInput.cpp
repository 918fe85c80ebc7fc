// Real input for the end-to-end tests, as from the mouse and the keyboard
// of the machine: pointer moves and clicks anywhere on the virtual screen,
// keys and key chords, typed text, Alt-drags of the bar and OLE drags from
// this process as from another program.
#include "e2e/PairmateProcess.h"

#include "framework/Handles.h"

#include <cstdlib>
#include <iterator>
#include <sstream>

namespace {

// The source side of a drag from this process: it goes on while the left
// button is down, and notes when the cursor has reached the target.
class DropSource : public IDropSource {
public:
    explicit DropSource(POINT target) : m_target(target) {}
    UniqueHandle started{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};
    UniqueHandle arrived{::CreateEventA(nullptr, TRUE, FALSE, nullptr)};

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    // Lives on the caller's stack for the length of the drag.
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        ::SetEvent(started.Get());
        POINT pos{};
        ::GetCursorPos(&pos);
        if (std::abs(pos.x - m_target.x) <= 1 && std::abs(pos.y - m_target.y) <= 1) ::SetEvent(arrived.Get());
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    POINT m_target;
};

} // namespace

void SendMouse(DWORD flags, POINT at)
{
    // Virtual-screen coordinates: with one monitor, the screen's.
    const int left = ::GetSystemMetrics(SM_XVIRTUALSCREEN), top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
    const int width = ::GetSystemMetrics(SM_CXVIRTUALSCREEN), height = ::GetSystemMetrics(SM_CYVIRTUALSCREEN);
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ((at.x - left) * 65536 + width / 2) / width;
    input.mi.dy = ((at.y - top) * 65536 + height / 2) / height;
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
    ::SendInput(1, &input, sizeof(input));
}

void SendKey(WORD vk, bool up)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.wScan = static_cast<WORD>(::MapVirtualKeyA(vk, 0));
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    ::SendInput(1, &input, sizeof(input));
}

void PressKeys(std::initializer_list<WORD> keys)
{
    // Each key goes down once the keys before it are down. A key sent with
    // SendInput is not down for the X server, and a Wine program that hears
    // of a focus or pointer change from the X server (late, on a busy
    // machine) sets its key state to the server's: Ctrl and Alt let go that
    // way before P went down would turn Ctrl+Alt+P into a plain P. Such a
    // key is pressed again. GetAsyncKeyState hears this process's own
    // pending news first.
    for (auto vk = keys.begin(); vk != keys.end(); ++vk) {
        for (auto held = keys.begin(); held != vk; ++held)
            if (!(::GetAsyncKeyState(*held) & 0x8000)) SendKey(*held, false);
        SendKey(*vk, false);
    }
    for (auto vk = std::rbegin(keys); vk != std::rend(keys); ++vk) SendKey(*vk, true);
}

void TypeText(const std::wstring& text)
{
    for (wchar_t ch : text) {
        INPUT input[2] = {};
        for (INPUT& in : input) {
            in.type = INPUT_KEYBOARD;
            in.ki.wScan = ch;
            in.ki.dwFlags = KEYEVENTF_UNICODE;
        }
        input[1].ki.dwFlags |= KEYEVENTF_KEYUP;
        ::SendInput(2, input, sizeof(INPUT));
    }
}

HWND KeyTarget()
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(0, &info) ? info.hwndFocus : nullptr;
}

POINT CentreOf(HWND hwnd)
{
    RECT rc = WindowRect(hwnd);
    return POINT{(rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2};
}

DWORD DragAndDrop(IDataObject* data, DWORD allowedEffects, POINT target)
{
    // The button goes down on a window of this process at the bottom left of
    // the screen, away from the program's windows.
    const POINT start = {12, ::GetSystemMetrics(SM_CYSCREEN) - 12};
    HWND pad = ::CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_NOTIFY,
                                 start.x - 8, start.y - 8, 16, 16, nullptr, nullptr, nullptr, nullptr);
    if (!pad) return DROPEFFECT_NONE;
    // Whatever input is left from before must not end this drag at once.
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
    }
    SendMouse(MOUSEEVENTF_LEFTDOWN, start);
    bool pressed = false;
    WaitFor([&] {
        while (::PeekMessageA(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE))
            pressed = pressed || msg.message == WM_LBUTTONDOWN;
        return pressed;
    });

    DWORD effect = DROPEFFECT_NONE;
    if (pressed) {
        // A second thread moves the pointer and lets the button go while
        // this one runs the drag loop.
        struct Mover {
            DropSource source;
            POINT start, target;
            static DWORD WINAPI Run(void* param)
            {
                auto* m = static_cast<Mover*>(param);
                ::WaitForSingleObject(m->source.started.Get(), kWaitMs);
                SendMouse(0, POINT{(m->start.x + m->target.x) / 2, (m->start.y + m->target.y) / 2});
                SendMouse(0, m->target);
                ::WaitForSingleObject(m->source.arrived.Get(), kWaitMs);
                SendMouse(MOUSEEVENTF_LEFTUP, m->target);
                return 0;
            }
        } mover{DropSource(target), start, target};
        UniqueHandle thread(::CreateThread(nullptr, 0, &Mover::Run, &mover, 0, nullptr));
        if (::DoDragDrop(data, &mover.source, allowedEffects, &effect) != DRAGDROP_S_DROP) effect = DROPEFFECT_NONE;
        if (thread.Get()) ::WaitForSingleObject(thread.Get(), INFINITE);
    }
    ::DestroyWindow(pad);
    return effect;
}

std::string PairmateProcess::AltDrag(POINT from, POINT to) const
{
    // The pointer goes onto the bar first and the bar is let take in the
    // crossing (a Wine program that hears of it from the X server sets its
    // key state to the server's, where a key sent with SendInput is not
    // down); then Alt goes down, and again if it was let go meanwhile. Such
    // a resync can still come between the last look and the press: the
    // press is then a plain click, which slides the minimised bar out. The
    // bar is then put back and the drag tried again (a real Alt key is down
    // for the X server too, so a user never meets this).
    std::ostringstream failure;
    for (int attempt = 1;; ++attempt) {
        const RECT before = WindowRect(m_bar);
        SendMouse(0, from);
        WaitFor([&] {
            POINT now;
            return ::GetCursorPos(&now) && now.x == from.x && now.y == from.y;
        });
        DWORD_PTR ignored;
        ::SendMessageTimeoutA(m_bar, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &ignored);
        SendKey(VK_MENU, false);
        if (!(::GetAsyncKeyState(VK_MENU) & 0x8000)) SendKey(VK_MENU, false);
        SendMouse(MOUSEEVENTF_LEFTDOWN, from);
        WaitFor([&] { return CaptureWindow() == m_bar || WindowRect(m_bar).left != before.left; });
        if (CaptureWindow() == m_bar) break;
        SendMouse(MOUSEEVENTF_LEFTUP, from);
        SendKey(VK_MENU, true);
        if (attempt == 3) {
            failure << "no drag started: the bar at " << WindowRect(m_bar).left << ", the capture at "
                    << CaptureWindow() << ", keys reaching " << KeyTarget() << ", the window under the pointer "
                    << ::WindowFromPoint(from) << " (the bar is " << m_bar << ")";
            return failure.str();
        }
        const RECT out = WindowRect(m_bar);
        if (!::EqualRect(&out, &before)) {
            constexpr UINT minimise = 32777;
            ::PostMessageA(m_bar, WM_COMMAND, MAKEWPARAM(minimise, BN_CLICKED), 0);
            WaitFor([&] {
                const RECT now = WindowRect(m_bar);
                return ::EqualRect(&now, &before) != FALSE;
            });
        }
    }
    SendMouse(0, {to.x, to.y - 100});
    SendMouse(0, to);
    SendMouse(MOUSEEVENTF_LEFTUP, to);
    SendKey(VK_MENU, true);
    return failure.str();
}
