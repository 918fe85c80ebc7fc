// Drives a real pairmate.exe from outside, as a user and the shell would:
// starts it as its own process, finds its bar by title, sets texts, presses
// keys and buttons, and reads back message boxes, the registry and the
// command line that the windiff stand-in received.
#pragma once

#include <windows.h>
#include <ole2.h>

#include "support/pump.h"
#include "support/scoped_registry.h"

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// The program's control and command ids that the tests drive.
constexpr int kPath1 = 600;      // combo box of compare path 1
constexpr int kPath2 = 601;      // combo box of compare path 2
constexpr int kPathField = 128;  // WinDiff file name field of the dialogs
constexpr int kBrowse = 1000;    // the dialogs' Browse button
constexpr int kFileIcon = 1003;  // the dialogs' file icon
constexpr int kArguments = 1011; // the Settings dialog's arguments field
constexpr UINT kSettings = 32771;
constexpr UINT kCompare = 32776;
constexpr UINT kMaximize = 32787;

// Folder of the built programs (pairmate.exe, fake_windiff.exe).
std::string BinDir();
std::string StandInPath();

// A fresh, empty temporary folder removed with everything in it at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::string& Path() const { return m_path; }
    // Creates a file (with some content) or a folder below the temp folder
    // and returns its full path.
    std::string File(const std::string& name, const std::string& content = "x") const;
    std::string Folder(const std::string& name) const;

private:
    std::string m_path;
};

// The program's registry state, written before a start.
struct StoredSettings {
    bool hasFileName = true;
    std::string fileName;
    bool hasAutoMinimize = false;
    DWORD autoMinimize = 1;
    std::vector<std::string> history1, history2;
    bool hasArguments = false;
    std::string arguments; // "Arguments", a REG_SZ
    bool hasMonitor = false;
    std::string monitor; // "Monitor", the bar's monitor
};
void ResetRegistry(const StoredSettings& settings);
std::vector<std::string> ReadHistory(int slot);
std::vector<std::wstring> ReadHistoryW(int slot);
// Both histories. A comparison writes one after the other: a test awaits
// them together.
using Histories = std::pair<std::vector<std::string>, std::vector<std::string>>;
using HistoriesW = std::pair<std::vector<std::wstring>, std::vector<std::wstring>>;
Histories ReadHistories();
HistoriesW ReadHistoriesW();
// Writes history entry `index` (from 1) in UTF-16, as a system with another
// code page may have stored it.
void WriteStoredHistoryEntry(int slot, DWORD index, const std::wstring& text);
bool ReadStoredString(const char* name, std::string& out);
bool ReadStoredDword(const char* name, DWORD& out);
// A stored string value, or "(none)" where it is not stored.
std::string StoredString(const char* name);
// The "Size" value of a history key (false when it is absent).
bool ReadHistorySize(int slot, DWORD& out);
// Removes one value of the program's key (as if it had never been written).
void DeleteStoredValue(const char* name);

// Microsoft's shared-tools entry for windiff.exe in the local machine's
// registry, set for the length of a test and put back as it was afterwards.
class ScopedMicrosoftWinDiffPath {
public:
    ScopedMicrosoftWinDiffPath();
    ~ScopedMicrosoftWinDiffPath();
    ScopedMicrosoftWinDiffPath(const ScopedMicrosoftWinDiffPath&) = delete;
    ScopedMicrosoftWinDiffPath& operator=(const ScopedMicrosoftWinDiffPath&) = delete;

    // Writes "Path" (creating the key when needed).
    bool Set(const std::string& path);
    // Removes the key, so that nothing is registered.
    void Remove();

private:
    bool m_hadSharedTools = false;
    bool m_hadKey = false;
    bool m_hadPath = false;
    DWORD m_pathType = REG_SZ;
    std::vector<BYTE> m_path;
};

// The DPI that programs started from now on get (Wine reads LogPixels as a
// program starts), put back as it was at the end.
class ScopedLogPixels : public ScopedUserDword {
public:
    explicit ScopedLogPixels(DWORD dpi) : ScopedUserDword("Control Panel\\Desktop", "LogPixels", dpi) {}
};

struct MessageBoxInfo {
    HWND hwnd = nullptr;
    std::string caption;
    std::string text;
};

class PairmateProcess {
public:
    PairmateProcess() = default;
    ~PairmateProcess();

    // Starts pairmate.exe (or `program`, a copy of it) with the stand-in's
    // log file in its environment, `arguments` after its name on the command
    // line, in the current folder `folder` (this process's when empty).
    bool Start(const std::string& standInLog = std::string(), const std::string& program = std::string(),
               const std::wstring& arguments = std::wstring(), const std::string& folder = std::string());
    // Starts the program with the stand-in as its WinDiff (so that nothing
    // asks for one) and waits for its bar.
    bool StartWithStandIn(const std::string& standInLog = std::string());
    // Waits for the bar (a visible top-level "Pairmate" window of this process).
    bool WaitForBar(DWORD timeoutMs = kStartMs);
    // Ends the program (WM_CLOSE, then termination if it does not end).
    void Stop();
    bool WaitForExit(DWORD timeoutMs);

    HWND Bar() const { return m_bar; }
    HWND Control(int id) const { return ::GetDlgItem(m_bar, id); }
    HWND ComboEdit(int id) const;
    DWORD ProcessId() const { return m_pi.dwProcessId; }
    HANDLE Process() const { return m_pi.hProcess; }

    void SetComboText(int id, const std::string& text);
    std::string ComboText(int id) const;
    std::vector<std::string> ComboItems(int id) const;
    std::vector<std::wstring> ComboItemsW(int id) const;
    // Enter in a combo box's edit part, through the program's message loop.
    void PressEnterIn(int id);
    // A toolbar button's command, as the toolbar sends it.
    void Command(UINT id, HWND from = nullptr);

    // Waits for a message box of this process (dialog class): any, or only
    // one owned by `owner` (a message box a dialog shows over itself). It may
    // be a new process's first window, so the wait is as long as for the bar.
    bool WaitForMessageBox(MessageBoxInfo& info, DWORD timeoutMs = kStartMs, HWND owner = nullptr);
    // Closes a message box with its OK button and waits until it has gone
    // and its owner takes input again; false when it did not.
    bool DismissMessageBox(const MessageBoxInfo& info);
    // True when no message box shows within `ms`.
    bool NoMessageBoxWithin(DWORD ms);

    // The process's top-level windows, visible or not.
    std::vector<HWND> Windows() const;
    // Waits for a visible top-level window of this process of the class with
    // the caption (any caption when empty); null when none came.
    HWND WaitForWindow(const char* className, const std::string& caption, DWORD timeoutMs = kWaitMs) const;
    // The window with the keyboard focus, and the one with the mouse capture,
    // in the program's GUI thread (keys typed now reach the focus only while
    // the program is in the foreground: see KeyTarget).
    HWND FocusWindow() const;
    HWND CaptureWindow() const;
    // An Alt-drag of the bar from the screen point `from` to `to`, as by the
    // user. Empty when the bar took the drag, else what went wrong.
    std::string AltDrag(POINT from, POINT to) const;
    // Keys typed now reach the program (one of its windows is in the
    // foreground, an open menu's owner for instance).
    bool HasKeyboard() const;
    // The tooltip that shows while the mouse rests on `at` (screen
    // coordinates; moved there as a user moves it); empty when none showed.
    std::wstring HoverTip(POINT at) const;

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_bar = nullptr;
};

// A control's text (through WM_GETTEXT, which crosses process boundaries)
// and a window's class name.
std::string WindowText(HWND hwnd);
std::wstring WindowTextW(HWND hwnd);
std::string WindowClass(HWND hwnd);
// What a screen reader reads as the name of a window (or of its child
// element `child`, from 1), through the window's accessible object; a note
// follows it when the name by DISPID differs, or the object names another
// window or offers another object's services.
std::wstring AccessibleName(HWND hwnd, LONG child = 0);
// A screen reader's "click" on the window or its element `child`.
HRESULT AccessibleDefaultAction(HWND hwnd, LONG child);
// A button pressed as a click does it (BM_CLICK, posted: whatever the press
// opens, a message box for instance, does not block the caller).
void ClickButton(HWND button);
// The desktop's work area, and a window's rectangle (screen coordinates).
RECT WorkAreaRect();
RECT WindowRect(HWND hwnd);
// The top-level windows of a process, front to back.
std::vector<HWND> ProcessWindows(DWORD pid);
// The colour of a screen pixel.
COLORREF ScreenPixel(int x, int y);

// A real OLE drag of `data` from this process, as from another program: the
// left button goes down on a small window of this process, the mouse moves
// to the screen point `target` and the button comes up there. Returns the
// effect the drop ended with (DROPEFFECT_NONE when it was refused).
DWORD DragAndDrop(IDataObject* data, DWORD allowedEffects, POINT target);
// Real input, as from the mouse and the keyboard: mouse flags at a point of
// the virtual screen (on any monitor); one key down or up; keys pressed in
// order, each once the ones before it are down, and let go in reverse
// (Shift+F10 is {VK_SHIFT, VK_F10}); characters typed.
void SendMouse(DWORD flags, POINT at);
void SendKey(WORD vk, bool up);
void PressKeys(std::initializer_list<WORD> keys);
void TypeText(const std::wstring& text);
// The window that keys typed now reach: the keyboard focus of the
// foreground thread. A test awaits it before it types.
HWND KeyTarget();
// The centre of a window, in screen coordinates.
POINT CentreOf(HWND hwnd);

// Types `path` into a file-open dialog's file name box and opens it.
void OpenInChooser(HWND chooser, const std::wstring& path);

// A copy of the program in `folder` whose manifest lacks the element that
// asks for the UTF-8 code page, as Windows before 10 version 1903 runs it:
// in the system's code page. The copy's path, empty on failure.
std::string ClassicCopy(const std::string& folder);

// How long a message posted to `edit` (an edit control of the program,
// holding some text) waits before the program's thread handles it, in
// milliseconds: the caret is moved by posted EM_SETSELs and read back until
// it is there (at most `timeoutMs`, which is returned when it never was).
// The caret ends at the end of the text.
DWORD PostedMessageDelayMs(HWND edit, DWORD timeoutMs = kWaitMs);

// Waits for a condition, checking every few milliseconds.
bool WaitFor(const std::function<bool()>& done, DWORD timeoutMs = kWaitMs);

// The stand-in's record: first line the command line, second the folder,
// then, one a line, the arguments as the C runtime split them.
bool ReadStandInLog(const std::string& logFile, std::string& commandLine, std::string& folder,
                    DWORD timeoutMs = kStartMs);
bool ReadStandInLog(const std::string& logFile, std::string& commandLine, std::string& folder,
                    std::vector<std::string>& arguments, DWORD timeoutMs = kStartMs);
// The arguments a Unicode comparison program received: the stand-in's
// record with PAIRMATE_STANDIN_UNICODE set (empty when it did not run).
std::vector<std::wstring> ReadUnicodeArguments(const std::string& logFile);
