// The menu drawer without an open menu: toolbar images and their command
// mapping, converting and restoring a real popup menu, measuring and
// keyboard mnemonics.
#include <gtest/gtest.h>

#include "framework/Dpi.h"
#include "framework/Wnd.h"
#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/Language.h"
#include "framework/MenuRadio.h"
#include "framework/WinApp.h"
#include "menus/MenuDrawer.h"
#include "res/resource.h"

#include <oleacc.h>

#include <algorithm>
#include <cstring>
#include <list>
#include <string>
#include <vector>

namespace {

struct ItemSnapshot {
    UINT type;
    ULONG_PTR data;
    std::string label;
};

ItemSnapshot ReadItem(HMENU menu, UINT pos)
{
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
    char buf[512] = {};
    info.dwTypeData = buf;
    info.cch = sizeof(buf);
    EXPECT_TRUE(::GetMenuItemInfoA(menu, pos, TRUE, &info));
    return {info.fType, info.dwItemData, (info.fType & MFT_OWNERDRAW) ? std::string() : std::string(buf)};
}

std::vector<ItemSnapshot> ReadItems(HMENU menu)
{
    std::vector<ItemSnapshot> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) items.push_back(ReadItem(menu, static_cast<UINT>(i)));
    return items;
}

// A screen-compatible bitmap of `count` solid 16x15 images.
HBITMAP SolidImages(int count, COLORREF color)
{
    WindowDC screen(nullptr);
    HBITMAP bmp = ::CreateCompatibleBitmap(screen, 16 * count, 15);
    MemoryDC mem(screen);
    SelectGuard sel(mem, bmp);
    Brush brush(::CreateSolidBrush(color));
    RECT rc = {0, 0, 16 * count, 15};
    ::FillRect(mem, &rc, brush);
    return bmp;
}

const MenuItemData* RecordAt(const CMenuDrawer& drawer, HMENU menu, UINT pos)
{
    return drawer.FindRecord(ReadItem(menu, pos).data);
}

} // namespace

TEST(MenuDrawerToolbar, ToolbarOneTwentyEightMapsCommandsToTheirImages)
{
    CMenuDrawer drawer;
    ASSERT_TRUE(drawer.LoadToolbar(IDR_MENU_TOOLBAR));
    EXPECT_EQ(10, drawer.GetImageCount());
    EXPECT_EQ(16, drawer.GetImageWidth());
    EXPECT_EQ(15, drawer.GetImageHeight());
    EXPECT_EQ(std::vector<UINT>{128}, drawer.GetToolbarIds());
    const struct { UINT command; int image; } expected[] = {
        {32772, 0}, {32774, 1}, {32773, 2}, {32775, 3}, {57665, 4},
        {32777, 5}, {32787, 6}, {57664, 7}, {32776, 8}, {32771, 9},
    };
    for (const auto& e : expected) EXPECT_EQ(e.image, drawer.GetImageIndex(e.command)) << e.command;
    EXPECT_EQ(-1, drawer.GetImageIndex(0));
    EXPECT_EQ(-1, drawer.GetImageIndex(40000));

    // The page of image 0 in the button colours, its grey surround masked out.
    DibCanvas canvas(16, 15);
    canvas.Fill(RGB(1, 2, 3));
    ASSERT_TRUE(::ImageList_Draw(drawer.GetImageList(), 0, canvas.Dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(0, 0));
    EXPECT_EQ(::GetSysColor(COLOR_BTNTEXT), canvas.Pixel(3, 7));        // outline
    EXPECT_EQ(::GetSysColor(COLOR_BTNHIGHLIGHT), canvas.Pixel(6, 7));   // paper
}

TEST(MenuDrawerToolbar, FurtherToolbarsMustMatchTheImageSizeAndKeepEarlierMappings)
{
    CMenuDrawer drawer;
    ASSERT_TRUE(drawer.LoadToolbar(IDR_MENU_TOOLBAR));

    // Missing resources and another image size change nothing.
    EXPECT_FALSE(drawer.LoadToolbar(999));
    Bitmap small(SolidImages(2, RGB(255, 0, 0)));
    ToolbarLayout other;
    other.cx = 8;
    other.cy = 8;
    other.ids = {40001, 40002};
    EXPECT_FALSE(drawer.AddToolbar(300, other, small));
    EXPECT_EQ(10, drawer.GetImageCount());
    EXPECT_EQ(-1, drawer.GetImageIndex(40001));
    EXPECT_EQ(std::vector<UINT>{128}, drawer.GetToolbarIds());

    // Same size: appended after the first toolbar's images; the command that
    // already has an image keeps it, yet uses up its slot in the new strip.
    Bitmap more(SolidImages(3, RGB(255, 0, 0)));
    ToolbarLayout same;
    same.cx = 16;
    same.cy = 15;
    same.ids = {57664, 0, 40001, 40002};
    ASSERT_TRUE(drawer.AddToolbar(301, same, more));
    EXPECT_EQ(13, drawer.GetImageCount());
    EXPECT_EQ(7, drawer.GetImageIndex(57664));
    EXPECT_EQ(11, drawer.GetImageIndex(40001));
    EXPECT_EQ(12, drawer.GetImageIndex(40002));
    EXPECT_EQ((std::vector<UINT>{128, 301}), drawer.GetToolbarIds());

    // A strip with fewer pictures than buttons: the extra buttons get none.
    Bitmap one(SolidImages(1, RGB(0, 0, 255)));
    same.ids = {40003, 40004};
    ASSERT_TRUE(drawer.AddToolbar(302, same, one));
    EXPECT_EQ(13, drawer.GetImageIndex(40003));
    EXPECT_EQ(-1, drawer.GetImageIndex(40004));

    // Refresh reloads what the resources hold, in order (301 and 302 exist
    // only in memory and are gone after it).
    drawer.Refresh();
    EXPECT_EQ(10, drawer.GetImageCount());
    EXPECT_EQ(7, drawer.GetImageIndex(57664));
    EXPECT_EQ(-1, drawer.GetImageIndex(40001));
    EXPECT_EQ(std::vector<UINT>{128}, drawer.GetToolbarIds());

    drawer.Destroy();
    EXPECT_EQ(0, drawer.GetImageCount());
    EXPECT_EQ(0, drawer.GetImageWidth());
    EXPECT_EQ(-1, drawer.GetImageIndex(57664));
    // After Destroy the next toolbar may have any size again.
    EXPECT_TRUE(drawer.AddToolbar(300, other, small));
    EXPECT_EQ(8, drawer.GetImageWidth());
}

TEST(MenuDrawerToolbar, DamagedToolbarDataIsRefused)
{
    ToolbarLayout layout;
    const WORD good[] = {1, 16, 15, 3, 10, 0, 11};
    ASSERT_TRUE(ParseToolbarResource(good, sizeof(good), &layout));
    EXPECT_EQ((std::vector<WORD>{10, 0, 11}), layout.ids);

    const WORD tooMany[] = {1, 16, 15, 9, 10, 0, 11};
    EXPECT_FALSE(ParseToolbarResource(tooMany, sizeof(tooMany), &layout));
    const WORD noWidth[] = {1, 0, 15, 1, 10};
    EXPECT_FALSE(ParseToolbarResource(noWidth, sizeof(noWidth), &layout));
    EXPECT_FALSE(ParseToolbarResource(good, 6, &layout));
    EXPECT_FALSE(ParseToolbarResource(nullptr, 0, &layout));
    EXPECT_EQ((std::vector<WORD>{10, 0, 11}), layout.ids); // untouched by failures

    EXPECT_EQ(nullptr, LoadSysColorBitmap(AfxGetResourceHandle(), 999));
}

class MenuDrawerMenus : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(drawer.LoadToolbar(IDR_MENU_TOOLBAR));
        menu.Reset(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
        ASSERT_TRUE(menu);
        maximised = ::GetSubMenu(menu, 0);
        minimised = ::GetSubMenu(menu, 1);
        ASSERT_NE(nullptr, maximised);
        ASSERT_NE(nullptr, minimised);
    }
    void CloseMenu() { drawer.OnMenuSelect(0, 0xFFFF, nullptr); }

    CMenuDrawer drawer;
    UniqueMenu menu;
    HMENU maximised = nullptr;
    HMENU minimised = nullptr;
};

TEST_F(MenuDrawerMenus, ContextMenuResourceHoldsBothPopups)
{
    const char* const max[] = {"実行(&E)", "最小化(&C)", "", "比較ファイル１", "比較ファイル２", "",
                               "設定(&S)...", "", "バージョン情報(&A)...", "", "終了(&X)"};
    const UINT maxIds[] = {32776, 32777, 0, UINT(-1), UINT(-1), 0, 32771, 0, 57664, 0, 57665};
    ASSERT_EQ(11, ::GetMenuItemCount(maximised));
    for (UINT i = 0; i < 11; ++i) {
        EXPECT_EQ(max[i], ReadItem(maximised, i).label) << i;
        EXPECT_EQ(maxIds[i], ::GetMenuItemID(maximised, static_cast<int>(i))) << i;
    }
    HMENU file1 = ::GetSubMenu(maximised, 3), file2 = ::GetSubMenu(maximised, 4);
    ASSERT_EQ(2, ::GetMenuItemCount(file1));
    ASSERT_EQ(2, ::GetMenuItemCount(file2));
    EXPECT_EQ("ファイル(&F)...", ReadItem(file1, 0).label);
    EXPECT_EQ("フォルダ(&D)...", ReadItem(file1, 1).label);
    EXPECT_EQ(32772u, ::GetMenuItemID(file1, 0));
    EXPECT_EQ(32773u, ::GetMenuItemID(file1, 1));
    EXPECT_EQ(32774u, ::GetMenuItemID(file2, 0));
    EXPECT_EQ(32775u, ::GetMenuItemID(file2, 1));

    const char* const min[] = {"最大化(&M)", "設定(&S)...", "", "バージョン情報(&A)...", "", "終了(&X)"};
    const UINT minIds[] = {32787, 32771, 0, 57664, 0, 57665};
    ASSERT_EQ(6, ::GetMenuItemCount(minimised));
    for (UINT i = 0; i < 6; ++i) {
        EXPECT_EQ(min[i], ReadItem(minimised, i).label) << i;
        EXPECT_EQ(minIds[i], ::GetMenuItemID(minimised, static_cast<int>(i))) << i;
    }
    EXPECT_TRUE(ReadItem(minimised, 2).type & MFT_SEPARATOR);
}

TEST_F(MenuDrawerMenus, OpeningConvertsAndClosingRestoresEveryMenu)
{
    const auto before = ReadItems(maximised);
    HMENU file1 = ::GetSubMenu(maximised, 3);
    const auto beforeSub = ReadItems(file1);

    drawer.OnInitMenuPopup(maximised, 0, FALSE);
    drawer.OnInitMenuPopup(file1, 3, FALSE);
    drawer.OnInitMenuPopup(maximised, 0, FALSE); // again: nothing doubles
    EXPECT_EQ((std::list<HMENU>{file1, maximised}), drawer.GetConvertedMenus());
    EXPECT_EQ(13u, drawer.GetRecordCount());

    for (UINT i = 0; i < before.size(); ++i) {
        ItemSnapshot now = ReadItem(maximised, i);
        EXPECT_TRUE(now.type & MFT_OWNERDRAW) << i;
        const MenuItemData* record = drawer.FindRecord(now.data);
        ASSERT_NE(nullptr, record) << i;
        EXPECT_EQ(MenuItemData::kTag, record->tag);
        EXPECT_EQ(0, std::memcmp(&record->tag, "mid0", 4));
        EXPECT_EQ(before[i].label, record->label) << i;
        EXPECT_EQ(before[i].type | MFT_OWNERDRAW, record->type) << i;
    }
    EXPECT_EQ(8, RecordAt(drawer, maximised, 0)->image);   // Run: page with magnifier
    EXPECT_EQ(5, RecordAt(drawer, maximised, 1)->image);   // Minimise
    EXPECT_EQ(-1, RecordAt(drawer, maximised, 2)->image);  // separator
    EXPECT_TRUE(RecordAt(drawer, maximised, 2)->type & MFT_SEPARATOR);
    EXPECT_EQ(-1, RecordAt(drawer, maximised, 3)->image);  // submenu
    EXPECT_EQ(7, RecordAt(drawer, maximised, 8)->image);   // About
    EXPECT_EQ(0, RecordAt(drawer, file1, 0)->image);
    EXPECT_EQ(2, RecordAt(drawer, file1, 1)->image);

    // Another item being selected leaves everything converted.
    drawer.OnMenuSelect(32776, MF_HILITE, maximised);
    EXPECT_EQ(13u, drawer.GetRecordCount());

    CloseMenu();
    EXPECT_TRUE(drawer.GetConvertedMenus().empty());
    EXPECT_EQ(0u, drawer.GetRecordCount());
    const auto after = ReadItems(maximised);
    for (UINT i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].type, after[i].type) << i;
        EXPECT_EQ(before[i].label, after[i].label) << i;
        EXPECT_EQ(0u, after[i].data) << i;
    }
    const auto afterSub = ReadItems(file1);
    for (UINT i = 0; i < beforeSub.size(); ++i) {
        EXPECT_EQ(beforeSub[i].type, afterSub[i].type);
        EXPECT_EQ(beforeSub[i].label, afterSub[i].label);
    }
    EXPECT_EQ(file1, ::GetSubMenu(maximised, 3));
}

// Screen readers read an owner-drawn item's text from the MSAAMENUINFO that
// begins its item data (the texts themselves: tests/e2e, in both languages);
// once the menu is given back no item points to one.
TEST_F(MenuDrawerMenus, EveryConvertedItemCarriesItsTextForScreenReadersInBothLanguages)
{
    HINSTANCE module = AfxGetResourceHandle();
    for (LANGID language : {kLangJapanese, kLangEnglish}) {
        SCOPED_TRACE(language);
        HRSRC res = ::FindResourceExA(module, RT_MENU, MAKEINTRESOURCEA(IDR_CONTEXT_MENU), language);
        ASSERT_NE(nullptr, res);
        UniqueMenu loaded(::LoadMenuIndirectA(::LockResource(::LoadResource(module, res))));
        HMENU max = ::GetSubMenu(loaded, 0);
        const struct { HMENU popup; long items, labelled; } menus[] = { // the rest are separators
            {max, 11, 7}, {::GetSubMenu(max, 3), 2, 2}, {::GetSubMenu(loaded, 1), 6, 4}};
        for (const auto& [popup, items, labelled] : menus) {
            std::vector<std::wstring> texts(::GetMenuItemCount(popup), std::wstring(100, L'\0'));
            for (UINT i = 0; i < texts.size(); ++i)
                texts[i].resize(::GetMenuStringW(popup, i, &texts[i][0], 100, MF_BYPOSITION));
            ASSERT_EQ(items, static_cast<long>(texts.size()));
            ASSERT_EQ(labelled, std::count_if(texts.begin(), texts.end(), [](const auto& t) { return !t.empty(); }));
            drawer.OnInitMenuPopup(popup, 0, FALSE);
            for (UINT i = 0; i < texts.size(); ++i) {
                const auto* info = reinterpret_cast<const MSAAMENUINFO*>(ReadItem(popup, i).data);
                ASSERT_NE(nullptr, info) << i;
                EXPECT_EQ(static_cast<DWORD>(MSAA_MENU_SIG), info->dwMSAASignature) << i;
                EXPECT_EQ(texts[i], std::wstring(info->pszWText, info->cchWText)) << i;
                EXPECT_EQ(L'\0', info->pszWText[info->cchWText]) << i;
            }
        }
        CloseMenu();
        for (const auto& m : menus)
            for (int i = 0; i < m.items; ++i) EXPECT_EQ(0u, ReadItem(m.popup, i).data) << i;
    }
}

TEST_F(MenuDrawerMenus, ForeignItemsAndSystemCommandsAreLeftAlone)
{
    UniqueMenu popup(::CreatePopupMenu());
    ::AppendMenuA(popup, MF_STRING, 32776, "実行(&E)");
    ::AppendMenuA(popup, MF_STRING, 40000, "他人の項目");
    ::AppendMenuA(popup, MF_STRING, SC_CLOSE, "閉じる(&C)");
    // Item data that is no pointer at all must never be read through.
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_DATA;
    info.dwItemData = 12345;
    ASSERT_TRUE(::SetMenuItemInfoA(popup, 1, TRUE, &info));

    drawer.OnInitMenuPopup(popup, 0, TRUE);
    EXPECT_TRUE(ReadItem(popup, 0).type & MFT_OWNERDRAW);
    EXPECT_FALSE(ReadItem(popup, 1).type & MFT_OWNERDRAW);
    EXPECT_EQ(12345u, ReadItem(popup, 1).data);
    EXPECT_FALSE(ReadItem(popup, 2).type & MFT_OWNERDRAW);
    EXPECT_EQ(0u, ReadItem(popup, 2).data);
    EXPECT_EQ(1u, drawer.GetRecordCount());

    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = 12345;
    EXPECT_FALSE(drawer.OnMeasureItem(&mis));
    EXPECT_EQ(MAKELRESULT(0, MNC_EXECUTE), drawer.OnMenuChar('e', MF_POPUP, popup));
    EXPECT_EQ(0, drawer.OnMenuChar('c', MF_POPUP, popup)); // the system command is not ours

    CloseMenu();
    EXPECT_EQ(12345u, ReadItem(popup, 1).data);
    EXPECT_EQ("他人の項目", ReadItem(popup, 1).label);
    EXPECT_EQ("実行(&E)", ReadItem(popup, 0).label);
}

TEST_F(MenuDrawerMenus, RecordsAreFreedWhenMenusVanishOrTheDrawerGoes)
{
    // A converted menu destroyed before the close notice.
    {
        UniqueMenu popup(::CreatePopupMenu());
        ::AppendMenuA(popup, MF_STRING, 32776, "実行(&E)");
        ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
        drawer.OnInitMenuPopup(popup, 0, FALSE);
        EXPECT_EQ(2u, drawer.GetRecordCount());
    }
    CloseMenu();
    EXPECT_EQ(0u, drawer.GetRecordCount());

    // A drawer that goes while its menu is converted hands the menu back.
    {
        CMenuDrawer shortLived;
        shortLived.OnInitMenuPopup(minimised, 1, FALSE);
        EXPECT_TRUE(ReadItem(minimised, 0).type & MFT_OWNERDRAW);
    }
    EXPECT_FALSE(ReadItem(minimised, 0).type & MFT_OWNERDRAW);
    EXPECT_EQ("最大化(&M)", ReadItem(minimised, 0).label);
    EXPECT_EQ(0u, ReadItem(minimised, 0).data);
}

TEST_F(MenuDrawerMenus, MeasuresLabelsAndSeparators)
{
    HMENU file1 = ::GetSubMenu(maximised, 3);
    drawer.OnInitMenuPopup(file1, 3, FALSE);
    drawer.OnInitMenuPopup(minimised, 1, FALSE);

    // "ファイル(&F)...": its text width plus 36, at least 20 high and even.
    MEASUREITEMSTRUCT mis = {};
    mis.CtlType = ODT_MENU;
    mis.itemData = ReadItem(file1, 0).data;
    ASSERT_TRUE(drawer.OnMeasureItem(&mis));
    RECT text = {0, 0, 0, 0};
    {
        WindowDC screen(nullptr);
        SelectGuard sel(screen, drawer.GetMenuFont());
        ::DrawTextA(screen, "ファイル(&F)...", -1, &text, DT_SINGLELINE | DT_CALCRECT);
    }
    EXPECT_GT(text.right, 0);
    EXPECT_EQ(static_cast<UINT>(text.right + 36), mis.itemWidth);
    EXPECT_GE(mis.itemHeight, 20u);
    EXPECT_EQ(0u, mis.itemHeight % 2);
    EXPECT_GE(static_cast<LONG>(mis.itemHeight), text.bottom + 4);

    // A separator is half a menu bar high and takes no width.
    MEASUREITEMSTRUCT sep = {};
    sep.CtlType = ODT_MENU;
    sep.itemData = ReadItem(minimised, 2).data;
    sep.itemWidth = 99;
    ASSERT_TRUE(drawer.OnMeasureItem(&sep));
    EXPECT_EQ(static_cast<UINT>(::GetSystemMetrics(SM_CYMENU) / 2), sep.itemHeight);
    EXPECT_EQ(0u, sep.itemWidth);

    // Not a menu item: declined.
    MEASUREITEMSTRUCT button = mis;
    button.CtlType = ODT_BUTTON;
    EXPECT_FALSE(drawer.OnMeasureItem(&button));

    // The menu font is the system's menu font.
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ASSERT_TRUE(::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    LOGFONTA lf = {};
    ASSERT_TRUE(::GetObjectA(drawer.GetMenuFont(), sizeof(lf), &lf));
    EXPECT_STREQ(ncm.lfMenuFont.lfFaceName, lf.lfFaceName);
    EXPECT_EQ(ncm.lfMenuFont.lfHeight, lf.lfHeight);
}

TEST_F(MenuDrawerMenus, MnemonicExecutesOneMatchAndCyclesThroughSeveral)
{
    HMENU file1 = ::GetSubMenu(maximised, 3);
    drawer.OnInitMenuPopup(file1, 3, FALSE);
    EXPECT_EQ(MAKELRESULT(0, MNC_EXECUTE), drawer.OnMenuChar('f', MF_POPUP, file1));
    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE), drawer.OnMenuChar('D', MF_POPUP, file1));
    EXPECT_EQ(0, drawer.OnMenuChar('x', MF_POPUP, file1));

    UniqueMenu popup(::CreatePopupMenu());
    ::AppendMenuA(popup, MF_STRING, 1, "&Find");
    ::AppendMenuA(popup, MF_STRING, 2, "Se&t");
    ::AppendMenuA(popup, MF_STRING, 3, "&fold");
    ::AppendMenuA(popup, MF_STRING, 4, "A&&F");  // a literal ampersand, no mnemonic
    drawer.OnInitMenuPopup(popup, 0, FALSE);

    auto highlight = [&](int pos) {
        for (UINT i = 0; i < 4; ++i) {
            MENUITEMINFOA info = {};
            info.cbSize = sizeof(info);
            info.fMask = MIIM_STATE;
            info.fState = static_cast<int>(i) == pos ? MFS_HILITE : 0;
            ::SetMenuItemInfoA(popup, i, TRUE, &info);
        }
    };
    highlight(-1);
    EXPECT_EQ(MAKELRESULT(0, MNC_SELECT), drawer.OnMenuChar('f', MF_POPUP, popup));
    highlight(0);
    EXPECT_EQ(MAKELRESULT(2, MNC_SELECT), drawer.OnMenuChar('F', MF_POPUP, popup));
    highlight(2);
    EXPECT_EQ(MAKELRESULT(0, MNC_SELECT), drawer.OnMenuChar('f', MF_POPUP, popup)); // wraps
    highlight(1);
    EXPECT_EQ(MAKELRESULT(2, MNC_SELECT), drawer.OnMenuChar('f', MF_POPUP, popup));
    EXPECT_EQ(MAKELRESULT(1, MNC_EXECUTE), drawer.OnMenuChar('t', MF_POPUP, popup));
}

TEST(MenuDrawerRadio, ConstructionRepaintsTheFrameworksRadioDotAsASmallCentredDot)
{
    CMenuDrawer drawer;
    HBITMAP dot = AfxGetMenuDotBitmap();
    ASSERT_NE(nullptr, dot);
    BITMAP bm = {};
    ASSERT_TRUE(::GetObjectA(dot, sizeof(bm), &bm));
    MemoryDC mem(nullptr);
    SelectGuard sel(mem, dot);
    const int cx = bm.bmWidth / 2, cy = bm.bmHeight / 2;
    const int dx = bm.bmWidth / 2 - 2;
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(mem, cx, cy));
    EXPECT_EQ(RGB(0, 0, 0), ::GetPixel(mem, dx, cy));          // the dot's left edge
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(mem, dx - 1, cy)); // just outside it
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(mem, 0, 0));
    EXPECT_EQ(RGB(255, 255, 255), ::GetPixel(mem, bm.bmWidth - 1, bm.bmHeight - 1));
}

// The drawer follows its window's DPI (WM_DPICHANGED): the pictures drawn
// for the nearest scaling not above it, and the menu font for it; back at 96
// DPI as before. Both command strips are drawn for each scaling at its size.
TEST(MenuDrawerToolbar, PicturesAndFontFollowTheWindowsDpi)
{
    CWnd frame;
    ASSERT_TRUE(frame.CreateEx(0, "STATIC", "drawer", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
    CMenuDrawer drawer;
    drawer.Install(&frame);
    ASSERT_TRUE(drawer.LoadToolbar(IDR_MENU_TOOLBAR));
    LOGFONTA at96 = {}, lf = {};
    ASSERT_TRUE(::GetObjectA(drawer.GetMenuFont(), sizeof(at96), &at96));
    const UINT kScalings[][2] = {{120, 120}, {144, 144}, {168, 144}, {192, 192}, {480, 192}, {96, 96}};
    for (const auto& s : kScalings) {
        SCOPED_TRACE(s[0]);
        frame.SendMessage(WM_DPICHANGED, MAKEWPARAM(s[0], s[0]), 0);
        EXPECT_EQ(s[0], drawer.GetDpi());
        EXPECT_EQ(std::make_pair(AfxScale(16, s[1]), AfxScale(15, s[1])), std::make_pair(drawer.GetImageWidth(), drawer.GetImageHeight()));
        EXPECT_EQ(std::make_pair(10, 7), std::make_pair(drawer.GetImageCount(), drawer.GetImageIndex(57664)));
        ASSERT_TRUE(::GetObjectA(drawer.GetMenuFont(), sizeof(lf), &lf));
        EXPECT_EQ(AfxScale(at96.lfHeight, s[0]), lf.lfHeight);
        Bitmap strip(LoadSysColorBitmap(AfxGetResourceHandle(), AfxFindScaledBitmap(IDB_TOOLBAR, s[0]).id));
        BITMAP bm = {};
        ASSERT_TRUE(::GetObjectA(strip, sizeof(bm), &bm));
        EXPECT_EQ(std::make_pair(7 * AfxScale(16, s[1]), AfxScale(15, s[1])), std::make_pair(int(bm.bmWidth), int(bm.bmHeight)));
    }
    frame.DestroyWindow();
}
