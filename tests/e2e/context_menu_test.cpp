// The bar's right-click menus in the running program, read from the screen:
// which menu opens in which bar state, its items in order with their icons
// and separators, the submenus, and commands chosen from the keyboard.
//
// Another process's menu handle cannot be read here (GetMenuItemCount and
// GetMenuItemInfo fail on it), so the items are found in the menu's pixels:
// each label is drawn in this process the way the menu draws it, with the
// same font and colours, and searched for in a capture of the open menu.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/ScreenImage.h"
#include "framework/Gdi.h"

namespace {


// An item as the menu should show it: its label, whether an icon shows
// beside it, and whether it is the highlighted item.
struct Item {
    std::string label;
    bool icon = true;
    bool highlighted = false;
};

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

// The menu font of the system, as menus use it.
Font MenuFont()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    return Font(::CreateFontIndirectA(&ncm.lfMenuFont));
}

class ContextMenuTest : public ::testing::Test {
protected:
    PairmateProcess app;
    Font font = MenuFont();

    void SetUp() override
    {
        StoredSettings settings;
        settings.fileName = StandInPath();
        ResetRegistry(settings);
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.WaitForBar());
    }

    // A right click on the bar's handle (its own surface, no control there).
    void RightClickHandle()
    {
        ::PostMessageA(app.Bar(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 10));
        ::PostMessageA(app.Bar(), WM_RBUTTONUP, 0, MAKELPARAM(5, 10));
    }

    // The open menu windows of the program, the first opened first.
    std::vector<HWND> OpenMenus() const
    {
        std::vector<HWND> menus;
        for (HWND hwnd : app.Windows()) {
            if (WindowClass(hwnd) == "#32768" && ::IsWindowVisible(hwnd)) menus.push_back(hwnd);
        }
        // EnumWindows lists the topmost (newest) first.
        return std::vector<HWND>(menus.rbegin(), menus.rend());
    }
    HWND WaitForMenu(size_t depth)
    {
        HWND menu = nullptr;
        WaitFor([&] {
            std::vector<HWND> menus = OpenMenus();
            if (menus.size() < depth) return false;
            menu = menus[depth - 1];
            return true;
        });
        return menu;
    }

    ScreenImage Label(const std::string& text, bool highlighted = false) const
    {
        return highlighted ? ScreenImage::RenderText(text, font, ::GetSysColor(COLOR_HIGHLIGHTTEXT),
                                                     ::GetSysColor(COLOR_HIGHLIGHT))
                           : ScreenImage::RenderText(text, font, ::GetSysColor(COLOR_MENUTEXT),
                                                     ::GetSysColor(COLOR_MENU));
    }

    // Captures the menu once every item shows (the menu paints after it
    // appears), and where each label shows.
    ScreenImage CapturePainted(HWND menu, const std::vector<Item>& items, std::vector<std::vector<POINT>>& found)
    {
        ScreenImage shot;
        WaitFor([&] {
            shot = ScreenImage::Capture(WindowRect(menu));
            found.clear();
            bool all = true;
            for (const Item& item : items) {
                found.push_back(shot.FindAll(Label(item.label, item.highlighted)));
                all = all && !found.back().empty();
            }
            return all;
        });
        return shot;
    }

    // The menu shows `items`: each label once, in this order from top to
    // bottom, with an icon left of it where one belongs and none elsewhere;
    // `separators` etched lines, and none of the `absent` labels.
    void ExpectItems(const char* what, HWND menu, const std::vector<Item>& items, int separators,
                     const std::vector<std::string>& absent = {})
    {
        SCOPED_TRACE(what);
        std::vector<std::vector<POINT>> found;
        ScreenImage shot = CapturePainted(menu, items, found);
        LONG lastTop = -1;
        for (size_t i = 0; i < items.size(); ++i) {
            SCOPED_TRACE(items[i].label);
            ASSERT_EQ(1u, found[i].size());
            POINT at = found[i][0];
            EXPECT_GT(at.y, lastTop) << "out of order";
            lastTop = at.y;
            // The image cell: 16 pixels wide, left of the text, within the item.
            RECT cell = {at.x - 24, at.y - 3, at.x - 4, at.y + 13};
            const COLORREF background = ::GetSysColor(items[i].highlighted ? COLOR_HIGHLIGHT : COLOR_MENU);
            int inked = shot.CountOtherThan(background, cell);
            if (items[i].icon)
                EXPECT_GT(inked, 20) << "no icon beside the item";
            else
                EXPECT_EQ(0, inked) << "an icon where none belongs";
        }
        EXPECT_EQ(separators, CountSeparators(shot));
        for (const std::string& label : absent) EXPECT_TRUE(shot.FindAll(Label(label)).empty()) << label;
    }

    // Etched separators: inside an item of the menu's colour, a shadow line
    // with a highlight line under it across the menu's width.
    static int CountSeparators(const ScreenImage& shot)
    {
        const COLORREF shadow = ::GetSysColor(COLOR_BTNSHADOW), light = ::GetSysColor(COLOR_BTNHIGHLIGHT);
        const COLORREF menu = ::GetSysColor(COLOR_MENU);
        int count = 0;
        for (int y = 1; y + 1 < shot.Height(); ++y) {
            bool line = shot.Pixel(shot.Width() / 2, y - 1) == menu;
            for (int x = 5; line && x < shot.Width() - 5; ++x)
                line = shot.Pixel(x, y) == shadow && shot.Pixel(x, y + 1) == light;
            if (line) ++count;
        }
        return count;
    }

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

    RightClickHandle();
    HWND menu = WaitForMenu(1);
    ASSERT_NE(nullptr, menu) << "no menu opened";

    ExpectItems("menu of the minimised bar", menu, {{"最大化(&M)"}, {"設定(&S)..."}, {"バージョン情報(&A)..."}, {"終了(&X)"}}, 2,
                {"実行(&E)", "最小化(&C)"});
    SaveScreenshotIfAsked("context_menu_minimised");

    EXPECT_EQ(app.Bar(), ::GetForegroundWindow()) << "the menu brings the bar to the foreground";

    // The owner-drawn items answer their mnemonics through the drawer.
    PostChar(menu, 'm');
    RECT work = WorkAreaRect();
    EXPECT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == work.left; }))
        << "the bar is at " << WindowRect(app.Bar()).left;
    EXPECT_EQ(work.right - work.left, WindowRect(app.Bar()).right - WindowRect(app.Bar()).left);
    EXPECT_TRUE(OpenMenus().empty());
}

TEST_F(ContextMenuTest, MaximisedBarOffersItsMenuWithBothPathSubmenus)
{
    app.Command(kMaximize);
    RECT work = WorkAreaRect();
    ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == work.left; }));

    RightClickHandle();
    HWND menu = WaitForMenu(1);
    ASSERT_NE(nullptr, menu) << "no menu opened";
    ExpectItems("menu of the maximised bar", menu,
                {{"実行(&E)"}, {"最小化(&C)"}, {"比較ファイル１", false}, {"比較ファイル２", false},
                 {"設定(&S)..."}, {"バージョン情報(&A)..."}, {"終了(&X)"}},
                4, {"最大化(&M)"});

    // Down to the first path submenu (separators are passed over) and into
    // it: its first item is highlighted, as is the item that opened it.
    for (int i = 0; i < 3; ++i) PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RIGHT);
    HWND submenu = WaitForMenu(2);
    ASSERT_NE(nullptr, submenu) << "the submenu did not open";
    ExpectItems("first submenu", submenu, {{"ファイル(&F)...", true, true}, {"フォルダ(&D)..."}}, 0);
    EXPECT_LT(WindowRect(menu).left, WindowRect(submenu).left);
    ExpectItems("first submenu's item highlighted", menu,
                {{"実行(&E)"}, {"最小化(&C)"}, {"比較ファイル１", false, true}, {"比較ファイル２", false},
                 {"設定(&S)..."}, {"バージョン情報(&A)..."}, {"終了(&X)"}},
                4);
    SaveScreenshotIfAsked("context_menu_maximised");

    // Esc closes the submenu only (once its window is gone, the menu takes
    // keys again); the second path's submenu is the next item.
    PostKey(submenu, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(submenu) && OpenMenus().size() == 1; }));
    PostKey(menu, VK_DOWN);
    PostKey(menu, VK_RIGHT);
    submenu = WaitForMenu(2);
    ASSERT_NE(nullptr, submenu) << "the second submenu did not open";
    ExpectItems("second submenu", submenu, {{"ファイル(&F)...", true, true}, {"フォルダ(&D)..."}}, 0);
    ExpectItems("second submenu's item highlighted", menu,
                {{"比較ファイル１", false}, {"比較ファイル２", false, true}, {"設定(&S)..."}}, 4);
    PostKey(submenu, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(submenu) && OpenMenus().size() == 1; }));

    // "最小化(&C)" slides the bar back in.
    PostChar(menu, 'c');
    EXPECT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == work.right - 15; }))
        << "the bar is at " << WindowRect(app.Bar()).left;
    EXPECT_TRUE(OpenMenus().empty());
}
