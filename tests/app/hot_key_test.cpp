// Which hot keys would take a character from the keyboard layout.
#include <gtest/gtest.h>

#include "app/HotKey.h"

#include <commctrl.h>

TEST(HotKey, ACtrlAltKeyThatTheLayoutTypesWithIsRefusedAndNoOtherKey)
{
    const BYTE ctrlAlt = HOTKEYF_CONTROL | HOTKEYF_ALT;
    const struct { BYTE modifiers; int count; const wchar_t* chars; bool types; } rows[] = {
        {ctrlAlt, 1, L"\u00f6", true},                 // AltGr+P on US-International
        {ctrlAlt | HOTKEYF_SHIFT, 1, L"\u00d6", true}, // with Shift
        {ctrlAlt, -1, L"\u00b4", true},                // a dead key's accent
        {ctrlAlt, 0, L"", false},                      // nothing on this layout
        {ctrlAlt, 1, L"\x10", false},                  // a control code
        {HOTKEYF_CONTROL, 1, L"p", false},             // no AltGr without Alt
        {HOTKEYF_ALT, 1, L"p", false},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.types, CHotKey::TypesCharacter(MAKEWORD('P', row.modifiers), row.count, row.chars))
            << int(row.modifiers) << " " << row.count;
    // The layout the tests run with (US) types nothing with Ctrl+Alt+P.
    EXPECT_FALSE(CHotKey::TypesCharacter(MAKEWORD('P', ctrlAlt), ::GetKeyboardLayout(0)));
}
