// Drawing of single menu items into a memory bitmap, read back pixel by
// pixel: separators, image cell and image positions, highlight bands of both
// looks, embossed images of grayed items, check marks and the label columns.
#include <gtest/gtest.h>

#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/ImageList.h"
#include "framework/Look.h"
#include "framework/MenuRadio.h"
#include "menus/MenuDrawer.h"
#include "menus/MenuItemRenderer.h"
#include "res/resource.h"
#include "support/rect_print.h"
#include "support/scoped_registry.h"

#include <string>

namespace {

const COLORREF kMenu = RGB(192, 192, 192);
const COLORREF kHighlight = RGB(0, 0, 128);
const COLORREF kShadow = RGB(128, 128, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kDarkShadow = RGB(64, 64, 64);    // sunken inner edge, top and left
const COLORREF kLight = RGB(224, 224, 224);      // sunken inner edge, bottom and right

// The classic colour scheme for the length of a test, so that menu colour,
// button highlight and shadow all differ; the old colours come back after.
class ClassicColors {
public:
    ClassicColors()
    {
        for (int i = 0; i < kCount; ++i) m_old[i] = ::GetSysColor(kIndex[i]);
        const COLORREF values[kCount] = {kMenu,   RGB(0, 0, 0), kHighlight,  kWhite,
                                         kShadow, kShadow,      kWhite,      kDarkShadow,
                                         kLight};
        ::SetSysColors(kCount, kIndex, values);
    }
    ~ClassicColors() { ::SetSysColors(kCount, kIndex, m_old); }

private:
    static const int kCount = 9;
    static constexpr int kIndex[kCount] = {COLOR_MENU,      COLOR_MENUTEXT, COLOR_HIGHLIGHT,
                                           COLOR_HIGHLIGHTTEXT, COLOR_BTNSHADOW, COLOR_GRAYTEXT,
                                           COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW, COLOR_3DLIGHT};
    COLORREF m_old[kCount];
};
constexpr int ClassicColors::kIndex[];

// An image list of 16x15 images without a mask, each a solid colour.
HIMAGELIST SolidList(std::initializer_list<COLORREF> colors)
{
    HIMAGELIST list = ::ImageList_Create(16, 15, ILC_COLOR24, 0, 4);
    for (COLORREF c : colors) {
        WindowDC screen(nullptr);
        Bitmap bmp(::CreateCompatibleBitmap(screen, 16, 15));
        {
            MemoryDC mem(screen);
            SelectGuard sel(mem, bmp);
            Brush brush(::CreateSolidBrush(c));
            RECT rc = {0, 0, 16, 15};
            ::FillRect(mem, &rc, brush);
        }
        ::ImageList_Add(list, bmp, nullptr);
    }
    return list;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1; // inclusive
    bool empty() const { return right < 0; }
};

// Bounds of the pixels inside `area` that differ from `background`.
Box InkBounds(const DibCanvas& canvas, const RECT& area, COLORREF background)
{
    Box box;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            if (canvas.Pixel(x, y) != background) {
                box.left = std::min(box.left, x);
                box.right = std::max(box.right, x);
                box.top = std::min(box.top, y);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

int CountColor(const DibCanvas& canvas, const RECT& area, COLORREF color)
{
    int n = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x) n += canvas.Pixel(x, y) == color;
    return n;
}

Font MenuFont()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    return Font(::CreateFontIndirectA(&ncm.lfMenuFont));
}

class MenuRender : public ::testing::Test {
protected:
    ClassicColors colors;
    DibCanvas canvas{240, 40};
    Font font = MenuFont();
    CImageList red;
    void SetUp() override
    {
        canvas.Fill(RGB(1, 2, 3));
        red.Attach(SolidList({kRed}));
    }
    void TearDown() override { ::ImageList_Destroy(red.Detach()); }
};

} // namespace

TEST_F(MenuRender, SeparatorIsAnEtchedLineAtTheVerticalMiddle)
{
    for (int height : {9, 10}) {
        canvas.Fill(RGB(1, 2, 3));
        const RECT rc = {10, 5, 200, 5 + height};
        DrawSeparatorItem(canvas.Dc(), rc);
        const int line = rc.top + height / 2;   // T+4 for 9 (a 19-pixel menu bar), T+5 for 10
        for (int x : {10, 100, 199}) {
            EXPECT_EQ(kShadow, canvas.Pixel(x, line)) << height << " " << x;
            EXPECT_EQ(kWhite, canvas.Pixel(x, line + 1)) << height << " " << x;
        }
        for (int y = rc.top; y < rc.bottom; ++y)
            if (y != line && y != line + 1) {
                EXPECT_EQ(kMenu, canvas.Pixel(100, y)) << y;
            }
        EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(100, rc.bottom));
        EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(9, line));
    }
}

TEST_F(MenuRender, ImageCellAndImageAreCentredInTwentyAndTwentyFourPixelItems)
{
    for (int height : {20, 24}) {
        canvas.Fill(RGB(1, 2, 3));
        const RECT rc = {10, 5, 200, 5 + height};
        const int cellTop = rc.top + (height - 20) / 2;   // T, or T+2
        const int imageTop = rc.top + (height - 16) / 2;  // T+2, or T+4
        EXPECT_EQ(cellTop, MenuImageCell(rc).top);
        EXPECT_EQ(imageTop, MenuImagePosition(rc).y);

        DrawImageItem(canvas.Dc(), rc, TRUE, FALSE, FALSE, nullptr, red, 0, font, "", MenuLook::Classic);
        Box image = InkBounds(canvas, rc, kMenu);
        EXPECT_EQ(rc.left + 4, image.left) << height;
        EXPECT_EQ(rc.left + 19, image.right) << height;
        EXPECT_EQ(imageTop, image.top) << height;
        EXPECT_EQ(imageTop + 14, image.bottom) << height;

        // Selected, older look: a raised frame exactly around the cell, the
        // highlight band from L+24.
        DrawImageItem(canvas.Dc(), rc, TRUE, TRUE, FALSE, nullptr, red, 0, font, "", MenuLook::Classic);
        EXPECT_EQ(kWhite, canvas.Pixel(rc.left + 10, cellTop)) << height;
        EXPECT_EQ(kWhite, canvas.Pixel(rc.left + 2, cellTop + 10)) << height;
        EXPECT_EQ(kShadow, canvas.Pixel(rc.left + 10, cellTop + 19)) << height;
        EXPECT_EQ(kShadow, canvas.Pixel(rc.left + 21, cellTop + 10)) << height;
        EXPECT_EQ(kMenu, canvas.Pixel(rc.left + 1, cellTop + 10)) << height;
        EXPECT_EQ(kMenu, canvas.Pixel(rc.left + 22, cellTop + 10)) << height;
        if (cellTop > rc.top) {
            EXPECT_EQ(kMenu, canvas.Pixel(rc.left + 10, cellTop - 1));
        }
        EXPECT_EQ(kRed, canvas.Pixel(rc.left + 4, imageTop)) << height;
        EXPECT_EQ(kMenu, canvas.Pixel(rc.left + 23, rc.top + 1)) << height;
        EXPECT_EQ(kHighlight, canvas.Pixel(rc.left + 24, rc.top)) << height;
        EXPECT_EQ(kHighlight, canvas.Pixel(rc.right - 1, rc.bottom - 1)) << height;
        EXPECT_EQ(kMenu, canvas.Pixel(rc.left, rc.top)) << height;
    }
}

TEST_F(MenuRender, XpLookHighlightsTheWholeItemAndDrawsNoFrames)
{
    const RECT rc = {10, 5, 200, 29};
    const RECT cell = MenuImageCell(rc);
    DrawImageItem(canvas.Dc(), rc, TRUE, TRUE, FALSE, nullptr, red, 0, font, "", MenuLook::XP);
    EXPECT_EQ(kHighlight, canvas.Pixel(rc.left, rc.top));
    EXPECT_EQ(kHighlight, canvas.Pixel(cell.left, cell.top + 10));
    EXPECT_EQ(kHighlight, canvas.Pixel(cell.left + 10, cell.bottom - 1));
    EXPECT_EQ(kHighlight, canvas.Pixel(rc.right - 1, rc.bottom - 1));
    EXPECT_EQ(kRed, canvas.Pixel(rc.left + 4, rc.top + 4));

    // Checked and selected: still no frame in this look.
    DrawImageItem(canvas.Dc(), rc, TRUE, TRUE, TRUE, nullptr, red, 0, font, "", MenuLook::XP);
    EXPECT_EQ(kHighlight, canvas.Pixel(cell.left, cell.top + 10));

    // Unselected: the menu colour, same in both looks.
    DrawImageItem(canvas.Dc(), rc, TRUE, FALSE, FALSE, nullptr, red, 0, font, "", MenuLook::XP);
    EXPECT_EQ(kMenu, canvas.Pixel(rc.left, rc.top));
    EXPECT_EQ(kMenu, canvas.Pixel(cell.left, cell.top + 10));
}

TEST_F(MenuRender, CheckedItemsShowTheirStateWithOrWithoutCheckImages)
{
    const RECT rc = {10, 5, 200, 29};
    const RECT cell = MenuImageCell(rc);
    const POINT pt = MenuImagePosition(rc);

    // With an image, no check-mark list: a sunken cell behind the image.
    DrawImageItem(canvas.Dc(), rc, TRUE, FALSE, TRUE, nullptr, red, 0, font, "", MenuLook::Classic);
    EXPECT_EQ(kDarkShadow, canvas.Pixel(cell.left + 10, cell.top));
    EXPECT_EQ(kLight, canvas.Pixel(cell.left + 10, cell.bottom - 1));

    // With a list, its image 0 goes under the item's image (a masked cross).
    CMenuDrawer drawer;
    ASSERT_TRUE(drawer.LoadToolbar(IDR_MENU_TOOLBAR));
    CImageList checks;
    checks.Attach(SolidList({RGB(0, 0, 255), RGB(0, 255, 0)}));
    DrawImageItem(canvas.Dc(), rc, TRUE, FALSE, TRUE, checks, drawer.GetImageList(), 4, font, "",
                  MenuLook::Classic);
    EXPECT_EQ(RGB(0, 0, 255), canvas.Pixel(pt.x, pt.y));          // around the cross
    EXPECT_EQ(RGB(0, 0, 0), canvas.Pixel(pt.x + 3, pt.y + 2));     // the cross itself

    // Without an image: a sunken cell with the mark in it, band after it.
    canvas.Fill(RGB(1, 2, 3));
    DrawPlainItem(canvas.Dc(), rc, TRUE, TRUE, TRUE, nullptr, kCheckMarkSelected, font, "");
    EXPECT_EQ(kDarkShadow, canvas.Pixel(cell.left + 10, cell.top));
    EXPECT_EQ(kLight, canvas.Pixel(cell.left + 10, cell.bottom - 1));
    const RECT inside = {cell.left + 1, cell.top + 1, cell.right - 1, cell.bottom - 1};
    EXPECT_GT(CountColor(canvas, inside, RGB(0, 0, 0)), 5);
    EXPECT_EQ(kMenu, canvas.Pixel(rc.left + 23, rc.top + 1));
    EXPECT_EQ(kHighlight, canvas.Pixel(rc.left + 24, rc.top + 1));

    DrawPlainItem(canvas.Dc(), rc, TRUE, FALSE, TRUE, checks, kCheckMark, font, "");
    EXPECT_EQ(RGB(0, 255, 0), canvas.Pixel(pt.x + 8, pt.y + 8));
    ::ImageList_Destroy(checks.Detach());
}

TEST_F(MenuRender, PlainItemIsHighlightedFromTheLeftEdgeInEitherLook)
{
    const RECT rc = {10, 5, 200, 25};
    DrawPlainItem(canvas.Dc(), rc, TRUE, TRUE, FALSE, nullptr, -1, font, "");
    EXPECT_EQ(kMenu, canvas.Pixel(rc.left + 1, rc.top + 1));
    EXPECT_EQ(kHighlight, canvas.Pixel(rc.left + 2, rc.top + 1));
    EXPECT_EQ(kHighlight, canvas.Pixel(rc.right - 1, rc.bottom - 1));
    EXPECT_EQ(0, CountColor(canvas, MenuImageCell(rc), kDarkShadow));   // no frame, no mark
    EXPECT_EQ(0, CountColor(canvas, MenuImageCell(rc), kShadow));
}

TEST_F(MenuRender, GrayedImageIsEngravedInHighlightAndShadow)
{
    // The shape in shadow at P over a highlight copy at P+(1,1).
    canvas.Fill(kRed);
    const POINT p = {20, 10};
    DrawDisabledImage(canvas.Dc(), red, 0, p, FALSE);
    EXPECT_EQ(kShadow, canvas.Pixel(p.x, p.y));
    EXPECT_EQ(kShadow, canvas.Pixel(p.x + 15, p.y + 14));
    EXPECT_EQ(kWhite, canvas.Pixel(p.x + 16, p.y + 7));
    EXPECT_EQ(kWhite, canvas.Pixel(p.x + 8, p.y + 15));
    EXPECT_EQ(kRed, canvas.Pixel(p.x + 16, p.y));      // the copy starts one pixel down
    EXPECT_EQ(kRed, canvas.Pixel(p.x - 1, p.y + 7));

    // A real picture: only its non-white pixels make the shape; the white
    // paper of the page and its masked surround stay the menu colour.
    CMenuDrawer drawer;
    ASSERT_TRUE(drawer.LoadToolbar(IDR_MENU_TOOLBAR));
    const RECT rc = {10, 5, 200, 25};
    const POINT pt = MenuImagePosition(rc);
    DrawImageItem(canvas.Dc(), rc, FALSE, FALSE, FALSE, nullptr, drawer.GetImageList(), 0, font, "",
                  MenuLook::Classic);
    EXPECT_EQ(kShadow, canvas.Pixel(pt.x + 3, pt.y + 7));   // outline
    EXPECT_EQ(kMenu, canvas.Pixel(pt.x + 6, pt.y + 7));     // paper
    EXPECT_EQ(kMenu, canvas.Pixel(pt.x, pt.y));             // background
    EXPECT_EQ(kWhite, canvas.Pixel(pt.x + 4, pt.y + 14));   // highlight under the bottom edge
    const RECT cell = MenuImageCell(rc);
    EXPECT_EQ(0, CountColor(canvas, cell, RGB(0, 0, 0)));
}

TEST_F(MenuRender, LabelColumnsAndGrayedText)
{
    const RECT rc = {10, 5, 230, 29};
    const RECT text = MenuTextRect(rc);
    EXPECT_EQ(rc.left + 26, text.left);
    EXPECT_EQ(rc.right - 16, text.right);

    DrawPlainItem(canvas.Dc(), rc, TRUE, FALSE, FALSE, nullptr, -1, font, "新規作成(&N)\tCtrl+N");
    Box ink = InkBounds(canvas, rc, kMenu);
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, rc.left + 26);
    EXPECT_LE(ink.left, rc.left + 29);
    EXPECT_LT(ink.right, rc.right - 16);
    EXPECT_GE(ink.right, rc.right - 16 - 4);
    // Between the two columns there is empty space.
    const RECT middle = {rc.left + 130, rc.top, rc.left + 150, rc.bottom};
    EXPECT_TRUE(InkBounds(canvas, middle, kMenu).empty());

    // The same label without the tab part has nothing on the right.
    DrawPlainItem(canvas.Dc(), rc, TRUE, FALSE, FALSE, nullptr, -1, font, "新規作成(&N)");
    EXPECT_LT(InkBounds(canvas, rc, kMenu).right, rc.left + 130);

    // A label that begins with a tab shows nothing.
    DrawPlainItem(canvas.Dc(), rc, TRUE, FALSE, FALSE, nullptr, -1, font, "\tCtrl+N");
    EXPECT_TRUE(InkBounds(canvas, rc, kMenu).empty());

    // Grayed: gray text over a highlight copy one pixel down and right...
    DrawPlainItem(canvas.Dc(), rc, FALSE, FALSE, FALSE, nullptr, -1, font, "設定(&S)...");
    EXPECT_GT(CountColor(canvas, text, kShadow), 10);
    EXPECT_GT(CountColor(canvas, text, kWhite), 10);
    // ...but not when selected, while the gray text differs from the highlight.
    DrawPlainItem(canvas.Dc(), rc, FALSE, TRUE, FALSE, nullptr, -1, font, "設定(&S)...");
    EXPECT_GT(CountColor(canvas, text, kShadow), 10);
    EXPECT_EQ(0, CountColor(canvas, text, kWhite));

    // Enabled and selected: the highlight text colour on the band.
    DrawPlainItem(canvas.Dc(), rc, TRUE, TRUE, FALSE, nullptr, -1, font, "設定(&S)...");
    EXPECT_GT(CountColor(canvas, text, kWhite), 10);
}

// The dark look: its item colours, greyed labels without their light copy
// (its separators on screen: tests/e2e).
TEST_F(MenuRender, DarkLookItemsAndGrayedLabels)
{
    ScopedAppMode mode(0); // dark
    const RECT rc = {10, 5, 230, 29}, text = MenuTextRect(rc);
    DrawImageItem(canvas.Dc(), rc, TRUE, TRUE, FALSE, nullptr, red, 0, font, "設定(&S)...", MenuLook::XP);
    EXPECT_EQ(AfxLookColor(LookColor::Highlight), canvas.Pixel(rc.left, rc.top));
    EXPECT_EQ(kRed, canvas.Pixel(rc.left + 4, rc.top + 4));
    EXPECT_GT(CountColor(canvas, text, AfxLookColor(LookColor::HighlightText)), 10);
    DrawPlainItem(canvas.Dc(), rc, FALSE, FALSE, FALSE, nullptr, -1, font, "設定(&S)...");
    EXPECT_GT(CountColor(canvas, text, AfxLookColor(LookColor::GrayText)), 10);
    EXPECT_EQ(0, CountColor(canvas, text, kWhite));
}

TEST_F(MenuRender, DrawItemDrawsOnlyItsOwnRecordsAndPicksTheMarkByItemState)
{
    CMenuDrawer drawer;
    ASSERT_TRUE(drawer.LoadToolbar(IDR_MENU_TOOLBAR));
    UniqueMenu popup(::CreatePopupMenu());
    ::AppendMenuA(popup, MF_STRING, ID_COMPARE, "実行(&E)");
    ::AppendMenuA(popup, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuA(popup, MF_STRING | MF_CHECKED, 40001, "チェック");
    ::AppendMenuA(popup, MF_STRING, 40002, "ラジオ");
    AfxSetMenuRadio(popup, 3, TRUE);
    drawer.OnInitMenuPopup(popup, 0, FALSE);

    auto dataOf = [&](UINT pos) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_DATA;
        ::GetMenuItemInfoA(popup, pos, TRUE, &info);
        return info.dwItemData;
    };
    const RECT rc = {10, 5, 200, 25};
    DRAWITEMSTRUCT dis = {};
    dis.CtlType = ODT_MENU;
    dis.hwndItem = reinterpret_cast<HWND>(popup.Get());
    dis.hDC = canvas.Dc();
    dis.rcItem = rc;

    // Somebody else's item: nothing drawn.
    dis.itemData = 12345;
    EXPECT_FALSE(drawer.OnDrawItem(&dis));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(50, 10));
    dis.CtlType = ODT_BUTTON;
    dis.itemData = dataOf(0);
    EXPECT_FALSE(drawer.OnDrawItem(&dis));
    dis.CtlType = ODT_MENU;

    // An image item, selected: the look follows the system's version.
    dis.itemID = ID_COMPARE;
    dis.itemState = ODS_SELECTED;
    ASSERT_TRUE(drawer.OnDrawItem(&dis));
    EXPECT_EQ(MenuLookForSystem() == MenuLook::XP ? kHighlight : kMenu, canvas.Pixel(rc.left, rc.top));
    EXPECT_EQ(kHighlight, canvas.Pixel(rc.right - 1, rc.top));

    // A separator.
    dis.itemData = dataOf(1);
    dis.itemState = 0;
    ASSERT_TRUE(drawer.OnDrawItem(&dis));
    EXPECT_EQ(kShadow, canvas.Pixel(100, rc.top + 10));

    // Checked items without an image take check mark 1 or 2, radio items
    // (with a checked-state bitmap of their own) 3 or 4.
    CImageList checks;
    checks.Attach(SolidList({RGB(0, 0, 1), RGB(0, 0, 2), RGB(0, 0, 3), RGB(0, 0, 4), RGB(0, 0, 5)}));
    drawer.SetCheckImages(&checks);
    const POINT pt = MenuImagePosition(rc);
    const struct { UINT pos; UINT id; UINT state; COLORREF mark; } cases[] = {
        {2, 40001, ODS_CHECKED, RGB(0, 0, 2)},
        {2, 40001, ODS_CHECKED | ODS_SELECTED, RGB(0, 0, 3)},
        {3, 40002, ODS_CHECKED, RGB(0, 0, 4)},
        {3, 40002, ODS_CHECKED | ODS_SELECTED, RGB(0, 0, 5)},
    };
    for (const auto& c : cases) {
        dis.itemData = dataOf(c.pos);
        dis.itemID = c.id;
        dis.itemState = c.state;
        ASSERT_TRUE(drawer.OnDrawItem(&dis));
        EXPECT_EQ(c.mark, canvas.Pixel(pt.x + 8, pt.y + 8)) << c.pos << " " << c.state;
    }
    drawer.SetCheckImages(nullptr);
    ::ImageList_Destroy(checks.Detach());
    drawer.OnMenuSelect(0, 0xFFFF, nullptr);
}

// At 150 % every offset is scaled, and an image smaller than the ones drawn
// for 150 % (a display at 175 %) is centred on their place.
TEST_F(MenuRender, At150PercentOffsetsAreScaledAndASmallerImageIsCentred)
{
    const RECT rc = {10, 3, 230, 37}; // 34 pixels high
    EXPECT_EQ((RECT{13, 5, 43, 35}), MenuImageCell(rc, 144));
    EXPECT_EQ((RECT{49, 3, 206, 37}), MenuTextRect(rc, 144));
    DrawImageItem(canvas.Dc(), rc, TRUE, FALSE, FALSE, nullptr, red, 0, font, "", MenuLook::Classic, 144);
    Box image = InkBounds(canvas, rc, kMenu); // at L+6, T+(34-24)/2, then (24-16)/2 and (23-15)/2 further
    EXPECT_EQ((RECT{20, 12, 35, 26}), (RECT{image.left, image.top, image.right, image.bottom}));
}
