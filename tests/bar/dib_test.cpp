// The background bitmap: loading, palettes, sizes, drawing and ownership.
#include <gtest/gtest.h>

#include "bar/Dib.h"
#include "bar_test_support.h"
#include "res/resource.h"

#include <vector>

namespace {

HINSTANCE Resources()
{
    return ::GetModuleHandleA(nullptr);
}

std::vector<PALETTEENTRY> Entries(HPALETTE palette)
{
    UINT count = ::GetPaletteEntries(palette, 0, 0, nullptr);
    std::vector<PALETTEENTRY> entries(count);
    if (count) ::GetPaletteEntries(palette, 0, count, entries.data());
    return entries;
}

bool SameEntries(const std::vector<PALETTEENTRY>& a, const std::vector<PALETTEENTRY>& b)
{
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (a[i].peRed != b[i].peRed || a[i].peGreen != b[i].peGreen || a[i].peBlue != b[i].peBlue) return false;
    }
    return true;
}

// A DIB section of `bits` per pixel with a colour table of `colours` entries
// (entry i is (i, 2i, 3i) mod 256).
HBITMAP MakeIndexedDib(WORD bits, DWORD colours)
{
    std::vector<BYTE> buffer(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* info = reinterpret_cast<BITMAPINFO*>(buffer.data());
    info->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info->bmiHeader.biWidth = 8;
    info->bmiHeader.biHeight = 8;
    info->bmiHeader.biPlanes = 1;
    info->bmiHeader.biBitCount = bits;
    info->bmiHeader.biCompression = BI_RGB;
    info->bmiHeader.biClrUsed = colours;
    for (DWORD i = 0; i < colours; ++i)
        info->bmiColors[i] = RGBQUAD{static_cast<BYTE>(3 * i), static_cast<BYTE>(2 * i), static_cast<BYTE>(i), 0};
    void* pixels = nullptr;
    return ::CreateDIBSection(nullptr, info, DIB_RGB_COLORS, &pixels, nullptr, 0);
}

} // namespace

TEST(Dib, BarBitmapsHaveTheirSizesAndAHalftonePalette)
{
    WindowDC screen(nullptr);
    Palette halftone(::CreateHalftonePalette(screen));
    ASSERT_TRUE(halftone);

    struct Case { UINT id; LONG cx, cy; } cases[] = {
        {IDB_HANDLE, 15, 28}, {IDB_HANDLE_ACTIVE, 15, 28}, {IDB_TILE, 12, 28}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        CDib dib;
        ASSERT_TRUE(dib.Load(Resources(), c.id));
        SIZE size = dib.GetSize();
        EXPECT_EQ(c.cx, size.cx);
        EXPECT_EQ(c.cy, size.cy);
        DIBSECTION ds = {};
        ASSERT_EQ(static_cast<int>(sizeof(ds)), ::GetObjectA(dib.GetBitmap(), sizeof(ds), &ds)); // a DIB section
        EXPECT_EQ(24, ds.dsBm.bmBitsPixel);
        RGBQUAD table[4];
        EXPECT_EQ(0u, dib.GetColorTable(table, 4));
        ASSERT_NE(nullptr, dib.GetPalette());
        EXPECT_TRUE(SameEntries(Entries(halftone), Entries(dib.GetPalette())));
    }
}

TEST(Dib, IndexedBitmapsGetTheirColourTableAsPalette)
{
    struct Case { WORD bits; DWORD colours; } cases[] = {{4, 16}, {8, 256}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bits * 1000 + c.colours);
        CDib dib;
        ASSERT_TRUE(dib.SetBitmap(MakeIndexedDib(c.bits, c.colours)));
        std::vector<PALETTEENTRY> entries = Entries(dib.GetPalette());
        ASSERT_EQ(c.colours, entries.size());
        for (DWORD i = 0; i < c.colours; ++i) {
            EXPECT_EQ(static_cast<BYTE>(i), entries[i].peRed);
            EXPECT_EQ(static_cast<BYTE>(2 * i), entries[i].peGreen);
            EXPECT_EQ(static_cast<BYTE>(3 * i), entries[i].peBlue);
        }
    }
}

TEST(Dib, DrawCopiesTheBitmapUnscaledToTheRectangle)
{
    CDib tile;
    ASSERT_TRUE(tile.Load(Resources(), IDB_TILE));
    const COLORREF background = RGB(255, 0, 255);
    DibCanvas canvas(130, 32);
    canvas.Fill(background);
    ASSERT_TRUE(tile.Draw(canvas.Dc(), RECT{100, 0, 112, 28}));
    for (int y = 0; y < 28; ++y) {
        for (int x = 100; x < 112; ++x) ASSERT_EQ(DibPixel(tile.GetBitmap(), x - 100, y), canvas.Pixel(x, y)) << x << "," << y;
        EXPECT_EQ(background, canvas.Pixel(99, y));
        EXPECT_EQ(background, canvas.Pixel(112, y));
    }
    EXPECT_EQ(background, canvas.Pixel(105, 28));
}

TEST(Dib, EmptyAndMissingBitmapsDrawNothing)
{
    CDib dib;
    EXPECT_FALSE(dib.Load(Resources(), 9999u));
    EXPECT_FALSE(dib.Load(Resources(), "NO_SUCH_BITMAP"));
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(nullptr, dib.GetPalette());
    EXPECT_EQ(0, dib.GetSize().cx);
    EXPECT_EQ(0, dib.GetSize().cy);
    DibCanvas canvas(20, 20);
    canvas.Fill(RGB(1, 2, 3));
    EXPECT_FALSE(dib.Draw(canvas.Dc(), RECT{0, 0, 20, 20}));
    EXPECT_EQ(RGB(1, 2, 3), canvas.Pixel(5, 5));
    EXPECT_FALSE(dib.SetBitmap(nullptr));
}

TEST(Dib, LoadingAgainReleasesTheFormerBitmapAndPaletteSettingTheSameKeepsIt)
{
    CDib dib;
    ASSERT_TRUE(dib.Load(Resources(), IDB_HANDLE));
    HBITMAP firstBitmap = dib.GetBitmap();
    HPALETTE firstPalette = dib.GetPalette();
    ASSERT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(firstBitmap));
    ASSERT_EQ(static_cast<DWORD>(OBJ_PAL), ::GetObjectType(firstPalette));

    ASSERT_TRUE(dib.Load(Resources(), IDB_TILE));
    EXPECT_EQ(12, dib.GetSize().cx);
    EXPECT_EQ(0u, ::GetObjectType(firstBitmap));
    EXPECT_EQ(0u, ::GetObjectType(firstPalette));

    // A load that fails keeps what the object holds.
    HBITMAP tileBitmap = dib.GetBitmap();
    EXPECT_FALSE(dib.Load(Resources(), 9999u));
    EXPECT_EQ(tileBitmap, dib.GetBitmap());
    EXPECT_EQ(12, dib.GetSize().cx);

    // Setting the bitmap it already holds keeps it; only the palette is new.
    EXPECT_TRUE(dib.SetBitmap(tileBitmap));
    EXPECT_EQ(static_cast<DWORD>(OBJ_BITMAP), ::GetObjectType(tileBitmap));
    EXPECT_EQ(12, dib.GetSize().cx);

    HPALETTE tilePalette = dib.GetPalette();
    EXPECT_TRUE(dib.DeleteObject());
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(0u, ::GetObjectType(tileBitmap));
    EXPECT_EQ(0u, ::GetObjectType(tilePalette));
}
