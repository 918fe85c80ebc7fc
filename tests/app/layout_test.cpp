// The main window's layout rule and drive-root rule.
#include <gtest/gtest.h>

#include "app/MainFrame.h"
#include "framework/Dpi.h"
#include "support/rect_print.h"

TEST(MainFrameLayout, WorkAreasOf1024And800Pixels)
{
    auto l = CMainFrame::ComputeLayout(1024, 15, 28);
    EXPECT_EQ((RECT{20, 4, 145, 26}), l.toolbarMain);
    EXPECT_EQ((RECT{147, 6, 164, 23}), l.icon1);
    EXPECT_EQ((RECT{173, 4, 525, 104}), l.combo1);
    EXPECT_EQ((RECT{527, 4, 577, 26}), l.toolbar1);
    EXPECT_EQ((RECT{589, 6, 606, 23}), l.icon2);
    EXPECT_EQ((RECT{615, 4, 967, 104}), l.combo2);
    EXPECT_EQ((RECT{969, 4, 1019, 26}), l.toolbar2);

    auto s = CMainFrame::ComputeLayout(800, 15, 28);
    EXPECT_EQ(240, s.combo1.right - s.combo1.left);
    EXPECT_EQ((RECT{173, 4, 413, 104}), s.combo1);
    EXPECT_EQ((RECT{503, 4, 743, 104}), s.combo2);
    EXPECT_EQ((RECT{745, 4, 795, 26}), s.toolbar2);

    // The icon boxes' offset truncates toward zero, also below the box size.
    EXPECT_EQ(6, CMainFrame::ComputeLayout(1024, 15, 27).icon1.top);
    EXPECT_EQ(1, CMainFrame::ComputeLayout(1024, 15, 16).icon1.top);
}

TEST(MainFrameLayout, DriveLetterAloneNamesTheRoot)
{
    EXPECT_EQ("C:\\", CMainFrame::NormalizeDriveRoot("C:"));
    EXPECT_EQ("z:\\", CMainFrame::NormalizeDriveRoot("z:"));
    EXPECT_EQ("C:\\", CMainFrame::NormalizeDriveRoot("C:\\"));
    EXPECT_EQ("1:", CMainFrame::NormalizeDriveRoot("1:"));
    EXPECT_EQ("C:x", CMainFrame::NormalizeDriveRoot("C:x"));
    EXPECT_EQ("", CMainFrame::NormalizeDriveRoot(""));
}

// Scaled, the row keeps its order and gaps up to the edge, and lies in the strip.
TEST(MainFrameLayout, EveryScalingKeepsTheRowWithinTheWorkAreaAndTheStrip)
{
    for (UINT dpi : {96u, 120u, 144u, 168u, 192u}) {
        for (int width : {800, 1024, 1920}) {
            auto s = [dpi](int length) { return AfxScale(length, dpi); };
            const auto l = CMainFrame::ComputeLayout(width, s(15), s(28), dpi);
            const RECT row[] = {l.toolbarMain, l.icon1, l.combo1, l.toolbar1, l.icon2, l.combo2, l.toolbar2};
            const int gaps[] = {2, 9, 2, 12, 9, 2, 5}; // at 96 DPI: between neighbours, after the last
            for (int i = 0; i < 7; ++i)
                EXPECT_NEAR(s(gaps[i]), (i < 6 ? row[i + 1].left : width) - row[i].right, 2) << dpi << " " << width << " " << i;
            for (const RECT& r : {l.toolbarMain, l.toolbar1, l.toolbar2, l.icon1, l.icon2})
                EXPECT_TRUE(r.top >= s(1) && r.bottom <= s(27) && r.bottom - r.top >= s(17)) << dpi << " " << width;
        }
    }
}
