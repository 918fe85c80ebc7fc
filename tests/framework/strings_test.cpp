#include <gtest/gtest.h>

#include "framework/FrameWnd.h"
#include "framework/Language.h"
#include "framework/WinApp.h"

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

TEST(StringResources, JapaneseWhereTheCodePageHoldsItAndEnglishElsewhere)
{
    const struct {
        UINT codePage;
        LANGID uiLanguage, expected;
    } cases[] = {
        {932, 0x0411, kLangJapanese},  {932, 0x0409, kLangJapanese},   {65001, 0x0411, kLangJapanese},
        {65001, 0x0409, kLangEnglish}, {1252, 0x0411, kLangEnglish},   {1252, 0x0409, kLangEnglish},
        {936, 0x0804, kLangEnglish},   {65001, 0x0804, kLangEnglish},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, ChooseTextLanguage(c.codePage, c.uiLanguage)) << c.codePage << " " << c.uiLanguage;
    EXPECT_EQ(kLangJapanese, AfxGetTextLanguage());
}
