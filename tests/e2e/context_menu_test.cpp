// The bar's right-click menus in the running program, read from the screen:
// which menu opens in which bar state, its items in order with their icons
// and separators, the submenus, and commands chosen from the keyboard.
//
// The items are read from the menu's pixels (MenuScreen).
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/MenuScreen.h"
#include "e2e/ScreenImage.h"

namespace {

// Another program in the foreground (Wine's Notepad), ended with the test.
class ForegroundProgram {
public:
    ForegroundProgram()
    {
        char command[] = "notepad.exe";
        STARTUPINFOA si = {};
        si.cb = sizeof(si);
        if (!::CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &m_pi)) return;
        WaitFor([&] {
            HWND hwnd = ::GetForegroundWindow();
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid != m_pi.dwProcessId) return false;
            m_window = hwnd;
            return true;
        });
    }
    ~ForegroundProgram()
    {
        if (!m_pi.hProcess) return;
        ::TerminateProcess(m_pi.hProcess, 0);
        ::WaitForSingleObject(m_pi.hProcess, 5000);
        ::CloseHandle(m_pi.hThread);
        ::CloseHandle(m_pi.hProcess);
    }
    ForegroundProgram(const ForegroundProgram&) = delete;
    ForegroundProgram& operator=(const ForegroundProgram&) = delete;

    HWND Window() const { return m_window; }

private:
    PROCESS_INFORMATION m_pi = {};
    HWND m_window = nullptr;
};

class ContextMenuTest : public ::testing::Test {
protected:
    PairmateProcess app;
    MenuScreen menus{app};

    void SetUp() override { ASSERT_TRUE(app.StartWithStandIn()); }

    void PostKey(HWND menu, WPARAM key)
    {
        ::PostMessageA(menu, WM_KEYDOWN, key, 1);
        ::PostMessageA(menu, WM_KEYUP, key, 0xC0000001);
    }
    // A mnemonic typed into the open menu.
    void PostChar(HWND menu, char ch)
    {
        ::PostMessageA(menu, WM_CHAR, static_cast<WPARAM>(ch), 1);
    }
};

} // namespace

TEST_F(ContextMenuTest, MinimisedBarOffersItsMenuAndMaximiseSlidesTheBarOut)
{
    ForegroundProgram other;
    ASSERT_NE(nullptr, other.Window()) << "Notepad did not come to the foreground";

    menus.RightClickHandle();
    HWND menu = menus.WaitForMenu(1);
    ASSERT_NE(nullptr, menu) << "no menu opened";

    menus.ExpectItems("menu of the minimised bar", menu, {{"最大化(&M)"}, {"設定(&S)..."}, {"バージョン情報(&A)..."}, {"終了(&X)"}}, 2,
                {"実行(&E)", "最小化(&C)"});
    SaveScreenshotIfAsked("context_menu_minimised");

    EXPECT_EQ(app.Bar(), ::GetForegroundWindow()) << "the menu brings the bar to the foreground";

    // The owner-drawn items answer their mnemonics through the drawer.
    PostChar(menu, 'm');
    RECT work = WorkAreaRect();
    EXPECT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == work.left; }))
        << "the bar is at " << WindowRect(app.Bar()).left;
    EXPECT_EQ(work.right - work.left, WindowRect(app.Bar()).right - WindowRect(app.Bar()).left);
    EXPECT_TRUE(menus.OpenMenus().empty());
}

TEST_F(ContextMenuTest, MaximisedBarOffersItsMenuWithBothPathSubmenus)
{
    app.Command(kMaximize);
    RECT work = WorkAreaRect();
    ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == work.left; }));

    menus.RightClickHandle();
    HWND menu = menus.WaitForMenu(1);
    ASSERT_NE(nullptr, menu) << "no menu opened";
    menus.ExpectItems("menu of the maximised bar", menu,
                {{"実行(&E)"}, {"最小化(&C)"}, {"比較ファイル１", false}, {"比較ファイル２", false},
                 {"設定(&S)..."}, {"バージョン情報(&A)..."}, {"終了(&X)"}},
                4, {"最大化(&M)"});

    // Down to the first path submenu (separators are passed over) and into
    // it: its first item is highlighted, as is the item that opened it.
    for (int i = 0; i < 3; ++i) PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RIGHT);
    HWND submenu = menus.WaitForMenu(2);
    ASSERT_NE(nullptr, submenu) << "the submenu did not open";
    menus.ExpectItems("first submenu", submenu, {{"ファイル(&F)...", true, true}, {"フォルダ(&D)..."}}, 0);
    EXPECT_LT(WindowRect(menu).left, WindowRect(submenu).left);
    menus.ExpectItems("first submenu's item highlighted", menu,
                {{"実行(&E)"}, {"最小化(&C)"}, {"比較ファイル１", false, true}, {"比較ファイル２", false},
                 {"設定(&S)..."}, {"バージョン情報(&A)..."}, {"終了(&X)"}},
                4);
    SaveScreenshotIfAsked("context_menu_maximised");

    // Esc closes the submenu only (once its window is gone, the menu takes
    // keys again); the second path's submenu is the next item.
    PostKey(submenu, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(submenu) && menus.OpenMenus().size() == 1; }));
    PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RIGHT);
    submenu = menus.WaitForMenu(2);
    ASSERT_NE(nullptr, submenu) << "the second submenu did not open";
    menus.ExpectItems("second submenu", submenu, {{"ファイル(&F)...", true, true}, {"フォルダ(&D)..."}}, 0);
    menus.ExpectItems("second submenu's item highlighted", menu,
                {{"比較ファイル１", false}, {"比較ファイル２", false, true}, {"設定(&S)..."}}, 4);
    PostKey(submenu, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(submenu) && menus.OpenMenus().size() == 1; }));

    // "最小化(&C)" slides the bar back in.
    PostChar(menu, 'c');
    EXPECT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == work.right - 15; }))
        << "the bar is at " << WindowRect(app.Bar()).left;
    EXPECT_TRUE(menus.OpenMenus().empty());
}
