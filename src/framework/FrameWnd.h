// CFrameWnd: a top-level frame window.
//
// It registers the framework's frame window class, supplies the tooltip texts
// of toolbar buttons from the string table (the part after the first newline
// of the command's string), routes the Exit command, ends the message loop
// when the application's main window is destroyed, and deletes itself after
// its window is gone (frames are always allocated with new).
#pragma once

#include "framework/Wnd.h"

class CFrameWnd : public CWnd {
public:
    CFrameWnd();
    ~CFrameWnd() override;

    // The framework's default position and size for a new frame.
    static const RECT rectDefault;

    // Frames delete themselves after their window is gone; a frame that lives
    // on the stack or as a member (in tests) turns this off.
    bool m_bAutoDelete = true;

    BOOL Create(LPCSTR className, LPCSTR windowName, DWORD style = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* parent = nullptr, LPCSTR menuName = nullptr,
                DWORD exStyle = 0);

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override;

    // WM_COMMAND from a menu, an accelerator or a control that did not handle
    // it as a reflected notification. TRUE when handled.
    virtual BOOL OnCommand(UINT id, UINT code, HWND control);

    // The tooltip text of a command: the part after the first newline of its
    // string resource (empty when it has none).
    static std::string GetCommandTip(UINT id);

protected:
    void PostNcDestroy() override;

private:
    BOOL OnToolTipText(NMHDR* hdr);
    std::string m_strTipBuffer;
};

// The window class name that frames register.
extern const char* const kFrameWndClass;
