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

// At every scaling the children keep their order and gaps, scaled, and fit
// the work area and the strip (as high as the scaled handle): the last
// toolbar ends as many scaled pixels before the edge as at 96 DPI.
TEST(MainFrameLayout, EveryScalingKeepsTheRowWithinTheWorkAreaAndTheStrip)
{
    for (UINT dpi : {96u, 120u, 144u, 168u, 192u}) {
        for (int width : {800, 1024, 1920}) {
            SCOPED_TRACE(testing::Message() << dpi << " DPI, " << width << " pixels");
            auto s = [dpi](int length) { return AfxScale(length, dpi); };
            const int cy = s(28);
            const auto l = CMainFrame::ComputeLayout(width, s(15), cy, dpi);
            const RECT row[] = {l.toolbarMain, l.icon1, l.combo1, l.toolbar1, l.icon2, l.combo2, l.toolbar2};
            const int gaps[] = {2, 9, 2, 12, 9, 2}; // at 96 DPI, between neighbours
            for (int i = 0; i + 1 < 7; ++i) EXPECT_NEAR(s(gaps[i]), row[i + 1].left - row[i].right, 1) << i;
            EXPECT_NEAR(s(5), width - l.toolbar2.right, 2);
            EXPECT_EQ(l.combo1.right - l.combo1.left, l.combo2.right - l.combo2.left);
            for (const RECT& toolbar : {l.toolbarMain, l.toolbar1, l.toolbar2}) EXPECT_EQ(s(26), toolbar.bottom);
            EXPECT_EQ(s(125), l.toolbarMain.right - l.toolbarMain.left);
            for (const RECT& icon : {l.icon1, l.icon2}) {
                EXPECT_EQ(s(17), icon.bottom - icon.top);
                // Near the strip's middle.
                EXPECT_NEAR(cy, icon.top + icon.bottom, 2 * s(2));
            }
        }
    }
}
