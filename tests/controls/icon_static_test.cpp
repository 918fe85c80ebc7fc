// The enlarged-icon box: exact pixel regions on a 60 by 66 canvas.
#include <gtest/gtest.h>

#include "controls/IconStatic.h"
#include "framework/Gdi.h"

namespace {

const COLORREF kGrey = RGB(128, 128, 128);
const COLORREF kShadow = RGB(64, 64, 64); // DKGRAY_BRUSH
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// The icon as the box shows it: drawn on white, stretched to 52 by 58.
void DrawExpectedIcon(DibCanvas& canvas, HICON icon)
{
    int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
    DibCanvas small(cx, cy);
    small.Fill(kWhite);
    if (icon) ::DrawIcon(small.Dc(), 0, 0, icon);
    ::StretchBlt(canvas.Dc(), 0, 0, 52, 58, small.Dc(), 0, 0, cx, cy, SRCCOPY);
}

void ExpectBox(CIconStatic& box)
{
    DibCanvas canvas(60, 66);
    canvas.Fill(RGB(1, 2, 3)); // anything left unpainted shows up
    RECT rc = {0, 0, 60, 66};
    box.DrawIconBox(canvas.Dc(), rc);
    DibCanvas icon(52, 58);
    DrawExpectedIcon(icon, box.GetBoxIcon());

    int wrong = 0;
    for (int y = 0; y < 66; ++y) {
        for (int x = 0; x < 60; ++x) {
            COLORREF expected;
            if (x >= 56 && y < 4) expected = kGrey;                             // top-right corner
            else if (x < 4 && y >= 62) expected = kGrey;                        // bottom-left corner
            else if (x >= 56 || y >= 62) expected = kShadow;                    // shadow bands
            else if (x == 0 || x == 55 || y == 0 || y == 61) expected = kBlack; // frame
            else if (x >= 2 && x < 54 && y >= 2 && y < 60) expected = icon.Pixel(x - 2, y - 2);
            else expected = kWhite;                                             // ring inside the frame
            if (canvas.Pixel(x, y) != expected && ++wrong <= 5)
                ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << canvas.Pixel(x, y)
                              << " instead of " << expected;
        }
    }
    EXPECT_EQ(0, wrong);
}

} // namespace

TEST(IconStatic, DrawsTheFramedShadowedEnlargedIcon)
{
    CIconStatic box;
    ASSERT_TRUE(box.SetIconId(131));
    ASSERT_NE(nullptr, box.GetBoxIcon());
    ExpectBox(box);

    // The icon does show: its stretched image is not plain white.
    DibCanvas icon(52, 58);
    DrawExpectedIcon(icon, box.GetBoxIcon());
    int coloured = 0;
    for (int y = 0; y < 58; ++y)
        for (int x = 0; x < 52; ++x)
            if (icon.Pixel(x, y) != kWhite) ++coloured;
    EXPECT_GT(coloured, 500);
}

TEST(IconStatic, MissingIconLeavesAWhiteBox)
{
    CIconStatic box;
    EXPECT_FALSE(box.SetIconId(4242));
    EXPECT_EQ(nullptr, box.GetBoxIcon());
    ExpectBox(box); // box, frame and shadow, all white inside
}
