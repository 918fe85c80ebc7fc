#include "menus/MenuItemRenderer.h"

#include "framework/CodePage.h"
#include "framework/Gdi.h"
#include "framework/Look.h"
#include "settings/WindowsVersion.h"

namespace {

// Raster operation "brush where the source is black, target unchanged where
// it is white" (P ^ (S & (D ^ P))).
const DWORD kRopPaintBlackAsBrush = 0x00B8074A;

// The box of a check mark drawn without a check-mark list, at 96 DPI.
const int kCheckGlyphSize = 16;

// Paints `color` into `dc` at (x, y) wherever the monochrome picture in
// `mask` (w by h) is black; white parts leave the target alone.
void PaintMaskInColor(HDC dc, HDC mask, int x, int y, int w, int h, COLORREF color)
{
    // A monochrome source becomes the target's text colour (0 bits) and
    // background colour (1 bits): they must be black and white for the
    // operation to keep its meaning.
    COLORREF oldBk = ::SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = ::SetTextColor(dc, RGB(0, 0, 0));
    Brush brush(::CreateSolidBrush(color));
    {
        SelectGuard selBrush(dc, brush);
        ::BitBlt(dc, x, y, w, h, mask, 0, 0, kRopPaintBlackAsBrush);
    }
    ::SetTextColor(dc, oldText);
    ::SetBkColor(dc, oldBk);
}

// The system's check mark (or radio dot) at the image position, in `color`
// when enabled, engraved when grayed. Used when no check-mark list exists.
void DrawCheckGlyph(HDC dc, POINT pt, bool radio, BOOL enabled, COLORREF color, UINT dpi)
{
    const int size = AfxScale(kCheckGlyphSize, dpi);
    MemoryDC mem(dc);
    Bitmap bmp(::CreateBitmap(size, size, 1, 1, nullptr));
    if (!mem || !bmp) return;
    SelectGuard selBmp(mem, bmp);
    ::PatBlt(mem, 0, 0, size, size, WHITENESS);
    // The frame control draws the mark black on white: a ready mask. Keep it
    // the size of the system's own menu check mark, centred in the cell.
    int cx = AfxGetSystemMetricsForDpi(SM_CXMENUCHECK, dpi);
    int cy = AfxGetSystemMetricsForDpi(SM_CYMENUCHECK, dpi);
    if (cx <= 0 || cx > size) cx = size - AfxScale(2, dpi);
    if (cy <= 0 || cy > size) cy = size - AfxScale(2, dpi);
    RECT rc = {(size - cx) / 2, (size - cy) / 2, 0, 0};
    rc.right = rc.left + cx;
    rc.bottom = rc.top + cy;
    ::DrawFrameControl(mem, &rc, DFC_MENU, radio ? DFCS_MENUBULLET : DFCS_MENUCHECK);
    if (enabled) {
        PaintMaskInColor(dc, mem, pt.x, pt.y, size, size, color);
    } else {
        const int d = AfxScale(1, dpi);
        PaintMaskInColor(dc, mem, pt.x + d, pt.y + d, size, size, AfxLookColor(LookColor::EngraveLight));
        PaintMaskInColor(dc, mem, pt.x, pt.y, size, size, AfxLookColor(LookColor::EngraveShadow));
    }
}

void DrawCellEdge(HDC dc, const RECT& item, UINT edge, UINT dpi)
{
    RECT cell = MenuImageCell(item, dpi);
    ::DrawEdge(dc, &cell, edge, BF_RECT);
}

// Where an image of `images` goes: a 16 by 15 image (at 96 DPI) at the image
// position, an image of another size centred on that place.
POINT ImageAt(const RECT& item, HIMAGELIST images, UINT dpi)
{
    POINT pt = MenuImagePosition(item, dpi);
    int cx = 0, cy = 0;
    if (images && ::ImageList_GetIconSize(images, &cx, &cy)) {
        pt.x += (AfxScale(16, dpi) - cx) / 2;
        pt.y += (AfxScale(15, dpi) - cy) / 2;
    }
    return pt;
}

COLORREF LabelColor(BOOL enabled, BOOL selected)
{
    if (!enabled) return AfxLookColor(LookColor::GrayText);
    return AfxLookColor(selected ? LookColor::HighlightText : LookColor::MenuText);
}

// Steps shared by both item kinds: the engraved shadow of a grayed label and
// the label itself.
void DrawLabel(HDC dc, const RECT& item, BOOL enabled, BOOL selected, HFONT font,
               const std::string& label, UINT dpi)
{
    RECT text = MenuTextRect(item, dpi);
    if (!enabled &&
        (!selected || AfxLookColor(LookColor::GrayText) == AfxLookColor(LookColor::Highlight))) {
        RECT shadow = text;
        ::OffsetRect(&shadow, AfxScale(1, dpi), AfxScale(1, dpi));
        DrawMenuText(dc, shadow, font, label, AfxLookColor(LookColor::EngraveLight));
    }
    DrawMenuText(dc, text, font, label, LabelColor(enabled, selected));
}

RECT HighlightBand(const RECT& item, bool afterCell, UINT dpi)
{
    RECT band = item;
    band.left = (afterCell ? MenuImageCell(item, dpi).right : item.left) + AfxScale(2, dpi);
    return band;
}

} // namespace

MenuLook MenuLookForSystem()
{
    return IsWindowsXPOrLater() ? MenuLook::XP : MenuLook::Classic;
}

RECT MenuImageCell(const RECT& item, UINT dpi)
{
    const int height = AfxScale(20, dpi);
    int top = item.top + (item.bottom - item.top - height) / 2;
    return RECT{item.left + AfxScale(2, dpi), top, item.left + AfxScale(22, dpi), top + height};
}

POINT MenuImagePosition(const RECT& item, UINT dpi)
{
    return POINT{item.left + AfxScale(4, dpi), item.top + (item.bottom - item.top - AfxScale(16, dpi)) / 2};
}

RECT MenuTextRect(const RECT& item, UINT dpi)
{
    return RECT{MenuImageCell(item, dpi).right + AfxScale(4, dpi), item.top, item.right - AfxScale(16, dpi),
                item.bottom};
}

void FillSolid(HDC dc, const RECT& rc, COLORREF color)
{
    Brush brush(::CreateSolidBrush(color));
    if (!brush) return;
    SelectGuard sel(dc, brush);
    ::PatBlt(dc, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, PATCOPY);
}

void DrawSeparatorItem(HDC dc, const RECT& rc)
{
    FillSolid(dc, rc, AfxLookColor(LookColor::Menu));
    RECT line = rc;
    line.top += (rc.bottom - rc.top) / 2;
    // The system's etched line is made for its own menu colours; on the dark
    // look's a plain line of the separator colour reads.
    if (AfxGetLook() == Look::Dark) {
        line.bottom = line.top + 1;
        FillSolid(dc, line, AfxLookColor(LookColor::Separator));
        return;
    }
    ::DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
}

void SetMenuLookBackground(HMENU menu)
{
    if (AfxGetLook() != Look::Dark) return;
    MENUINFO info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIM_BACKGROUND;
    info.hbrBack = AfxLookBrush(LookColor::Menu);
    ::SetMenuInfo(menu, &info);
}

void DrawImageItem(HDC dc, const RECT& rc, BOOL enabled, BOOL selected, BOOL checked,
                   HIMAGELIST checkImages, HIMAGELIST images, int image, HFONT font,
                   const std::string& label, MenuLook look, UINT dpi)
{
    const bool xp = look == MenuLook::XP;
    FillSolid(dc, rc, AfxLookColor(xp && selected ? LookColor::Highlight : LookColor::Menu));

    POINT pt = ImageAt(rc, images, dpi);
    if (!enabled) {
        DrawDisabledImage(dc, images, image, pt, FALSE, dpi);
    } else {
        if (checked && !selected) {
            if (checkImages) {
                POINT mark = ImageAt(rc, checkImages, dpi);
                ::ImageList_Draw(checkImages, kCheckUnderImage, dc, mark.x, mark.y, ILD_TRANSPARENT);
            } else {
                DrawCellEdge(dc, rc, BDR_SUNKENINNER, dpi);
            }
        } else if (selected && !xp) {
            DrawCellEdge(dc, rc, checked ? BDR_SUNKENINNER : BDR_RAISEDINNER, dpi);
        }
        ::ImageList_Draw(images, image, dc, pt.x, pt.y, ILD_TRANSPARENT);
    }

    if (!xp && selected) FillSolid(dc, HighlightBand(rc, true, dpi), AfxLookColor(LookColor::Highlight));
    DrawLabel(dc, rc, enabled, selected, font, label, dpi);
}

void DrawPlainItem(HDC dc, const RECT& rc, BOOL enabled, BOOL selected, BOOL checked,
                   HIMAGELIST checkImages, int checkIndex, HFONT font, const std::string& label, UINT dpi)
{
    FillSolid(dc, rc, AfxLookColor(LookColor::Menu));

    if (checked) {
        DrawCellEdge(dc, rc, BDR_SUNKENINNER, dpi);
        if (checkImages && checkIndex >= 0) {
            POINT pt = ImageAt(rc, checkImages, dpi);
            if (enabled)
                ::ImageList_Draw(checkImages, checkIndex, dc, pt.x, pt.y, ILD_TRANSPARENT);
            else
                DrawDisabledImage(dc, checkImages, checkIndex, pt, FALSE, dpi);
        } else {
            bool radio = checkIndex == kRadioMark || checkIndex == kRadioMarkSelected;
            DrawCheckGlyph(dc, MenuImagePosition(rc, dpi), radio, enabled, AfxLookColor(LookColor::MenuText), dpi);
        }
    }

    if (selected) FillSolid(dc, HighlightBand(rc, checked != FALSE, dpi), AfxLookColor(LookColor::Highlight));
    DrawLabel(dc, rc, enabled, selected, font, label, dpi);
}

void DrawMenuText(HDC dc, const RECT& rc, HFONT font, const std::string& label, COLORREF color)
{
    const std::wstring text = ToWide(label);
    size_t tab = text.find(L'\t');
    std::wstring left = text.substr(0, tab);

    ::SetTextColor(dc, color);
    ::SetBkMode(dc, TRANSPARENT);
    SelectGuard sel(dc, font);
    RECT r = rc;
    ::DrawTextW(dc, left.c_str(), static_cast<int>(left.size()), &r, DT_SINGLELINE | DT_VCENTER);
    if (tab != std::wstring::npos && tab >= 1) {
        std::wstring right = text.substr(tab + 1);
        r = rc;
        ::DrawTextW(dc, right.c_str(), static_cast<int>(right.size()), &r,
                    DT_SINGLELINE | DT_VCENTER | DT_RIGHT);
    }
}

void DrawDisabledImage(HDC dc, HIMAGELIST images, int index, POINT pt, BOOL color, UINT dpi)
{
    IMAGEINFO info = {};
    if (!images || !::ImageList_GetImageInfo(images, 0, &info)) return;
    int w = info.rcImage.right - info.rcImage.left;
    int h = info.rcImage.bottom - info.rcImage.top;
    if (w <= 0 || h <= 0) return;

    MemoryDC mem(dc);
    Bitmap bmp(color ? ::CreateCompatibleBitmap(dc, w, h) : ::CreateBitmap(w, h, 1, 1, nullptr));
    if (!mem || !bmp) return;
    SelectGuard selBmp(mem, bmp);
    ::PatBlt(mem, 0, 0, w, h, WHITENESS);
    ::ImageList_Draw(images, index, mem, 0, 0, ILD_TRANSPARENT);

    const int d = AfxScale(1, dpi);
    PaintMaskInColor(dc, mem, pt.x + d, pt.y + d, w, h, AfxLookColor(LookColor::EngraveLight));
    PaintMaskInColor(dc, mem, pt.x, pt.y, w, h, AfxLookColor(LookColor::EngraveShadow));
}
