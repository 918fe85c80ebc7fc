// The keyboard focus of the running bar, driven with real keys and mouse:
// after a message box, a dialog or a chooser, typing goes on in the box that
// had the focus (or took the chosen path); while only the handle shows no
// key reaches a box; the menu asked for from the keyboard opens at the bar.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "framework/CodePage.h"

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
    SendKey(VK_MENU, false);
    SendMouse(MOUSEEVENTF_LEFTDOWN, from);
    EXPECT_TRUE(WaitFor([&] { return app.CaptureWindow() == app.Bar(); }))
        << "no drag started: the bar at " << WindowRect(app.Bar()).left << ", the capture at "
        << app.CaptureWindow() << ", keys reaching " << KeyTarget() << ", the window under the pointer "
        << ::WindowFromPoint(from) << " (the bar is " << app.Bar() << ")";
    SendMouse(0, {to.x, to.y - 100});
    SendMouse(0, to);
    SendMouse(MOUSEEVENTF_LEFTUP, to);
    SendKey(VK_MENU, true);
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
