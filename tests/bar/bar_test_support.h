// Shared helpers of the bar tests: reading a bitmap's own pixels, setting a
// known work area, and a bar frame that lives on the stack.
#pragma once

#include "bar/FrameBarWnd.h"

#include <windows.h>

#include <ostream>

// The pixel (x, y) of a DIB section, read from its bits (independent of any
// drawing code), as a COLORREF.
COLORREF DibPixel(HBITMAP dib, int x, int y);

// Sets the work area of this process (Wine keeps it per process) and puts
// the previous one back at the end.
class WorkAreaScope {
public:
    explicit WorkAreaScope(const RECT& area);
    ~WorkAreaScope();
    WorkAreaScope(const WorkAreaScope&) = delete;
    WorkAreaScope& operator=(const WorkAreaScope&) = delete;
    static void Set(const RECT& area);

private:
    RECT m_saved{};
};

// A bar as the main window makes it: created with ordinary frame styles,
// bitmaps 130, 133 and 131 loaded, then placed.
class TestBar : public CFrameBarWnd {
public:
    TestBar() { m_bAutoDelete = false; }
    ~TestBar() override
    {
        if (m_hWnd) DestroyWindow();
    }
    bool CreateAndPlace(UINT tileId = 131);
    BOOL OnCommand(UINT id, UINT code, HWND control) override;

    int okCommands = 0;
    bool IsDragging() const { return m_bDragging != FALSE; }
};

inline bool operator==(const RECT& a, const RECT& b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

inline void PrintTo(const RECT& r, std::ostream* os)
{
    *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
