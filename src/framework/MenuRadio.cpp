#include "framework/MenuRadio.h"

#include "framework/Gdi.h"

namespace {

HBITMAP CreateDotBitmap()
{
    LONG dims = ::GetMenuCheckMarkDimensions();
    int cx = LOWORD(dims), cy = HIWORD(dims);
    if (cx <= 0 || cy <= 0) return nullptr;
    Bitmap bmp(::CreateBitmap(cx, cy, 1, 1, nullptr));
    MemoryDC mem(nullptr);
    if (!bmp || !mem) return nullptr;
    {
        SelectGuard selBmp(mem, bmp);
        SelectGuard selPen(mem, ::GetStockObject(BLACK_PEN));
        SelectGuard selBrush(mem, ::GetStockObject(BLACK_BRUSH));
        ::PatBlt(mem, 0, 0, cx, cy, WHITENESS);
        // A round dot of half the mark, centred.
        int d = (cx < cy ? cx : cy) / 2;
        int x = (cx - d) / 2, y = (cy - d) / 2;
        ::Ellipse(mem, x, y, x + d, y + d);
    }
    return bmp.Release();
}

} // namespace

HBITMAP AfxGetMenuDotBitmap()
{
    static Bitmap dot(CreateDotBitmap());
    return dot.Get();
}

void AfxSetMenuRadio(HMENU menu, UINT index, BOOL on)
{
    ::CheckMenuItem(menu, index, MF_BYPOSITION | (on ? MF_CHECKED : MF_UNCHECKED));
    if (HBITMAP dot = AfxGetMenuDotBitmap())
        ::SetMenuItemBitmaps(menu, index, MF_BYPOSITION, nullptr, dot);
}
