#include <gtest/gtest.h>

#include "framework/WinApp.h"
#include "framework/FrameWnd.h"

TEST(StringResources, CodePageIs932)
{
    EXPECT_EQ(932u, ::GetACP());
}

TEST(StringResources, TooltipIsThePartAfterTheNewline)
{
    EXPECT_EQ("Pairmate", AfxLoadString(57344));
    EXPECT_EQ("WinDiffを実行", CFrameWnd::GetCommandTip(32776));
    EXPECT_EQ("バージョン情報", CFrameWnd::GetCommandTip(57664));
    EXPECT_EQ("", CFrameWnd::GetCommandTip(12345));
}
