// CFrameBarWnd: a frame window shaped as a thin strip along the top of the
// desktop work area.
//
// Minimised, only the handle shows at the right edge of the work area and the
// rest of the strip lies beyond that edge; maximised, the strip spans the work
// area from its left edge. A click on the strip maximises it, Alt with a left
// drag moves it up or down, and the strip goes back to the top of the work
// area whenever the work area or the taskbar changes. It paints its
// background from three bitmaps: the handle (one for an inactive and one for
// an active application) and a tile repeated across the rest; in the dark
// look from their dark copies, in a contrast theme from the same shapes drawn
// in the system's colours (framework/Look.h), taken again when the look
// changes.
//
// The keyboard focus is kept as in a dialog box: the control that had it when
// the bar lost activation gets it back when the bar is active again. While
// only the handle shows, the focus is on the bar itself, where keys do
// nothing; sliding the bar out gives it back to its control (the first one
// that Tab reaches, the first time).
//
// The strip is drawn for the DPI of its display: at 100 % from the three
// bitmaps, at other scalings from the same shapes drawn at their size (the
// handle's width and the strip's height grow with them). When the DPI
// changes (WM_DPICHANGED) it takes the pictures for the new one and refits
// itself, keeping its place on the screen and its minimised or slid-out
// state.
//
// With several monitors the strip lives on one of them (bar/BarMonitor.h) and
// everything above is said of that monitor's work area: the strip spans it,
// and minimised, a window region leaves out whatever lies beyond the monitor,
// so that nothing of the strip shows on, or takes clicks from, the monitor
// next to it. An Alt-drag that takes the pointer onto another monitor takes
// the strip there, in the same state and at the pointer's height. The monitor
// is remembered for the next start, and a display change refits the strip to
// its monitor's new work area (the primary's when its monitor has gone).
//
// The window registers as an application desktop toolbar only to hear about
// taskbar changes; it reserves no screen space. The owner registers it
// (RegisterAppBar) once the strip is on screen, so that the shell's DLL
// loads after the strip shows.
//
// A derived frame adds the controls and commands: it handles its own messages
// in its WindowProc, passes the rest to CFrameBarWnd::WindowProc, and may
// extend OnCreate, OnSize and OnDestroy (calling these versions first).
#pragma once

#include "bar/BarMonitor.h"
#include "bar/Dib.h"
#include "framework/FrameWnd.h"

class CFrameBarWnd : public CFrameWnd {
public:
    // The shell's notification message for the application desktop toolbar.
    static constexpr UINT kAppBarCallback = WM_USER + 1;

    CFrameBarWnd();
    ~CFrameBarWnd() override;

    // Loads the handle (inactive, active) and tile bitmaps from the
    // application's resources, or at a DPI other than 96 draws their shapes
    // at its scale; the inactive handle gives the handle's width and the
    // strip's height. Missing bitmaps leave their part unpainted.
    BOOL LoadBitmaps(UINT handleId, UINT handleActiveId, UINT tileId);
    // Restyles the window into the strip (popup, tool window) and places it,
    // minimised, at the top of the work area. Called once, before ShowBar.
    BOOL PlaceBar();
    // Shows the placed strip, brings it to the foreground and paints it.
    void ShowBar();
    // Registers with the shell for its taskbar notifications (once; the
    // registration ends when the window is destroyed).
    void RegisterAppBar();
    // Slides the strip to the left edge of the work area (keeps its height
    // on the screen).
    void MaximizeBar();
    // Slides the strip so that only the handle shows (keeps its height on
    // the screen).
    void MinimizeBar();
    BOOL IsBarMinimized() const { return m_bMinimized; }
    // Gives `control` the keyboard focus: now when the bar is active and slid
    // out, otherwise when it next is.
    void FocusControl(HWND control);
    // The rectangle the strip is fitted to, in screen coordinates: its
    // monitor's work area where there are several; with one, the shell's
    // desktop view where one exists, otherwise the system's work area.
    RECT GetWorkArea() const;
    // Refits the strip to the top of the work area, keeping the minimised or
    // maximised state.
    virtual void RecalcBarPosition();

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;
    // Dialog-style keys: Tab and arrows move between the child controls and
    // Enter sends IDOK to this window.
    BOOL PreTranslateMessage(MSG* msg) override;

protected:
    virtual int OnCreate(CREATESTRUCTA* cs);
    virtual void OnSize(UINT type, int cx, int cy);
    virtual void OnDestroy();
    // The pictures for the new DPI, then the strip refitted to them in the
    // same state and at the same height on the screen. A derived frame
    // rescales its controls first, then calls this version.
    BOOL OnDpiChanged(UINT dpi) override;

    BOOL OnEraseBkgnd(HDC dc);
    void OnLButtonDown(UINT flags, POINT point);
    void OnLButtonUp(UINT flags, POINT point);
    void OnMouseMove(UINT flags, POINT point);
    void OnCaptureChanged(HWND newCapture);
    void OnActivate(UINT state);
    void OnActivateApp(BOOL active, DWORD thread);
    void OnSettingChange(UINT flags, LPCSTR section);
    LRESULT OnAppBarNotify(WPARAM code, LPARAM lParam);

    BOOL m_bDragging = FALSE;
    POINT m_ptDragStart = {0, 0}; // client coordinates; only y is used
    CDib m_dibHandle;
    CDib m_dibHandleActive;
    CDib m_dibTile;
    SIZE m_sizeHandle = {0, 0};
    BOOL m_bMinimized = TRUE;
    BOOL m_bAppActive = FALSE;
    BOOL m_bAppBarRegistered = FALSE;

private:
    // The control that had the focus when the bar last lost activation or
    // slid away (null: none yet).
    HWND m_hwndFocus = nullptr;
    void RememberFocus();
    // The focus to the remembered control, else to the first that Tab
    // reaches, else to the bar.
    void RestoreFocus();
    CBarMonitor m_monitor;
    // The part of the window its region keeps (window coordinates; empty:
    // no region, the whole window).
    RECT m_rcClip = {};
    // Sets the window region to what lies on the bar's monitor.
    void ClipToMonitor();
    // An Alt-drag with the cursor at `point` (client coordinates) on another
    // monitor takes the strip there; false when the cursor is on its own.
    bool FollowPointer(POINT point);
    void OnDisplayChange();
    // The resource ids LoadBitmaps had, for loading again at another DPI.
    UINT m_nBitmapIds[3] = {};
    // Where an Alt-drag with the cursor at `point` (client coordinates)
    // puts the strip's top edge on the screen.
    int DragTop(POINT point) const;
    // `top` kept within the screen's (its monitor's) top and the work area's bottom for a
    // strip `height` pixels high.
    int ClampTop(int top, int height) const;
    // Sizes the strip to the work area's width and the handle's height, with
    // its top at `top` and its left edge where its state puts it.
    void FitBar(const RECT& work, int top, UINT flags);
    void MoveToTop(int top) const;
    // The default handling of a message (the frame window's).
    LRESULT Default(UINT msg, WPARAM wParam, LPARAM lParam)
    { return CFrameWnd::WindowProc(msg, wParam, lParam); }
};
