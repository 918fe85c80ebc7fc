// The main window's layout rule and drive-root rule.
#include <gtest/gtest.h>

#include "app/MainFrame.h"
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
