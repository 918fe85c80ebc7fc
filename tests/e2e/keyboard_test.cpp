// The keyboard focus of the running bar, driven with real keys and mouse:
// after a message box, a dialog or a chooser, typing goes on in the box that
// had the focus (or took the chosen path); while only the handle shows no
// key reaches a box; the menu asked for from the keyboard opens at the bar.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "framework/CodePage.h"

#include <commctrl.h>

#include <functional>

namespace {

class KeyboardTest : public ::testing::Test {
protected:
    TempFolder temp;
    PairmateProcess app;

    void SetUp() override { ASSERT_TRUE(app.StartWithStandIn()); }
    // A click where a user clicks: on the handle, or on a button of the main
    // toolbar.
    static void Click(POINT at)
    {
        SendMouse(MOUSEEVENTF_LEFTDOWN, at);
        SendMouse(MOUSEEVENTF_LEFTUP, at);
    }
    POINT Handle() const { return {WindowRect(app.Bar()).left + 7, WindowRect(app.Bar()).top + 14}; }
    ::testing::AssertionResult BarAt(LONG left) const
    {
        return WaitForValue("the bar's left edge", [&] { return WindowRect(app.Bar()).left; }, left);
    }
    // Keys are typed once they reach `window`, not before.
    static ::testing::AssertionResult KeysReach(HWND window)
    {
        return WaitForValue("the window keys reach", KeyTarget, window);
    }
};

} // namespace

TEST_F(KeyboardTest, TypingGoesOnInTheBoxAfterEachDialogAndNowhereWhileOnlyTheHandleShows)
{
    const RECT work = WorkAreaRect();
    Click(Handle());
    ASSERT_TRUE(BarAt(work.left));
    ASSERT_TRUE(KeysReach(app.ComboEdit(kPath1))); // slid out, the first box has the focus
    TypeText(L"ab");
    ASSERT_TRUE(WaitFor([&] { return app.ComboText(kPath1) == "ab"; })) << app.ComboText(kPath1);

    const std::string chosen = temp.File("chosen.txt");
    const struct {
        const char* what;
        std::function<void()> open;
        std::function<void(HWND)> close;
        int box;
        std::string text;
    } rows[] = {
        {"a message box (Enter: ab names nothing)", [] { PressKeys({VK_RETURN}); },
         [](HWND) { PressKeys({VK_RETURN}); }, kPath1, "abc"},
        {"Settings", [&] { app.Command(32771); }, [](HWND) { PressKeys({VK_ESCAPE}); }, kPath1, "abcc"},
        {"About", [&] { app.Command(57664); }, [](HWND) { PressKeys({VK_ESCAPE}); }, kPath1, "abccc"},
        {"the file chooser of path 2", [&] { app.Command(32774); },
         [&](HWND chooser) { OpenInChooser(chooser, ToWide(chosen)); }, kPath2, chosen + "c"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        row.open();
        HWND modal = app.WaitForWindow("#32770", std::string());
        ASSERT_NE(nullptr, modal);
        ASSERT_TRUE(WaitFor([&] { return ::IsChild(modal, KeyTarget()) || KeyTarget() == modal; }))
            << "keys reach " << KeyTarget() << ", not the dialog " << modal;
        row.close(modal);
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(modal); }));
        ASSERT_TRUE(KeysReach(app.ComboEdit(row.box)));
        PressKeys({VK_END}); // a chosen path comes selected
        TypeText(L"c");
        EXPECT_TRUE(WaitFor([&] { return app.ComboText(row.box) == row.text; })) << app.ComboText(row.box);
    }

    // The Minimise button: the focus leaves the boxes; typing and Enter do
    // nothing.
    RECT toolbar = WindowRect(app.Control(500));
    Click({toolbar.left + 23 + 11, (toolbar.top + toolbar.bottom) / 2});
    ASSERT_TRUE(BarAt(work.right - 15));
    ASSERT_TRUE(KeysReach(app.Bar()));
    TypeText(L"zz");
    PressKeys({VK_RETURN});
    EXPECT_TRUE(app.NoMessageBoxWithin(1500));
    EXPECT_EQ(chosen + "c", app.ComboText(kPath2));
    EXPECT_EQ(app.Bar(), app.FocusWindow());

    // Moved down by an Alt-drag, the bar opens its menu from the keyboard
    // below its handle, at the right edge of the screen.
    const POINT from = Handle(), to = {from.x, from.y + 200};
    EXPECT_EQ("", app.AltDrag(from, to));
    ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).top > work.top + 190; })) << WindowRect(app.Bar()).top;
    ASSERT_TRUE(KeysReach(app.Bar()));
    PressKeys({VK_SHIFT, VK_F10});
    HWND menu = app.WaitForWindow("#32768", std::string());
    ASSERT_NE(nullptr, menu);
    EXPECT_EQ(WindowRect(app.Bar()).bottom, WindowRect(menu).top);
    EXPECT_EQ(work.right, WindowRect(menu).right);
    PressKeys({VK_ESCAPE});
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowVisible(menu); }));

    // Slid out again, the box that had the focus has it again.
    Click(Handle());
    ASSERT_TRUE(BarAt(work.left));
    ASSERT_TRUE(KeysReach(app.ComboEdit(kPath2)));
    TypeText(L"d");
    EXPECT_TRUE(WaitFor([&] { return app.ComboText(kPath2) == chosen + "cd"; })) << app.ComboText(kPath2);
}

TEST_F(KeyboardTest, HotKeyBringsTheBarFromAnotherProgramAndSettingsChangeIt)
{
    const RECT work = WorkAreaRect();
    const WORD ctrlAltP = MAKEWORD('P', HOTKEYF_CONTROL | HOTKEYF_ALT), ctrlAltQ = MAKEWORD('Q', HOTKEYF_CONTROL | HOTKEYF_ALT);
    app.SetComboText(kPath1, "abc");
    HWND other = ::CreateWindowExA(0, "STATIC", "another program", WS_POPUP | WS_VISIBLE, 100, 300, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ::SetForegroundWindow(other);
    ASSERT_TRUE(KeysReach(other));
    PressKeys({VK_CONTROL, VK_MENU, 'P'});
    ASSERT_TRUE(BarAt(work.left));
    ASSERT_TRUE(KeysReach(app.ComboEdit(kPath1)));
    TypeText(L"x"); // over the whole text
    EXPECT_TRUE(WaitFor([&] { return app.ComboText(kPath1) == "x"; })) << app.ComboText(kPath1);
    PressKeys({VK_CONTROL, VK_MENU, 'P'});
    ASSERT_TRUE(BarAt(work.right - 15));

    auto storedKey = [] { DWORD value = 0; return ReadStoredDword("HotKey", value) ? value : DWORD(-1); };
    auto shownKey = [](HWND dialog) { return LOWORD(::SendMessageA(::GetDlgItem(dialog, 1010), HKM_GETHOTKEY, 0, 0)); };
    // Settings with `key` typed and OK pressed; the dialog.
    auto confirm = [&](WORD shown, WORD key) {
        app.Command(32771);
        HWND dialog = app.WaitForWindow("#32770", std::string());
        EXPECT_EQ(shown, shownKey(dialog));
        ::SendMessageA(::GetDlgItem(dialog, 1010), HKM_SETHOTKEY, key, 0);
        ClickButton(::GetDlgItem(dialog, IDOK));
        return dialog;
    };
    // A key that another program holds: refused with the message, typed
    // key kept, nothing written. The hot key `working`, pressed meanwhile,
    // only brings the message to the front.
    auto expectRefused = [&](HWND dialog, WORD key, DWORD stored, WORD working = 0) {
        MessageBoxInfo box;
        ASSERT_TRUE(app.WaitForMessageBox(box, kWaitMs, dialog));
        if (working) {
            ::SetForegroundWindow(other);
            ASSERT_TRUE(KeysReach(other));
            PressKeys({VK_CONTROL, VK_MENU, LOBYTE(working)});
            EXPECT_TRUE(WaitFor([&] { return ::GetForegroundWindow() == box.hwnd; }));
            EXPECT_EQ(work.left, WindowRect(app.Bar()).left);
        }
        EXPECT_EQ("Pairmate", box.caption);
        EXPECT_EQ("このホットキーは使用できません。ほかのプログラムまたは Windows が使用しています。", box.text);
        ASSERT_TRUE(app.DismissMessageBox(box));
        EXPECT_EQ(key, shownKey(dialog));
        ClickButton(::GetDlgItem(dialog, IDCANCEL));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
        EXPECT_EQ(stored, storedKey());
    };

    // A new key works at once, and the old one is free again.
    confirm(ctrlAltP, ctrlAltQ);
    ASSERT_TRUE(WaitForValue("the stored hot key", storedKey, DWORD(ctrlAltQ)));
    ASSERT_TRUE(::RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_ALT, 'P')) << ::GetLastError();
    struct Held { ~Held() { ::UnregisterHotKey(nullptr, 1); } } held;
    PressKeys({VK_CONTROL, VK_MENU, 'Q'});
    EXPECT_TRUE(BarAt(work.left));
    expectRefused(confirm(ctrlAltQ, ctrlAltP), ctrlAltP, ctrlAltQ, ctrlAltQ);

    // The default held by another program as Pairmate starts: it starts
    // quietly; Settings left with that key saves what else changed, and
    // takes the key once it is free.
    app.Stop();
    ASSERT_TRUE(app.StartWithStandIn());
    EXPECT_TRUE(app.NoMessageBoxWithin(1500));
    for (DWORD autoMinimize : {0, 1}) {
        if (autoMinimize) ::UnregisterHotKey(nullptr, 1);
        app.Command(32771);
        HWND dialog = app.WaitForWindow("#32770", std::string());
        ClickButton(::GetDlgItem(dialog, 1001));
        ClickButton(::GetDlgItem(dialog, IDOK));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); })) << "Settings stayed open";
        DWORD stored = DWORD(-1);
        EXPECT_TRUE(ReadStoredDword("AutoMinimized", stored) && stored == autoMinimize) << stored;
        EXPECT_EQ(DWORD(ctrlAltP), storedKey());
    }
    ::SetForegroundWindow(other);
    ASSERT_TRUE(KeysReach(other));
    PressKeys({VK_CONTROL, VK_MENU, 'P'});
    EXPECT_TRUE(BarAt(work.left));
    ::DestroyWindow(other);
}
