// The look, decided in one place from the app mode and the contrast setting
// (Wine refuses to switch a contrast theme on: this process answers for the
// system), and a contrast theme's colours, which are the system's only.
#include <gtest/gtest.h>

#include "framework/Look.h"
#include "support/import_hook.h"
#include "support/scoped_registry.h"

namespace {

BOOL WINAPI ContrastOn(UINT action, UINT, PVOID data, UINT)
{
    if (action != SPI_GETHIGHCONTRAST) return FALSE;
    static_cast<HIGHCONTRASTA*>(data)->dwFlags = HCF_HIGHCONTRASTON;
    return TRUE;
}

DWORD WINAPI NumberedSysColor(int index) { return RGB(index, 7, 9); }

} // namespace

TEST(Look, AContrastThemeWinsOverTheAppModeOfWhichOnly0IsDark)
{
    const struct { bool contrast, hasValue; DWORD value; Look look; } cases[] = {
        {false, false, 0, Look::Light}, {false, true, 1, Look::Light},   {false, true, 2, Look::Light},
        {false, true, 0, Look::Dark},   {true, true, 0, Look::Contrast}, {true, false, 0, Look::Contrast}};
    for (const auto& c : cases) EXPECT_EQ(c.look, AfxDecideLook(c.contrast, c.hasValue, c.value)) << c.value;

    ScopedAppMode mode(0); // dark
    EXPECT_EQ(Look::Dark, AfxGetLook());
    ImportHook parameters("user32.dll", "SystemParametersInfoA", reinterpret_cast<void*>(&ContrastOn));
    ImportHook colors("user32.dll", "GetSysColor", reinterpret_cast<void*>(&NumberedSysColor));
    ASSERT_TRUE(parameters.Installed() && colors.Installed());
    EXPECT_TRUE(AfxUpdateLook());
    EXPECT_EQ(Look::Contrast, AfxGetLook());
    EXPECT_TRUE(!AfxUpdateLook() && AfxUpdateLook(true)); // only new colours of the theme: drawn again
    for (int c = 0; c <= static_cast<int>(LookColor::ShadeBottom); ++c) {
        const COLORREF color = AfxLookColor(static_cast<LookColor>(c));
        EXPECT_TRUE(GetGValue(color) == 7 && GetBValue(color) == 9) << c << " is not a system colour";
    }
    EXPECT_EQ(RGB(COLOR_BTNTEXT, 7, 9), AfxLookColor(LookColor::BarLine));
}
