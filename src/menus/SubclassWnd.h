// Window-procedure hooks: objects that see the messages of an existing window
// without changing its class.
//
// A hook attaches to a window by replacing the window's procedure with
// HookWndProc. Several hooks may attach to one window; they form a chain in
// which the newest sees each message first and passes what it does not want
// to the next older one, and the oldest passes it to the procedure the window
// had before the first hook (CallWindowProcA). When the window receives
// WM_NCDESTROY every hook detaches itself, newest first, and the previous
// procedure is back in place before it handles that last message.
//
// A hook that unhooks itself while it handles a message still passes that
// message on along the chain it was in; its links are cleared once the
// message is done. When somebody else replaced the window's procedure after
// the hooks, the last hook to go leaves that procedure in place, and the
// messages it passes to HookWndProc go on to the window's earlier procedure.
//
// One process-wide map (GetHookMap) leads from a window handle to the newest
// hook of its chain. Everything runs on the GUI thread that owns the windows.
#pragma once

#include <windows.h>

#include <unordered_map>
#include <vector>

class CWnd;
class CSubclassWndMap;

class CSubclassWnd {
public:
    CSubclassWnd() = default;
    // A hook that is still attached when it dies detaches itself, so the
    // window never calls into a freed object.
    virtual ~CSubclassWnd();

    CSubclassWnd(const CSubclassWnd&) = delete;
    CSubclassWnd& operator=(const CSubclassWnd&) = delete;

    // Attaches to the window of `wnd` as the newest hook of its chain (a hook
    // already attached elsewhere detaches from there first). FALSE when the
    // window's procedure could not be replaced (no window, invalid handle);
    // the hook then stays detached.
    BOOL HookWindow(CWnd* wnd);
    // Detaches from the window; does nothing for a hook that is not attached.
    // Called while the hook handles a message, it keeps the links to the rest
    // of the chain until that message is done. Always TRUE.
    BOOL Unhook();

    // Sees every message of the hooked window except WM_NCDESTROY. This base
    // version passes the message on to the next older hook, or to the
    // window's previous procedure; a derived hook calls it for every message
    // it does not swallow.
    virtual LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

    bool IsHooked() const { return m_pWndHooked != nullptr; }
    CWnd* GetHookedWnd() const { return m_pWndHooked; }
    WNDPROC GetOldWndProc() const { return m_pOldWndProc; }
    CSubclassWnd* GetNextHook() const { return m_pNext; }

private:
    friend class CSubclassWndMap;
    // A detached hook lets go of the rest of the chain.
    void ReleaseChain()
    {
        m_pNext = nullptr;
        m_pOldWndProc = nullptr;
    }

    CSubclassWnd* m_pNext = nullptr;      // next older hook of the same window
    CWnd* m_pWndHooked = nullptr;         // the window object; null when detached
    WNDPROC m_pOldWndProc = nullptr;      // the window's procedure before the first hook
};

// Window handle -> newest hook of that window's chain.
class CSubclassWndMap {
public:
    CSubclassWndMap() = default;
    ~CSubclassWndMap();
    CSubclassWndMap(const CSubclassWndMap&) = delete;
    CSubclassWndMap& operator=(const CSubclassWndMap&) = delete;

    // Pushes `hook` onto the window's chain; the first hook of a window
    // replaces its procedure with HookWndProc (unless HookWndProc is still
    // reached through a procedure set after earlier hooks). FALSE (and
    // nothing changed) when the procedure cannot be replaced.
    BOOL AddHook(HWND hwnd, CSubclassWnd* hook);
    // Unlinks `hook` from the window's chain; the last one to go puts the
    // previous procedure back while HookWndProc is still the window's
    // procedure. A hook not in the chain: nothing happens.
    BOOL RemoveHook(HWND hwnd, CSubclassWnd* hook);
    // Detaches every hook of the window, newest first.
    BOOL RemoveAllHooks(HWND hwnd);
    // The newest hook of the window, or nullptr when it has none.
    CSubclassWnd* LookupHook(HWND hwnd) const;

    // Calls the hook's WindowProc, marking the hook as handling a message.
    LRESULT Dispatch(CSubclassWnd* hook, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // A message for a window without hooks that still reaches HookWndProc:
    // to the window's earlier procedure when the hooks left one behind,
    // otherwise to the default procedure.
    LRESULT PassOnUnhooked(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // The window is going: nothing of it is kept.
    void ForgetWindow(HWND hwnd) { m_earlierProcs.erase(hwnd); }

private:
    friend class CSubclassWnd;
    bool IsDispatching(const CSubclassWnd* hook) const;
    // A hook being destroyed: a message it is handling ends without it.
    void ForgetHook(CSubclassWnd* hook);

    std::unordered_map<HWND, CSubclassWnd*> m_hooks;
    // Windows without hooks whose procedure could not be put back (another
    // one was set after the hooks): the procedure they had before the hooks.
    std::unordered_map<HWND, WNDPROC> m_earlierProcs;
    // Hooks whose WindowProc runs now, outermost first; null once destroyed.
    std::vector<CSubclassWnd*> m_dispatching;
};

// The process-wide map; created on first use, emptied at process exit.
CSubclassWndMap& GetHookMap();

// The window procedure of hooked windows.
LRESULT CALLBACK HookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
