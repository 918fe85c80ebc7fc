#include "bar_test_support.h"

#include "res/resource.h"

COLORREF DibPixel(HBITMAP dib, int x, int y)
{
    DIBSECTION ds = {};
    if (::GetObjectA(dib, sizeof(ds), &ds) != sizeof(ds) || !ds.dsBm.bmBits) return CLR_INVALID;
    const int stride = ((ds.dsBm.bmWidth * ds.dsBm.bmBitsPixel + 31) / 32) * 4;
    const bool bottomUp = ds.dsBmih.biHeight > 0;
    const BYTE* row = static_cast<const BYTE*>(ds.dsBm.bmBits) +
                      static_cast<size_t>(bottomUp ? ds.dsBm.bmHeight - 1 - y : y) * stride;
    if (ds.dsBm.bmBitsPixel == 24 || ds.dsBm.bmBitsPixel == 32) {
        const BYTE* p = row + x * (ds.dsBm.bmBitsPixel / 8);
        return RGB(p[2], p[1], p[0]);
    }
    return CLR_INVALID;
}

WorkAreaScope::WorkAreaScope(const RECT& area)
{
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &m_saved, 0);
    Set(area);
}

WorkAreaScope::~WorkAreaScope()
{
    Set(m_saved);
}

void WorkAreaScope::Set(const RECT& area)
{
    RECT rc = area;
    ::SystemParametersInfoA(SPI_SETWORKAREA, 0, &rc, 0);
}

bool TestBar::CreateAndPlace(UINT tileId)
{
    if (!Create(nullptr, "Pairmate", WS_OVERLAPPEDWINDOW, RECT{50, 60, 450, 260})) return false;
    LoadBitmaps(IDB_HANDLE, IDB_HANDLE_ACTIVE, tileId);
    return PlaceBar() != FALSE;
}

BOOL TestBar::OnCommand(UINT id, UINT code, HWND control)
{
    if (id == IDOK) {
        ++okCommands;
        return TRUE;
    }
    return CFrameBarWnd::OnCommand(id, code, control);
}
