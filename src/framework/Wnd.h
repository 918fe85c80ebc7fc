// CWnd: the window base of the framework layer.
//
// A CWnd owns (or borrows) one HWND and receives that window's messages in its
// virtual WindowProc. The link works the same way for every window, whether
// the window is of our own class, a system control created by us, or a dialog
// control that already exists:
//
//   * the object replaces the window procedure with CWnd's static procedure
//     (subclassing) and remembers the procedure that was there (m_pfnSuper);
//   * a process-wide table maps the HWND to the object;
//   * the base WindowProc passes a message on to m_pfnSuper, so a derived
//     class handles what it wants in a switch and calls the base for the rest.
//
// Windows created through CreateEx are subclassed before their very first
// message (WM_NCCREATE) by a short-lived CBT hook, so even a system control
// such as a combo box sees WM_CREATE in its object.
//
// Child notifications are reflected: WM_COMMAND from a control, WM_NOTIFY,
// WM_CTLCOLOR* and the owner-draw messages are first offered to the child's
// object (OnChildNotify); only when it declines does the parent handle them.
#pragma once

#include <windows.h>

#include <string>

class CWnd {
public:
    CWnd();
    virtual ~CWnd();

    CWnd(const CWnd&) = delete;
    CWnd& operator=(const CWnd&) = delete;

    HWND m_hWnd = nullptr;

    HWND GetSafeHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // The object attached to a window, or nullptr when the window has none.
    static CWnd* FromHandle(HWND hwnd);

    // Creates a window of any class; the object is attached before the window's
    // first message. Returns FALSE when the window could not be created.
    BOOL CreateEx(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style,
                  const RECT& rect, HWND parent, UINT_PTR idOrMenu, LPVOID param = nullptr);
    // The same for a control of the system made as a Unicode window, so that
    // the windows it makes for itself (a combo box's edit and list) are
    // Unicode too: what the user types there stays as typed whatever the
    // code page. The object still gets its messages in the ANSI form.
    BOOL CreateUnicodeEx(DWORD exStyle, LPCWSTR className, DWORD style, const RECT& rect, HWND parent, UINT_PTR id);

    // Attaches the object to an existing window by replacing its procedure.
    BOOL SubclassWindow(HWND hwnd);
    BOOL SubclassDlgItem(UINT id, CWnd* parent);
    // Puts the previous procedure back and detaches; returns the window.
    HWND UnsubclassWindow();

    virtual BOOL DestroyWindow();

    // Message handling ----------------------------------------------------
    virtual LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Passes a message to the procedure the window had before it was attached.
    LRESULT DefWindowProc(UINT msg, WPARAM wParam, LPARAM lParam);
    // Called by the message loop for messages aimed at this window or at any
    // window below it; TRUE means the message was handled and is not dispatched.
    virtual BOOL PreTranslateMessage(MSG* msg);
    // Reflected notification from the parent; TRUE with *result when handled.
    virtual BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT* result);
    // Called while attaching by SubclassWindow (not by CreateEx).
    virtual void PreSubclassWindow() {}
    // Called after the last message of the window; the object is detached.
    virtual void PostNcDestroy() {}
    // WM_DPICHANGED reached this top-level window; GetDpi gives `dpi` already.
    // TRUE when the window has fitted itself to the new DPI; FALSE lets the
    // default handling have the message (a dialog's resizes the dialog).
    virtual BOOL OnDpiChanged(UINT dpi);

    // Thin wrappers ----------------------------------------------------------
    LRESULT SendMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::SendMessageA(m_hWnd, msg, wParam, lParam); }
    BOOL PostMessage(UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    { return ::PostMessageA(m_hWnd, msg, wParam, lParam); }
    std::string GetWindowText() const;
    void SetWindowText(const std::string& text) const { ::SetWindowTextA(m_hWnd, text.c_str()); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
    HWND GetParent() const { return ::GetParent(m_hWnd); }
    int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
    RECT GetClientRect() const { RECT rc{}; ::GetClientRect(m_hWnd, &rc); return rc; }
    RECT GetWindowRect() const { RECT rc{}; ::GetWindowRect(m_hWnd, &rc); return rc; }
    BOOL ShowWindow(int cmd) const { return ::ShowWindow(m_hWnd, cmd); }
    BOOL UpdateWindow() const { return ::UpdateWindow(m_hWnd); }
    void Invalidate(BOOL erase = TRUE) const { ::InvalidateRect(m_hWnd, nullptr, erase); }
    BOOL IsWindow() const { return m_hWnd && ::IsWindow(m_hWnd); }
    // Centres this window over another one (the owner when nullptr).
    void CenterWindow(HWND alternateOwner = nullptr) const;

    // Keeps the object alive while code outside its window's handlers (the
    // program's idle work, a child window's handler) runs a nested message
    // loop, a message box for instance, in which the window may be closed:
    // the object's life then ends when the last guard goes. The code after
    // the loop finds the window gone (IsWindow) but its object still there.
    class LifeGuard {
    public:
        explicit LifeGuard(CWnd* wnd);
        ~LifeGuard();
        LifeGuard(const LifeGuard&) = delete;
        LifeGuard& operator=(const LifeGuard&) = delete;

    private:
        CWnd* m_pWnd;
    };

    // Display scaling (framework/Dpi.h): the DPI of the display this window
    // shows on (96 = 100 %), which is its top-level window's: the last DPI
    // that WM_DPICHANGED gave that window, or else the system's answer.
    UINT GetDpi() const;

protected:
    WNDPROC m_pfnSuper = nullptr;

private:
    // Messages of this window being handled right now (handlers nest when a
    // handler runs a modal loop; CreateEx counts as one while it creates the
    // window), and whether the window was destroyed meanwhile: the object's
    // life then ends when the outermost returns.
    int m_nMessageDepth = 0;
    bool m_bPostNcDestroyPending = false;
    // The DPI that WM_DPICHANGED last gave this window; 0 until one came.
    UINT m_nDpi = 0;

    friend struct WndInternals;
    static LRESULT CALLBACK StaticWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Creates the window with `create`, the object attached before its
    // first message.
    template <class Create>
    BOOL CreateHooked(Create create);
    void Attach(HWND hwnd);
    void Detach();
};

// Attach `wnd` to the next window that this thread creates (its first
// message included); used around CreateWindowEx and the dialog creators.
// Calls nest; every Begin needs its End.
void AfxHookWindowCreate(CWnd* wnd);
void AfxUnhookWindowCreate();

// Text of any window as a string in the ANSI code page.
std::string GetWindowTextString(HWND hwnd);
// Whether `hwnd` is a window of the class `className` (ignoring case, as
// Windows compares class names); a group box is a button of its own style.
bool AfxIsWindowClass(HWND hwnd, const char* className);
bool AfxIsGroupBox(HWND hwnd);

// The child control's object for a message that the child sends its parent,
// or nullptr when the message is not one that is reflected.
CWnd* ReflectionTarget(UINT msg, WPARAM wParam, LPARAM lParam);
