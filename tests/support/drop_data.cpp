#include "support/drop_data.h"

#include "support/test_data_object.h"

#include <shlobj.h>

namespace {

std::wstring Wide(const std::string& text)
{
    int n = ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<size_t>(n > 0 ? n : 1), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &wide[0], n);
    wide.resize(wcslen(wide.c_str()));
    return wide;
}

} // namespace

ComPtr<IDataObject> ShellDataObject(const std::vector<std::string>& paths)
{
    ComPtr<IDataObject> result;
    if (paths.empty()) return result;
    std::string folder = paths[0].substr(0, paths[0].find_last_of('\\'));
    if (folder.size() == 2) folder += '\\'; // a drive root

    ComPtr<IShellFolder> desktop;
    if (FAILED(::SHGetDesktopFolder(desktop.Receive()))) return result;
    LPITEMIDLIST folderPidl = nullptr;
    std::wstring wideFolder = Wide(folder);
    if (FAILED(desktop->ParseDisplayName(nullptr, nullptr, &wideFolder[0], nullptr, &folderPidl, nullptr)))
        return result;
    ComPtr<IShellFolder> parent;
    HRESULT hr = desktop->BindToObject(folderPidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(parent.Receive()));
    ::CoTaskMemFree(folderPidl);
    if (FAILED(hr)) return result;

    std::vector<LPITEMIDLIST> items;
    for (const std::string& path : paths) {
        std::wstring name = Wide(path.substr(path.find_last_of('\\') + 1));
        LPITEMIDLIST item = nullptr;
        if (SUCCEEDED(parent->ParseDisplayName(nullptr, nullptr, &name[0], nullptr, &item, nullptr)))
            items.push_back(item);
    }
    if (items.size() == paths.size()) {
        parent->GetUIObjectOf(nullptr, static_cast<UINT>(items.size()), const_cast<LPCITEMIDLIST*>(
                                  reinterpret_cast<LPITEMIDLIST*>(items.data())),
                              IID_IDataObject, nullptr, reinterpret_cast<void**>(result.Receive()));
    }
    for (LPITEMIDLIST item : items) ::CoTaskMemFree(item);
    return result;
}

ComPtr<IDataObject> TextDataObject(const std::string& bytes, IDataObject* inner)
{
    auto* object = new HeapTestDataObject(inner);
    // An empty text still comes as a block (of one NUL byte).
    object->Offer(CF_TEXT, bytes.empty() ? std::string(1, '\0') : bytes);
    ComPtr<IDataObject> result;
    result.Attach(object);
    return result;
}

namespace {

void SendMouse(DWORD flags, POINT pt)
{
    INPUT input = {};
    input.type = INPUT_MOUSE;
    input.mi.dx = ::MulDiv(pt.x, 65535, ::GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = ::MulDiv(pt.y, 65535, ::GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE;
    ::SendInput(1, &input, sizeof(input));
}

bool LeftButtonDown()
{
    return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0;
}

// Waits (up to 10 s) until `done`, handling this thread's messages.
template <typename Done>
bool DrainUntil(Done done)
{
    const DWORD start = ::GetTickCount();
    for (;;) {
        MSG msg;
        while (::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        if (done()) return true;
        if (::GetTickCount() - start > 10000) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

// The source side of the drag: ends it when the button is up, and tells
// the mouse thread when the loop runs and when a target accepted.
class MouseDropSource : public IDropSource {
public:
    HANDLE looping = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE accepted = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~MouseDropSource()
    {
        ::CloseHandle(looping);
        ::CloseHandle(accepted);
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource)) {
            *out = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL escape, DWORD keys) override
    {
        ::SetEvent(looping);
        if (escape) return DRAGDROP_S_CANCEL;
        return (keys & MK_LBUTTON) ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override
    {
        if (effect != DROPEFFECT_NONE) ::SetEvent(accepted);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }
};

struct MouseMoves {
    MouseDropSource* source;
    POINT from, to;
};

DWORD WINAPI MoveAndRelease(void* param)
{
    const auto* moves = static_cast<MouseMoves*>(param);
    ::WaitForSingleObject(moves->source->looping, 10000);
    // Leave the start point and arrive at the target; let go once the target
    // has accepted (or has had 10 s to do so).
    SendMouse(MOUSEEVENTF_MOVE, POINT{(moves->from.x + moves->to.x) / 2, (moves->from.y + moves->to.y) / 2});
    SendMouse(MOUSEEVENTF_MOVE, moves->to);
    ::WaitForSingleObject(moves->source->accepted, 10000);
    SendMouse(MOUSEEVENTF_LEFTUP, moves->to);
    return 0;
}

} // namespace

DWORD DragAndDrop(IDataObject* data, POINT from, POINT to)
{
    // The drag starts in a small window of this thread, which the press
    // brings to the foreground as a click does: mouse input then goes to the
    // drag loop, not to the window under the pointer.
    const int half = 8;
    struct Window {
        HWND hwnd;
        ~Window()
        {
            if (hwnd) ::DestroyWindow(hwnd);
        }
    } source = {::CreateWindowExA(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, "STATIC", "", WS_POPUP | WS_VISIBLE,
                                  from.x - half, from.y - half, 2 * half, 2 * half, nullptr, nullptr, nullptr,
                                  nullptr)};
    if (!source.hwnd) return DROPEFFECT_NONE;
    ::SetForegroundWindow(source.hwnd);

    // A release still queued from an earlier drag would end this one at once.
    if (!DrainUntil([&] { return !LeftButtonDown() && ::GetForegroundWindow() == source.hwnd; }))
        return DROPEFFECT_NONE;
    SendMouse(MOUSEEVENTF_MOVE, from);
    SendMouse(MOUSEEVENTF_LEFTDOWN, from);
    if (!DrainUntil(LeftButtonDown)) return DROPEFFECT_NONE;

    MouseDropSource dropSource;
    MouseMoves moves = {&dropSource, from, to};
    UniqueHandle mover(::CreateThread(nullptr, 0, MoveAndRelease, &moves, 0, nullptr));
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr =
        ::DoDragDrop(data, &dropSource, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    if (mover) ::WaitForSingleObject(mover.Get(), 15000);
    return hr == DRAGDROP_S_DROP ? effect : DROPEFFECT_NONE;
}
