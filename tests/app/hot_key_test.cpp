// Which hot keys would take a character from the keyboard layout.
#include <gtest/gtest.h>

#include "app/HotKey.h"

#include <commctrl.h>

TEST(HotKey, ACtrlAltKeyThatTheLayoutTypesWithIsRefusedAndNoOtherKey)
{
    const BYTE ctrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT, ctrl = HOTKEYF_CONTROL, alt = HOTKEYF_ALT;
    // AltGr+P on US-International, with Shift, a dead key; nothing, a
    // control code; no AltGr without both Ctrl and Alt.
    const struct { BYTE modifiers; int count; const wchar_t* chars; bool types; } rows[] = {
        {ctrlAlt, 1, L"\u00f6", true}, {ctrlAlt | HOTKEYF_SHIFT, 1, L"\u00d6", true}, {ctrlAlt, -1, L"\u00b4", true},
        {ctrlAlt, 0, L"", false},      {ctrlAlt, 1, L"\x10", false},                   {ctrl, 1, L"p", false},
        {alt, 1, L"p", false}};
    for (const auto& row : rows)
        EXPECT_EQ(row.types, CHotKey::TypesCharacter(MAKEWORD('P', row.modifiers), row.count, row.chars)) << &row - rows;
    // The layout the tests run with (US) types nothing with Ctrl+Alt+P.
    EXPECT_FALSE(CHotKey::TypesCharacter(MAKEWORD('P', ctrlAlt), ::GetKeyboardLayout(0)));
}
