#include "menus/MenuDrawer.h"

#include "framework/CodePage.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/MenuRadio.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "menus/MenuItemRenderer.h"

#include <cstdint>
#include <cstring>

namespace {

// First system command id; such items of a system menu are left alone.
const UINT kFirstSystemCommand = 0xF000;

// WM_MENUSELECT flags that, with a null menu, say the menu has closed.
const UINT kMenuClosedFlags = 0xFFFF;

COLORREF ToColorRef(const RGBQUAD& q)
{
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

RGBQUAD ToRgbQuad(COLORREF c)
{
    RGBQUAD q = {};
    q.rgbRed = GetRValue(c);
    q.rgbGreen = GetGValue(c);
    q.rgbBlue = GetBValue(c);
    return q;
}

// The label of a plain (not owner-drawn) item, at any length.
std::string ReadMenuLabel(HMENU menu, UINT pos)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    if (!::GetMenuItemInfoA(menu, pos, TRUE, &info) || info.cch == 0) return std::string();
    std::vector<char> buf(info.cch + 1, '\0');
    info.dwTypeData = buf.data();
    info.cch = static_cast<UINT>(buf.size());
    if (!::GetMenuItemInfoA(menu, pos, TRUE, &info)) return std::string();
    return std::string(buf.data());
}

// The character after the mnemonic marker "&" ("&&" is a literal ampersand),
// or 0 when the label has none.
char MnemonicOf(const std::string& label)
{
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&') continue;
        if (label[i + 1] == '&') {
            ++i;
            continue;
        }
        return label[i + 1];
    }
    return 0;
}

char ToUpperAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

} // namespace

// Resources -------------------------------------------------------------------

bool ParseToolbarResource(const void* data, size_t size, ToolbarLayout* out)
{
    if (!data || !out || size < 4 * sizeof(WORD)) return false;
    WORD head[4];
    std::memcpy(head, data, sizeof(head));
    const WORD width = head[1], height = head[2], count = head[3];
    if (width == 0 || height == 0) return false;
    if (size < sizeof(head) + size_t(count) * sizeof(WORD)) return false;
    ToolbarLayout layout;
    layout.cx = width;
    layout.cy = height;
    layout.ids.resize(count);
    if (count)
        std::memcpy(layout.ids.data(), static_cast<const BYTE*>(data) + sizeof(head),
                    size_t(count) * sizeof(WORD));
    *out = std::move(layout);
    return true;
}

HBITMAP LoadSysColorBitmap(HINSTANCE module, UINT id)
{
    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(id), RT_BITMAP);
    if (!res) return nullptr;
    const DWORD size = ::SizeofResource(module, res);
    HGLOBAL handle = ::LoadResource(module, res);
    const BYTE* data = handle ? static_cast<const BYTE*>(::LockResource(handle)) : nullptr;
    if (!data || size < sizeof(BITMAPINFOHEADER)) return nullptr;

    BITMAPINFOHEADER hdr;
    std::memcpy(&hdr, data, sizeof(hdr));
    if (hdr.biSize < sizeof(BITMAPINFOHEADER) || hdr.biSize > size) return nullptr;
    if (hdr.biWidth <= 0 || hdr.biWidth > 0x7FFF || hdr.biHeight == 0 || hdr.biHeight > 0x7FFF ||
        hdr.biHeight < -0x7FFF || hdr.biPlanes != 1)
        return nullptr;
    const int bits = hdr.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return nullptr;

    uint64_t colors = hdr.biClrUsed;
    if (bits <= 8) {
        if (colors == 0 || colors > (1u << bits)) colors = 1u << bits;
    } else if (colors > 256) {
        return nullptr;
    }
    uint64_t masks = (hdr.biCompression == BI_BITFIELDS && hdr.biSize == sizeof(BITMAPINFOHEADER)) ? 12 : 0;
    uint64_t headerBytes = hdr.biSize + masks + colors * sizeof(RGBQUAD);
    if (headerBytes > size) return nullptr;

    const uint64_t rows = hdr.biHeight < 0 ? uint64_t(-hdr.biHeight) : uint64_t(hdr.biHeight);
    uint64_t bitsBytes;
    if (hdr.biCompression == BI_RGB || hdr.biCompression == BI_BITFIELDS)
        bitsBytes = ((uint64_t(hdr.biWidth) * bits + 31) / 32) * 4 * rows;
    else
        bitsBytes = hdr.biSizeImage;
    if (bitsBytes == 0 || headerBytes + bitsBytes > size) return nullptr;

    // The header and colour table are copied (resources are read-only) and
    // the standard grey-scale colours swapped for the current button colours.
    std::vector<BYTE> info(data, data + headerBytes);
    RGBQUAD* table = reinterpret_cast<RGBQUAD*>(info.data() + hdr.biSize + masks);
    const struct {
        COLORREF from;
        int sysColor;
    } kMap[] = {
        {RGB(0, 0, 0), COLOR_BTNTEXT},
        {RGB(128, 128, 128), COLOR_BTNSHADOW},
        {RGB(192, 192, 192), COLOR_BTNFACE},
        {RGB(255, 255, 255), COLOR_BTNHIGHLIGHT},
    };
    const uint64_t mapped = colors < 16 ? colors : 16;
    for (uint64_t i = 0; i < mapped; ++i) {
        for (const auto& m : kMap) {
            if (ToColorRef(table[i]) == m.from) {
                table[i] = ToRgbQuad(::GetSysColor(m.sysColor));
                break;
            }
        }
    }

    WindowDC screen(nullptr);
    return ::CreateDIBitmap(screen, &hdr, CBM_INIT, data + headerBytes,
                            reinterpret_cast<const BITMAPINFO*>(info.data()), DIB_RGB_COLORS);
}

// CMenuDrawer -------------------------------------------------------------------

CMenuDrawer::CMenuDrawer()
{
    InitRadioMark();
}

CMenuDrawer::~CMenuDrawer()
{
    // No message may reach a half-destroyed drawer.
    if (IsHooked()) Unhook();
    // Menus still converted (the drawer dies while a menu is open) get their
    // plain items back before the records go.
    RestoreAllMenus();
    m_records.clear();
    CMenuDrawer::Destroy();
}

void CMenuDrawer::Install(CWnd* frame)
{
    HookWindow(frame);
}

void CMenuDrawer::InitRadioMark()
{
    // Let the framework mark a throwaway item as a radio choice and take the
    // shared dot bitmap it uses from the item.
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_CHECKMARKS;
    {
        UniqueMenu menu(::CreatePopupMenu());
        if (!menu || !::AppendMenuA(menu, MF_STRING, 0, "")) return;
        AfxSetMenuRadio(menu, 0, TRUE);
        if (!::GetMenuItemInfoA(menu, 0, TRUE, &info)) return;
    }
    if (!info.hbmpChecked) return;

    BITMAP bm = {};
    if (!::GetObjectA(info.hbmpChecked, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return;
    MemoryDC mem(nullptr);
    if (!mem) return;
    SelectGuard selBmp(mem, info.hbmpChecked);
    SelectGuard selPen(mem, ::GetStockObject(BLACK_PEN));
    SelectGuard selBrush(mem, ::GetStockObject(BLACK_BRUSH));
    ::PatBlt(mem, 0, 0, bm.bmWidth, bm.bmHeight, WHITENESS);
    // A dot 4 pixels across (at 96 DPI) in the middle; the mark has the
    // system's size, made for its DPI.
    const int margin = AfxScale(2, AfxGetSystemDpi());
    const int dx = bm.bmWidth / 2 - margin, dy = bm.bmHeight / 2 - margin;
    ::Ellipse(mem, dx, dy, bm.bmWidth - dx, bm.bmHeight - dy);
}

BOOL CMenuDrawer::LoadToolbar(UINT id)
{
    const WORD resId = LOWORD(id);
    HINSTANCE module = AfxGetResourceHandle();
    // The images as drawn for the window's DPI; the toolbar resource gives
    // their size at 96 DPI.
    const ScaledBitmap picture = AfxFindScaledBitmap(resId, GetDpi());
    Bitmap bitmap(LoadSysColorBitmap(module, picture.id));
    if (!bitmap) return FALSE;

    HRSRC res = ::FindResourceA(module, MAKEINTRESOURCEA(resId), MAKEINTRESOURCEA(kToolbarResourceType));
    if (!res) return FALSE;
    HGLOBAL handle = ::LoadResource(module, res);
    const void* data = handle ? ::LockResource(handle) : nullptr;
    ToolbarLayout layout;
    if (!ParseToolbarResource(data, ::SizeofResource(module, res), &layout)) return FALSE;
    layout.cx = AfxScale(layout.cx, picture.dpi);
    layout.cy = AfxScale(layout.cy, picture.dpi);
    return AddToolbar(resId, layout, bitmap);
}

BOOL CMenuDrawer::AddToolbar(UINT id, const ToolbarLayout& layout, HBITMAP bitmap)
{
    if (!bitmap || layout.cx <= 0 || layout.cy <= 0) return FALSE;
    const bool first = m_cxImage == 0;
    if (first) {
        if (!m_images.Create(layout.cx, layout.cy, ILC_MASK, 0, 10)) return FALSE;
    } else if (layout.cx != m_cxImage || layout.cy != m_cyImage) {
        return FALSE;
    }

    int next = ::ImageList_GetImageCount(m_images);
    if (::ImageList_AddMasked(m_images, bitmap, ::GetSysColor(COLOR_BTNFACE)) < 0) {
        if (first) m_images.DeleteImageList();
        return FALSE;
    }
    if (first) {
        m_cxImage = layout.cx;
        m_cyImage = layout.cy;
    }
    // A bitmap narrower than its toolbar leaves the last buttons without an
    // image rather than pointing them past the end of the list.
    const int count = ::ImageList_GetImageCount(m_images);
    for (WORD command : layout.ids) {
        if (command == 0) continue;
        const int image = next++;
        if (image < count && GetImageIndex(command) < 0) m_imageIndex[command] = image;
    }
    m_toolbarIds.push_back(LOWORD(id));
    return TRUE;
}

int CMenuDrawer::GetImageIndex(UINT command) const
{
    auto it = m_imageIndex.find(static_cast<WORD>(command));
    return it == m_imageIndex.end() ? -1 : it->second;
}

UINT CMenuDrawer::GetDpi() const
{
    return GetHookedWnd() ? GetHookedWnd()->GetDpi() : AfxGetSystemDpi();
}

HFONT CMenuDrawer::GetMenuFont()
{
    if (!m_menuFont) {
        m_menuFont.Reset(AfxCreateMenuFont(GetDpi()));
        if (!m_menuFont) {
            LOGFONTA lf = {};
            if (::GetObjectA(::GetStockObject(DEFAULT_GUI_FONT), sizeof(lf), &lf))
                m_menuFont.Reset(::CreateFontIndirectA(&lf));
        }
    }
    return m_menuFont;
}

void CMenuDrawer::Destroy()
{
    m_images.DeleteImageList();
    m_imageIndex.clear();
    m_cxImage = 0;
    m_cyImage = 0;
    m_toolbarIds.clear();
    m_menuFont.Reset();
}

void CMenuDrawer::Refresh()
{
    const std::vector<UINT> ids = m_toolbarIds;
    Destroy();
    for (UINT id : ids) LoadToolbar(id);
}

// Records --------------------------------------------------------------------

void MenuItemData::SetLabel(const std::string& text)
{
    label = text;
    m_wideLabel = ToWide(text);
    msaa.dwMSAASignature = static_cast<DWORD>(MSAA_MENU_SIG);
    msaa.cchWText = static_cast<DWORD>(m_wideLabel.size());
    msaa.pszWText = &m_wideLabel[0];
}

MenuItemData* CMenuDrawer::NewRecord()
{
    auto record = std::make_unique<MenuItemData>();
    MenuItemData* p = record.get();
    m_records.emplace(p, std::move(record));
    return p;
}

void CMenuDrawer::FreeRecord(const MenuItemData* record)
{
    m_records.erase(record);
}

MenuItemData* CMenuDrawer::FindRecordMutable(ULONG_PTR itemData) const
{
    if (!itemData) return nullptr;
    auto it = m_records.find(reinterpret_cast<const MenuItemData*>(itemData));
    if (it == m_records.end() || it->second->tag != MenuItemData::kTag) return nullptr;
    return it->second.get();
}

const MenuItemData* CMenuDrawer::FindRecord(ULONG_PTR itemData) const
{
    return FindRecordMutable(itemData);
}

// Conversion ----------------------------------------------------------------

void CMenuDrawer::ConvertMenu(HMENU menu, UINT /*index*/, BOOL sysMenu, BOOL ownerDraw)
{
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        const UINT pos = static_cast<UINT>(i);
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_TYPE | MIIM_DATA;
        if (!::GetMenuItemInfoA(menu, pos, TRUE, &info)) continue;

        MenuItemData* record = FindRecordMutable(info.dwItemData);
        if (info.dwItemData && !record) continue;              // somebody else's item
        if (sysMenu && info.wID >= kFirstSystemCommand) continue;

        UINT mask = 0;
        std::string label;
        if (ownerDraw) {
            if (!(info.fType & MFT_OWNERDRAW)) {
                if (info.fType & MFT_BITMAP) continue;         // a picture, not a label
                info.fType |= MFT_OWNERDRAW;
                mask |= MIIM_TYPE;
                if (!record) {
                    record = NewRecord();
                    record->type = info.fType;
                    // Items that open a submenu carry no command of their own.
                    record->image = info.hSubMenu ? -1 : GetImageIndex(info.wID);
                    info.dwItemData = reinterpret_cast<ULONG_PTR>(record);
                    mask |= MIIM_DATA;
                }
                record->SetLabel((info.fType & MFT_SEPARATOR) ? std::string() : ReadMenuLabel(menu, pos));
                label = record->label;
            }
            bool listed = false;
            for (HMENU m : m_convertedMenus) listed = listed || m == menu;
            if (!listed) m_convertedMenus.push_front(menu);
        } else {
            if (!record) continue;                            // nothing of ours to undo
            if (info.fType & MFT_OWNERDRAW) {
                info.fType &= ~MFT_OWNERDRAW;
                mask |= MIIM_TYPE;
                label = record->label;
            }
            info.dwItemData = 0;
            mask |= MIIM_DATA;
        }

        if (mask) {
            info.fMask = mask;
            std::vector<char> text(label.begin(), label.end());
            text.push_back('\0');
            info.dwTypeData = text.data();
            info.cch = static_cast<UINT>(label.size());
            ::SetMenuItemInfoA(menu, pos, TRUE, &info);
        }
        if (!ownerDraw) FreeRecord(record);
    }
}

void CMenuDrawer::RestoreAllMenus()
{
    while (!m_convertedMenus.empty()) {
        HMENU menu = m_convertedMenus.front();
        m_convertedMenus.pop_front();
        ConvertMenu(menu, 0, FALSE, FALSE);
    }
    // Records of menus that were destroyed or emptied while open are no
    // longer attached to anything.
    m_records.clear();
}

// Messages ------------------------------------------------------------------

void CMenuDrawer::OnInitMenuPopup(HMENU menu, UINT index, BOOL sysMenu)
{
    ConvertMenu(menu, index, sysMenu, m_bOwnerDraw);
    if (m_bOwnerDraw && !sysMenu) SetMenuLookBackground(menu);
}

void CMenuDrawer::OnMenuSelect(UINT /*item*/, UINT flags, HMENU menu)
{
    if (flags == kMenuClosedFlags && !menu) RestoreAllMenus();
}

BOOL CMenuDrawer::OnMeasureItem(MEASUREITEMSTRUCT* mis)
{
    if (!mis || mis->CtlType != ODT_MENU) return FALSE;
    const MenuItemData* record = FindRecord(mis->itemData);
    if (!record) return FALSE;

    const UINT dpi = GetDpi();
    if (record->type & MFT_SEPARATOR) {
        mis->itemHeight = static_cast<UINT>(AfxGetSystemMetricsForDpi(SM_CYMENU, dpi) / 2);
        mis->itemWidth = 0;
        return TRUE;
    }
    WindowDC screen(nullptr);
    SelectGuard sel(screen, GetMenuFont());
    RECT rc = {0, 0, 0, 0};
    const std::wstring label = ToWide(record->label);
    ::DrawTextW(screen, label.c_str(), static_cast<int>(label.size()), &rc,
                DT_SINGLELINE | DT_VCENTER | DT_CALCRECT);
    int height = rc.bottom - rc.top;
    if (height < AfxScale(16, dpi)) height = AfxScale(16, dpi);
    height += AfxScale(4, dpi);
    if (height % 2) ++height;
    mis->itemHeight = static_cast<UINT>(height);
    mis->itemWidth = static_cast<UINT>(rc.right - rc.left + AfxScale(36, dpi));
    return TRUE;
}

BOOL CMenuDrawer::OnDrawItem(const DRAWITEMSTRUCT* dis)
{
    if (!dis || dis->CtlType != ODT_MENU) return FALSE;
    const MenuItemData* record = FindRecord(dis->itemData);
    if (!record) return FALSE;

    RECT rc = dis->rcItem;
    HDC dc = dis->hDC;
    const UINT dpi = GetDpi();
    SavedDC saved(dc);
    if (record->type & MFT_SEPARATOR) {
        DrawSeparatorItem(dc, rc);
        return TRUE;
    }

    const BOOL enabled = !(dis->itemState & ODS_GRAYED);
    const BOOL selected = (dis->itemState & ODS_SELECTED) != 0;
    const BOOL checked = (dis->itemState & ODS_CHECKED) != 0;
    HIMAGELIST checkImages = m_pCheckImages ? m_pCheckImages->GetSafeHandle() : nullptr;
    HFONT font = GetMenuFont();

    if (record->image >= 0) {
        DrawImageItem(dc, rc, enabled, selected, checked, checked ? checkImages : nullptr, m_images,
                      record->image, font, record->label, MenuLookForSystem(), dpi);
    } else {
        int checkIndex = -1;
        if (checked) {
            // A radio choice carries a checked-state bitmap of its own.
            MENUITEMINFOA info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_CHECKMARKS;
            ::GetMenuItemInfoA(reinterpret_cast<HMENU>(dis->hwndItem), dis->itemID, FALSE, &info);
            checkIndex = info.hbmpChecked ? kRadioMark : kCheckMark;
            if (selected) ++checkIndex;
        }
        DrawPlainItem(dc, rc, enabled, selected, checked, checkImages, checkIndex, font, record->label, dpi);
    }
    return TRUE;
}

LRESULT CMenuDrawer::OnMenuChar(char ch, UINT /*flags*/, HMENU menu)
{
    const int count = ::GetMenuItemCount(menu);
    std::vector<int> matches;
    int highlighted = -1;
    const char key = ToUpperAscii(ch);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_STATE | MIIM_TYPE | MIIM_DATA;
        if (!::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fState & MFS_HILITE) highlighted = i;
        if (!(info.fType & MFT_OWNERDRAW)) continue;
        const MenuItemData* record = FindRecord(info.dwItemData);
        if (!record) continue;
        const char mnemonic = MnemonicOf(record->label);
        if (mnemonic && ToUpperAscii(mnemonic) == key) matches.push_back(i);
    }
    if (matches.empty()) return 0;
    if (matches.size() == 1) return MAKELRESULT(matches.front(), MNC_EXECUTE);
    int choice = matches.front();
    for (int pos : matches) {
        if (pos > highlighted) {
            choice = pos;
            break;
        }
    }
    return MAKELRESULT(choice, MNC_SELECT);
}

LRESULT CMenuDrawer::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_SYSCOLORCHANGE:
    case WM_WININICHANGE:
        Refresh();
        break;
    case WM_DPICHANGED: {
        // The window takes the new DPI first; then the images and the font
        // are made again for it.
        LRESULT result = CSubclassWnd::WindowProc(hwnd, msg, wParam, lParam);
        Refresh();
        return result;
    }
    case WM_DRAWITEM:
        if (OnDrawItem(reinterpret_cast<const DRAWITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_MEASUREITEM:
        if (OnMeasureItem(reinterpret_cast<MEASUREITEMSTRUCT*>(lParam))) return TRUE;
        break;
    case WM_INITMENUPOPUP:
        // The window's own handling (command enabling) comes first, so the
        // conversion sees the final states.
        CSubclassWnd::WindowProc(hwnd, msg, wParam, lParam);
        OnInitMenuPopup(reinterpret_cast<HMENU>(wParam), LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_MENUSELECT:
        OnMenuSelect(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HMENU>(lParam));
        break;
    case WM_MENUCHAR: {
        LRESULT result = OnMenuChar(static_cast<char>(LOBYTE(LOWORD(wParam))), HIWORD(wParam),
                                    reinterpret_cast<HMENU>(lParam));
        if (result) return result;
        break;
    }
    default:
        break;
    }
    return CSubclassWnd::WindowProc(hwnd, msg, wParam, lParam);
}
