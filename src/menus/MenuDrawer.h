// CMenuDrawer: shows the toolbar's images beside the commands of a window's
// popup menus.
//
// The drawer hooks the window (CSubclassWnd). Each time a popup menu of the
// window is about to open, it turns the menu's items into owner-drawn items
// and gives each a MenuItemData record with the item's label and image; it
// then measures and draws those items and answers their keyboard mnemonics.
// When the whole menu closes it turns every converted menu back into an
// ordinary one and frees the records.
//
// The images come from toolbar resources (type 241) and the bitmaps with the
// same ids (AfxFindScaledBitmap: as drawn for the window's DPI): each command
// id of a toolbar gets the image of its button.
//
// Use (the owner window, in its creation handler):
//     m_menuDrawer.Install(this);
//     m_menuDrawer.LoadToolbar(IDR_MENU_TOOLBAR);
// and show popup menus with that window as their owner.
#pragma once

#include "framework/Gdi.h"
#include "framework/ImageList.h"
#include "menus/SubclassWnd.h"

#include <windows.h>
#include <oleacc.h>

#include <list>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class CWnd;

// The record attached as item data to every converted menu item. An
// owner-drawn item has no text of its own for the system: the record begins
// with the MSAAMENUINFO from which screen readers read the item's text (the
// label in UTF-16, with its "&" marker), as Windows documents for
// owner-drawn menus. The record stays where it is while it is attached (no
// copies), so that its text pointer stays valid.
struct MenuItemData {
    static constexpr DWORD kTag = 0x3064696D; // the bytes "mid0"

    MenuItemData() { SetLabel(std::string()); }
    MenuItemData(const MenuItemData&) = delete;
    MenuItemData& operator=(const MenuItemData&) = delete;

    // Sets the label and the text for screen readers with it.
    void SetLabel(const std::string& text);

    MSAAMENUINFO msaa = {};
    DWORD tag = kTag;
    UINT type = 0;          // menu type flags as converted (MFT_OWNERDRAW, MFT_SEPARATOR, ...)
    int image = -1;         // index into the drawer's images, -1 for none
    std::string label;      // label before conversion, "&" and tab part included (set by SetLabel)

private:
    std::wstring m_wideLabel; // what msaa points to
};

// The resource type of toolbar resources.
const WORD kToolbarResourceType = 241;

// The contents of a toolbar resource: WORD version, width, height, count,
// then `count` command ids (0 = separator).
struct ToolbarLayout {
    int cx = 0;
    int cy = 0;
    std::vector<WORD> ids;
};

// Reads a toolbar resource of `size` bytes. False (and `out` untouched) when
// it is too short for its own entry count or names an empty image size.
bool ParseToolbarResource(const void* data, size_t size, ToolbarLayout* out);

// Loads a bitmap resource the way toolbar bitmaps are loaded: in the first 16
// colours of its colour table black, dark grey, light grey and white become
// the current button text, shadow, face and highlight colours; the result is
// compatible with the screen. Null when the resource is missing or damaged.
HBITMAP LoadSysColorBitmap(HINSTANCE module, UINT id);

class CMenuDrawer : public CSubclassWnd {
public:
    CMenuDrawer();
    ~CMenuDrawer() override;

    // Attaches the drawer to the frame window's messages.
    void Install(CWnd* frame);

    // Adds the images and command ids of toolbar `id` (low 16 bits) from the
    // application's resources. FALSE, with nothing changed, when the bitmap or
    // the toolbar is missing or its image size differs from the first one.
    BOOL LoadToolbar(UINT id);
    // The same for a toolbar whose layout and bitmap are already in hand
    // (`bitmap` stays the caller's; its background pixels may be changed by
    // the masking). LoadToolbar ends here.
    BOOL AddToolbar(UINT id, const ToolbarLayout& layout, HBITMAP bitmap);

    // The menu font (the system's menu font, for the window's DPI), created
    // on first use.
    HFONT GetMenuFont();
    // The DPI the menus are drawn for: the hooked window's (the system's
    // while the drawer is not hooked). The images, the font and every length
    // of measuring and drawing follow it; when the window's DPI changes
    // (WM_DPICHANGED), the images and the font are made again.
    UINT GetDpi() const;

    // Converts the items of `menu` to owner-drawn (ownerDraw TRUE) or back.
    // With `sysMenu` set, system commands (ids 0xF000 and up) stay as they are.
    void ConvertMenu(HMENU menu, UINT index, BOOL sysMenu, BOOL ownerDraw);

    virtual void Destroy();
    virtual void Refresh();
    virtual void OnInitMenuPopup(HMENU menu, UINT index, BOOL sysMenu);
    virtual BOOL OnMeasureItem(MEASUREITEMSTRUCT* mis);
    virtual BOOL OnDrawItem(const DRAWITEMSTRUCT* dis);
    virtual LRESULT OnMenuChar(char ch, UINT flags, HMENU menu);
    virtual void OnMenuSelect(UINT item, UINT flags, HMENU menu);

    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // The record attached to a menu item's data, or null when the data is
    // not one of this drawer's records.
    const MenuItemData* FindRecord(ULONG_PTR itemData) const;

    // Optional check marks for checked items (see MenuCheckImage); not
    // owned. Without them checked items get the system's mark.
    void SetCheckImages(CImageList* images) { m_pCheckImages = images; }

    // State, for the owner and for tests.
    int GetImageIndex(UINT command) const;
    int GetImageCount() const { return m_images.GetImageCount(); }
    HIMAGELIST GetImageList() const { return m_images.GetSafeHandle(); }
    int GetImageWidth() const { return m_cxImage; }
    int GetImageHeight() const { return m_cyImage; }
    const std::vector<UINT>& GetToolbarIds() const { return m_toolbarIds; }
    const std::list<HMENU>& GetConvertedMenus() const { return m_convertedMenus; }
    size_t GetRecordCount() const { return m_records.size(); }

    BOOL m_bOwnerDraw = TRUE;

private:
    void InitRadioMark();
    MenuItemData* NewRecord();
    void FreeRecord(const MenuItemData* record);
    MenuItemData* FindRecordMutable(ULONG_PTR itemData) const;
    void RestoreAllMenus();

    std::vector<UINT> m_toolbarIds;
    CImageList m_images;
    std::unordered_map<WORD, int> m_imageIndex;
    std::list<HMENU> m_convertedMenus;   // newest first
    int m_cxImage = 0;
    int m_cyImage = 0;
    Font m_menuFont;
    CImageList* m_pCheckImages = nullptr;

    // Every record this drawer has handed out and not yet freed. Item data is
    // recognised by membership here before it is ever read, so foreign item
    // data (which may be any number) is never dereferenced.
    std::unordered_map<const MenuItemData*, std::unique_ptr<MenuItemData>> m_records;
};
