#include "e2e/PairmateProcess.h"

#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "support/pump.h"

#include <oleacc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <fstream>
#include <iterator>
#include <sstream>

namespace {

BOOL CALLBACK CollectProcessWindows(HWND hwnd, LPARAM lParam)
{
    auto* pair = reinterpret_cast<std::pair<DWORD, std::vector<HWND>*>*>(lParam);
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    if (pid == pair->first) pair->second->push_back(hwnd);
    return TRUE;
}

} // namespace

std::vector<HWND> ProcessWindows(DWORD pid)
{
    std::vector<HWND> windows;
    std::pair<DWORD, std::vector<HWND>*> pair(pid, &windows);
    ::EnumWindows(CollectProcessWindows, reinterpret_cast<LPARAM>(&pair));
    return windows;
}

COLORREF ScreenPixel(int x, int y)
{
    HDC screen = ::GetDC(nullptr);
    COLORREF c = ::GetPixel(screen, x, y);
    ::ReleaseDC(nullptr, screen);
    return c;
}

std::string WindowClass(HWND hwnd)
{
    char name[256] = {};
    ::GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

std::string WindowText(HWND hwnd)
{
    // Read in UTF-16 and converted here: an ANSI text from another process
    // comes in that process's code page, which need not be this one's.
    return ToAnsi(WindowTextW(hwnd));
}

std::wstring WindowTextW(HWND hwnd)
{
    LRESULT len = ::SendMessageW(hwnd, WM_GETTEXTLENGTH, 0, 0);
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    LRESULT got = ::SendMessageW(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

namespace {

ComPtr<IAccessible> AccessibleObject(HWND hwnd)
{
    ComPtr<IAccessible> object;
    if (FAILED(::AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                            reinterpret_cast<void**>(object.Receive()))))
        object.Reset();
    return object;
}

} // namespace

std::wstring AccessibleName(HWND hwnd, LONG child)
{
    ComPtr<IAccessible> object = AccessibleObject(hwnd);
    if (!object) return L"(no accessible object)";
    VARIANT id = {}, byDispatch = {};
    id.vt = VT_I4;
    id.lVal = child;
    BSTR name = nullptr;
    std::wstring result = object->get_accName(id, &name) == S_OK && name ? name : L"(no name)";
    ::SysFreeString(name);
    // The same name by DISPID, as script and UI Automation clients ask; the
    // object's window; and no service of another object to be read instead.
    DISPPARAMS params = {&id, nullptr, 1, 0};
    object->Invoke(DISPID_ACC_NAME, IID_NULL, 0, DISPATCH_PROPERTYGET, &params, &byDispatch, nullptr, nullptr);
    if (byDispatch.vt != VT_BSTR || result != byDispatch.bstrVal) result += L" (another name by DISPID)";
    ::VariantClear(&byDispatch);
    ComPtr<IOleWindow> window;
    HWND named = nullptr;
    if (FAILED(object->QueryInterface(IID_IOleWindow, reinterpret_cast<void**>(window.Receive()))) ||
        FAILED(window->GetWindow(&named)) || named != hwnd)
        result += L" (another window)";
    ComPtr<IServiceProvider> service;
    if (SUCCEEDED(object->QueryInterface(IID_IServiceProvider, reinterpret_cast<void**>(service.Receive()))))
        result += L" (a service provider)";
    return result;
}

HRESULT AccessibleDefaultAction(HWND hwnd, LONG child)
{
    ComPtr<IAccessible> object = AccessibleObject(hwnd);
    VARIANT id = {};
    id.vt = VT_I4;
    id.lVal = child;
    return object ? object->accDoDefaultAction(id) : E_NOINTERFACE;
}

std::string ClassicCopy(const std::string& folder)
{
    const std::string exe = BinDir() + "\\pairmate.exe", copy = folder + "\\classic-pairmate.exe";
    std::string manifest;
    if (HMODULE module = ::LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
        if (const void* data = res ? ::LockResource(::LoadResource(module, res)) : nullptr)
            manifest.assign(static_cast<const char*>(data), ::SizeofResource(module, res));
        ::FreeLibrary(module);
    }
    const size_t start = manifest.find("<activeCodePage"), end = manifest.find("</activeCodePage>");
    if (start == std::string::npos || end == std::string::npos || !::CopyFileA(exe.c_str(), copy.c_str(), FALSE))
        return std::string();
    manifest.erase(start, end + std::strlen("</activeCodePage>") - start);
    HANDLE update = ::BeginUpdateResourceA(copy.c_str(), FALSE);
    if (!update) return std::string();
    const BOOL put = ::UpdateResourceA(update, MAKEINTRESOURCEA(24), MAKEINTRESOURCEA(1),
                                       MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL), &manifest[0],
                                       static_cast<DWORD>(manifest.size()));
    return ::EndUpdateResourceA(update, !put) && put ? copy : std::string();
}

void OpenInChooser(HWND chooser, const std::wstring& path)
{
    // The file name box (1148) is a combo box around the edit.
    HWND nameBox = ::GetDlgItem(chooser, 1148);
    HWND nameEdit = ::FindWindowExA(::FindWindowExA(nameBox, nullptr, "ComboBox", nullptr), nullptr, "Edit", nullptr);
    ::SendMessageW(nameEdit ? nameEdit : nameBox, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()));
    ClickButton(::GetDlgItem(chooser, IDOK));
}

void ClickButton(HWND button)
{
    ::PostMessageA(button, BM_CLICK, 0, 0);
}

RECT WorkAreaRect()
{
    RECT rc{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

RECT WindowRect(HWND hwnd)
{
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs)
{
    DWORD start = ::GetTickCount();
    while (!done()) {
        if (::GetTickCount() - start > timeoutMs) return false;
        ::Sleep(20);
    }
    return true;
}

std::string BinDir()
{
    return PAIRMATE_BIN_DIR;
}

std::string StandInPath()
{
    return BinDir() + "\\fake_windiff.exe";
}

TempFolder::TempFolder()
{
    char base[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, base);
    char name[64];
    std::snprintf(name, sizeof(name), "pairmate-e2e-%lu-%lu", ::GetCurrentProcessId(), ::GetTickCount());
    m_path = std::string(base) + name;
    ::CreateDirectoryA(m_path.c_str(), nullptr);
}

namespace {
void RemoveTree(const std::string& path)
{
    WIN32_FIND_DATAA fd;
    HANDLE find = ::FindFirstFileA((path + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = fd.cFileName;
            if (name == "." || name == "..") continue;
            std::string full = path + "\\" + name;
            if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else ::DeleteFileA(full.c_str());
        } while (::FindNextFileA(find, &fd));
        ::FindClose(find);
    }
    ::RemoveDirectoryA(path.c_str());
}
} // namespace

TempFolder::~TempFolder()
{
    RemoveTree(m_path);
}

std::string TempFolder::File(const std::string& name, const std::string& content) const
{
    std::string full = m_path + "\\" + name;
    std::ofstream(full, std::ios::binary) << content;
    return full;
}

std::string TempFolder::Folder(const std::string& name) const
{
    std::string full = m_path + "\\" + name;
    ::CreateDirectoryA(full.c_str(), nullptr);
    return full;
}

bool ReadStandInLog(const std::string& logFile, std::string& commandLine, std::string& folder, DWORD timeoutMs)
{
    std::vector<std::string> arguments;
    return ReadStandInLog(logFile, commandLine, folder, arguments, timeoutMs);
}

bool ReadStandInLog(const std::string& logFile, std::string& commandLine, std::string& folder,
                    std::vector<std::string>& arguments, DWORD timeoutMs)
{
    std::vector<std::string> lines = WaitForLines(logFile, timeoutMs);
    if (lines.empty()) return false;
    lines.resize(std::max<size_t>(lines.size(), 2));
    commandLine = lines[0];
    folder = lines[1];
    arguments.assign(lines.begin() + 2, lines.end());
    return true;
}

std::vector<std::wstring> ReadUnicodeArguments(const std::string& logFile)
{
    std::string commandLine, folder;
    std::vector<std::string> arguments;
    std::vector<std::wstring> wide;
    ReadStandInLog(logFile, commandLine, folder, arguments);
    for (const std::string& argument : arguments) {
        std::wstring text(argument.size(), L'\0');
        text.resize(static_cast<size_t>(::MultiByteToWideChar(CP_UTF8, 0, argument.data(), static_cast<int>(argument.size()),
                                                              &text[0], static_cast<int>(text.size()))));
        wide.push_back(text);
    }
    return wide;
}

PairmateProcess::~PairmateProcess()
{
    Stop();
}

bool PairmateProcess::Start(const std::string& standInLog, const std::string& program, const std::wstring& arguments,
                            const std::string& folder)
{
    if (!standInLog.empty()) ::SetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", standInLog.c_str());
    else ::SetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", nullptr);
    // In UTF-16: arguments may hold any character, whatever this process's
    // code page.
    std::wstring commandLine = L"\"" + ToWide(program.empty() ? BinDir() + "\\pairmate.exe" : program) + L"\"";
    if (!arguments.empty()) commandLine += L" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    BOOL ok = ::CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                               folder.empty() ? nullptr : ToWide(folder).c_str(), &si, &m_pi);
    return ok != FALSE;
}

bool PairmateProcess::StartWithStandIn(const std::string& standInLog)
{
    StoredSettings settings;
    settings.fileName = StandInPath();
    ResetRegistry(settings);
    return Start(standInLog) && WaitForBar();
}

bool PairmateProcess::WaitForBar(DWORD timeoutMs)
{
    bool shown = WaitFor([&] {
        for (HWND hwnd : ProcessWindows(m_pi.dwProcessId)) {
            if (WindowText(hwnd) == "Pairmate" && WindowClass(hwnd) != "#32770" && ::IsWindowVisible(hwnd) &&
                ::GetDlgItem(hwnd, 600)) {
                m_bar = hwnd;
                return true;
            }
        }
        return false;
    }, timeoutMs);
    // The bar shows before the program finishes starting; its start-up check
    // runs from the message loop. Whatever a test does next must come after
    // it: wait until the program first waits for input.
    if (shown) ::WaitForInputIdle(m_pi.hProcess, timeoutMs);
    return shown;
}

bool PairmateProcess::WaitForExit(DWORD timeoutMs)
{
    return m_pi.hProcess && ::WaitForSingleObject(m_pi.hProcess, timeoutMs) == WAIT_OBJECT_0;
}

void PairmateProcess::Stop()
{
    if (!m_pi.hProcess) return;
    if (::WaitForSingleObject(m_pi.hProcess, 0) != WAIT_OBJECT_0) {
        for (HWND hwnd : ProcessWindows(m_pi.dwProcessId)) {
            if (WindowClass(hwnd) == "#32770") ::PostMessageA(hwnd, WM_CLOSE, 0, 0);
        }
        if (m_bar) ::PostMessageA(m_bar, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(m_pi.hProcess, kWaitMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(m_pi.hProcess, 1);
            ::WaitForSingleObject(m_pi.hProcess, kWaitMs);
        }
    }
    ::CloseHandle(m_pi.hThread);
    ::CloseHandle(m_pi.hProcess);
    m_pi = {};
    m_bar = nullptr;
}

HWND PairmateProcess::ComboEdit(int id) const
{
    return ::FindWindowExA(Control(id), nullptr, "Edit", nullptr);
}

void PairmateProcess::SetComboText(int id, const std::string& text)
{
    // As the user's typing ends: the text, then the notification.
    ::SendMessageW(Control(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(ToWide(text).c_str()));
    ::SendMessageA(m_bar, WM_COMMAND, MAKEWPARAM(id, CBN_EDITCHANGE), reinterpret_cast<LPARAM>(Control(id)));
}

std::string PairmateProcess::ComboText(int id) const
{
    return WindowText(Control(id));
}

std::vector<std::string> PairmateProcess::ComboItems(int id) const
{
    std::vector<std::string> items;
    for (const std::wstring& item : ComboItemsW(id)) items.push_back(ToAnsi(item));
    return items;
}

std::vector<std::wstring> PairmateProcess::ComboItemsW(int id) const
{
    // Asked in UTF-16: across processes Wine hands list texts over in
    // Unicode whatever the caller's character set.
    std::vector<std::wstring> items;
    HWND combo = Control(id);
    LRESULT count = ::SendMessageW(combo, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        LRESULT len = ::SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
        if (len < 0) continue;
        std::wstring wide(static_cast<size_t>(len) + 1, L'\0');
        LRESULT got = ::SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&wide[0]));
        wide.resize(got > 0 && got <= len ? static_cast<size_t>(got) : 0);
        items.push_back(wide);
    }
    return items;
}

void PairmateProcess::PressEnterIn(int id)
{
    HWND edit = ComboEdit(id);
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 0x001C0001);
    ::PostMessageA(edit, WM_CHAR, VK_RETURN, 0x001C0001);
    ::PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC01C0001);
}

void PairmateProcess::Command(UINT id, HWND from)
{
    ::PostMessageA(m_bar, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(from));
}

bool PairmateProcess::WaitForMessageBox(MessageBoxInfo& info, DWORD timeoutMs, HWND owner)
{
    return WaitFor([&] {
        for (HWND hwnd : ProcessWindows(m_pi.dwProcessId)) {
            if (WindowClass(hwnd) != "#32770" || !::IsWindowVisible(hwnd)) continue;
            if (owner && ::GetWindow(hwnd, GW_OWNER) != owner) continue;
            info.hwnd = hwnd;
            info.caption = WindowText(hwnd);
            info.text.clear();
            // The message is the static text child (the icon is a static too).
            for (HWND child = ::GetWindow(hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
                if (WindowClass(child) == "Static" && !WindowText(child).empty()) info.text = WindowText(child);
            }
            return true;
        }
        return false;
    }, timeoutMs);
}

bool PairmateProcess::DismissMessageBox(const MessageBoxInfo& info)
{
    HWND window = info.hwnd;
    HWND owner = ::GetWindow(window, GW_OWNER);
    ::PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(window, IDOK)));
    // Until then a wait for the next message box would find this one.
    return WaitFor([&] { return !::IsWindow(window) && (!owner || ::IsWindowEnabled(owner)); });
}

bool PairmateProcess::NoMessageBoxWithin(DWORD ms)
{
    MessageBoxInfo info;
    return !WaitForMessageBox(info, ms);
}

std::vector<HWND> PairmateProcess::Windows() const
{
    return ProcessWindows(m_pi.dwProcessId);
}

HWND PairmateProcess::WaitForWindow(const char* className, const std::string& caption, DWORD timeoutMs) const
{
    HWND found = nullptr;
    WaitFor([&] {
        for (HWND hwnd : ProcessWindows(m_pi.dwProcessId)) {
            if (WindowClass(hwnd) == className && ::IsWindowVisible(hwnd) &&
                (caption.empty() || WindowText(hwnd) == caption)) {
                found = hwnd;
                return true;
            }
        }
        return false;
    }, timeoutMs);
    return found;
}

HWND PairmateProcess::FocusWindow() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    if (!::GetGUIThreadInfo(m_pi.dwThreadId, &info)) return nullptr;
    return info.hwndFocus;
}

bool PairmateProcess::HasKeyboard() const
{
    DWORD pid = 0;
    ::GetWindowThreadProcessId(::GetForegroundWindow(), &pid);
    return pid == m_pi.dwProcessId;
}

HWND PairmateProcess::CaptureWindow() const
{
    GUITHREADINFO info = {};
    info.cbSize = sizeof(info);
    return ::GetGUIThreadInfo(m_pi.dwThreadId, &info) ? info.hwndCapture : nullptr;
}

std::wstring PairmateProcess::HoverTip(POINT at) const
{
    auto shownTip = [&]() -> HWND {
        for (HWND hwnd : Windows()) {
            if (WindowClass(hwnd) == "tooltips_class32" && ::IsWindowVisible(hwnd)) return hwnd;
        }
        return nullptr;
    };
    // Away to where no tool is, until every tip has gone, then onto the point.
    RECT screen = WorkAreaRect();
    // Each move is repeated until the system reports it, and the waits hold
    // the pointer there: a late event of an earlier move could otherwise put
    // it back where no tool is, or on another tool.
    const POINT away = {screen.left, screen.bottom - 1};
    MoveCursorTo(away.x, away.y);
    WaitFor([&] { return HoldCursorAt(away.x, away.y) && !shownTip(); });
    MoveCursorTo(at.x, at.y);
    MoveCursorTo(at.x + 1, at.y);
    std::wstring text;
    WaitFor([&] {
        HWND tip = HoldCursorAt(at.x + 1, at.y) ? shownTip() : nullptr;
        text = tip ? WindowTextW(tip) : std::wstring();
        return !text.empty();
    });
    return text;
}

namespace {

// Posts EM_SETSEL(at, at) and reads the selection back until `reached`.
DWORD PostedCaretDelayMs(HWND edit, DWORD at, const std::function<bool(DWORD)>& reached, DWORD timeoutMs)
{
    const DWORD posted = ::GetTickCount();
    ::PostMessageA(edit, EM_SETSEL, at, at);
    for (;;) {
        const DWORD waited = ::GetTickCount() - posted;
        if (waited >= timeoutMs) return timeoutMs;
        DWORD s = 0, e = 0;
        // A sent message may be answered before the posted one is handled (a
        // thread in WaitForInputIdle answers sent ones): the read-back waits
        // for the change itself.
        if (::SendMessageTimeoutA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e),
                                  SMTO_NORMAL, 20, nullptr) && s == e && reached(s))
            return ::GetTickCount() - posted;
        ::Sleep(1);
    }
}

} // namespace

DWORD PostedMessageDelayMs(HWND edit, DWORD timeoutMs)
{
    // The caret to the start, then to the end (a position past the text
    // puts it there), where typing goes on. Messages posted before (typed
    // keys) are handled first, so the text's length is not known here.
    const DWORD toStart = PostedCaretDelayMs(edit, 0, [](DWORD at) { return at == 0; }, timeoutMs);
    return std::max(toStart, PostedCaretDelayMs(edit, 0xFFFF, [](DWORD at) { return at > 0; }, timeoutMs));
}
