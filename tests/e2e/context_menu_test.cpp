// The bar's right-click menus in the running program, read from the screen:
// which menu opens in which bar state, its items in order with their icons
// and separators, the submenus, and commands chosen from the keyboard. And
// every text the user sees, menus included, in the language the system gives
// the program.
//
// Another process's menu handle cannot be read here (GetMenuItemCount and
// GetMenuItemInfo fail on it), so the items are found in the menu's pixels:
// each label is drawn in this process the way the menu draws it, with the
// same font and colours, and searched for in a capture of the open menu.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "e2e/ScreenImage.h"
#include "app/MainFrame.h"
#include "framework/CodePage.h"
#include "framework/Dpi.h"
#include "framework/Gdi.h"
#include "framework/Look.h"
#include "bar/BarPictures.h"
#include "res/version.h"
#include "support/rect_print.h"

#include <algorithm>
#include <iterator>

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
        }, kStartMs);
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

// The brightness of a colour, 0 to 255.
int Luma(COLORREF c) { return (GetRValue(c) * 3 + GetGValue(c) * 6 + GetBValue(c)) / 10; }

// The menu font of the system, as menus use it, for a program at `dpi`
// (this one runs at 96).
Font MenuFont(UINT dpi = kDefaultDpi)
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    ncm.lfMenuFont.lfHeight = AfxScale(ncm.lfMenuFont.lfHeight, dpi);
    return Font(::CreateFontIndirectA(&ncm.lfMenuFont));
}

class ContextMenuTest : public ::testing::Test {
protected:
    PairmateProcess app;
    // The program's display scaling, the menu font at it, and its look.
    UINT dpi = kDefaultDpi;
    Font font = MenuFont();
    Look look = Look::Light;
    COLORREF Color(LookColor color) const { return AfxLookColor(color, look); }

    void SetUp() override { ASSERT_TRUE(app.StartWithStandIn()); }

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
    // The menu opened depth-th: the one not among those opened before (the
    // z-order of menu windows that have just appeared is no safe guide).
    HWND WaitForMenu(size_t depth)
    {
        opened.resize(depth - 1);
        HWND menu = nullptr;
        WaitFor([&] {
            for (HWND open : OpenMenus())
                if (std::find(opened.begin(), opened.end(), open) == opened.end()) menu = open;
            return menu != nullptr;
        });
        if (menu) opened.push_back(menu);
        return menu;
    }
    std::vector<HWND> opened;

    ScreenImage Label(const std::string& text, bool highlighted = false) const
    {
        return highlighted ? ScreenImage::RenderText(text, font, Color(LookColor::HighlightText),
                                                     Color(LookColor::Highlight))
                           : ScreenImage::RenderText(text, font, Color(LookColor::MenuText), Color(LookColor::Menu));
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
            // The image cell: 16 pixels wide (at 96 DPI), left of the text,
            // within the item.
            auto s = [this](int length) { return AfxScale(length, dpi); };
            RECT cell = {at.x - s(24), at.y - s(3), at.x - s(4), at.y + s(13)};
            const COLORREF background = Color(items[i].highlighted ? LookColor::Highlight : LookColor::Menu);
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
    // with a highlight line under it across the menu's width; in the dark
    // look a line of the separator colour over the menu's.
    int CountSeparators(const ScreenImage& shot) const
    {
        const bool dark = look == Look::Dark;
        const COLORREF shadow = dark ? Color(LookColor::Separator) : ::GetSysColor(COLOR_BTNSHADOW);
        const COLORREF light = dark ? Color(LookColor::Menu) : ::GetSysColor(COLOR_BTNHIGHLIGHT);
        const COLORREF menu = Color(LookColor::Menu);
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

// Every text the user can see, in the language the system gives the program:
// Japanese under a Japanese user interface, English under an English one
// (this test again with the locale of code page 1252), both for the program
// as it ships, which runs in UTF-8, and for a copy that runs in the system's
// code page as on Windows before 10 version 1903. Texts are read through the
// Unicode functions in the order of the table and compared in one loop; the
// menus are found in their pixels.
namespace {

struct Text {
    const wchar_t* ja;
    const wchar_t* en;
};

// In the order read: each dialog's caption, its control texts from top to
// bottom, and its tooltips; the bar's tooltips; a message of Compare.
const Text kTexts[] = {
    {L"初期設定", L"Initial Setup"},
    {L"Pairmateを利用するために必要な設定を行います。\n\n※誤った設定を行うと正常に動作しない場合がありますので、ご注意ください。",
     L"Pairmate needs the setting below to work.\n\nPlease take care: with a wrong setting Pairmate may not work "
     L"properly."},
    {L"Windiffの設定", L"WinDiff"},
    {L"ファイル名：", L"File name:"},
    {L"参照(&V)...", L"&Browse..."},
    {L"※「Windiff.exe」のパス名を取得できませんでした。\n\n・[参照]ボタンをクリックして、「Windiff.exe」のファイル名を設定して"
     L"ください。\n・ファイル名の表示領域にドラッグアンドドロップで指定することもできます。",
     L"Pairmate could not find the path of windiff.exe.\n\n- Click Browse to choose the windiff.exe file.\n- Or drag "
     L"the file onto the file name field above."},
    {L"OK", L"OK"},
    {L"キャンセル", L"Cancel"},
    {L"Windiffの実行ファイル名を設定します。", L"Chooses the WinDiff program file."},
    {L"指定された設定を保存して、ウィンドウを閉じます。", L"Saves the settings and closes the window."},
    {L"処理をキャンセルして、Pairmateを終了します。", L"Cancels the setup and quits Pairmate."},

    {L"設定", L"Settings"},
    {L"Windiffの設定", L"WinDiff"},
    {L"ファイル名：", L"File name:"},
    {L"インストール済み(&I)", L"&Installed"},
    {L"参照(&V)...", L"&Browse..."},
    {L"引数：", L"Arguments:"},
    {L"%1 %2", L"%1 %2"}, // the arguments in force: WinDiff's
    {L"その他", L"Options"},
    {L"Windiffを実行した後、最小化する。(&M)", L"&Minimize after starting WinDiff"},
    {L"ホットキー", L"Hot key"},
    {L"履歴", L"History"},
    {L"履歴をクリアするには、[履歴のクリア]ボタンをクリックしてください。\n\n※一度クリアすると元には戻せません。",
     L"To clear both path histories, click Clear History.\n\nThis cannot be undone."},
    {L"履歴をクリア(&C)", L"&Clear History"},
    {L"OK", L"OK"},
    {L"キャンセル", L"Cancel"},
    {L"指定された設定を保存して、ウィンドウを閉じます。", L"Saves the settings and closes the window."},
    {L"設定をキャンセルします。", L"Closes the window without saving the settings."},
    {L"履歴をクリアします。", L"Clears both path histories."},
    {L"Windiffの実行ファイル名を設定します。", L"Chooses the WinDiff program file."},
    {L"Windiffを実行した後に最小化するかのON/OFFを設定します。", L"Turns minimizing after starting WinDiff on or off."},

    {L"バージョン情報", L"About Pairmate"},
    {L"OK", L"OK"},
    {L"Pairmate", L"Pairmate"},
    {L"version " PAIRMATE_VERSION_TEXT, L"version " PAIRMATE_VERSION_TEXT},
    {L"Copyright (C) Velmora", L"Copyright (C) Velmora"},
    {L"E-mail ： ", L"E-mail:"},
    {L"pairmate@example.com", L"pairmate@example.com"},
    {L"URL ：", L"URL:"},
    {L"http://www.example.org/pairmate/", L"http://www.example.org/pairmate/"},

    {L"終了", L"Exit"},
    {L"最小化", L"Minimize"},
    {L"バージョン情報", L"About Pairmate"},
    {L"設定", L"Settings"},
    {L"WinDiffを実行", L"Compare in WinDiff"},
    {L"比較ファイル１の設定", L"Choose a file for path 1"},
    {L"比較フォルダ１の設定", L"Choose a folder for path 1"},
    {L"比較ファイル２の設定", L"Choose a file for path 2"},
    {L"比較フォルダ２の設定", L"Choose a folder for path 2"},
    {L"比較ファイル１", L"Path 1"}, // the path boxes' names for screen readers
    {L"比較ファイル２", L"Path 2"},

    {L"Pairmate", L"Pairmate"},
    {L"比較ファイル１が設定されていません。", L"Path 1 is not set."},
};

// The context menus: the minimised bar's, the maximised bar's, the first
// path's submenu.
const Text kMinimisedMenu[] = {
    {L"最大化(&M)", L"&Maximize"}, {L"設定(&S)...", L"&Settings..."},
    {L"バージョン情報(&A)...", L"&About Pairmate..."}, {L"終了(&X)", L"E&xit"}};
const Text kMaximisedMenu[] = {
    {L"実行(&E)", L"&Compare"}, {L"最小化(&C)", L"Mi&nimize"}, {L"比較ファイル１", L"Path &1"},
    {L"比較ファイル２", L"Path &2"}, {L"設定(&S)...", L"&Settings..."},
    {L"バージョン情報(&A)...", L"&About Pairmate..."}, {L"終了(&X)", L"E&xit"}};
const Text kPathMenu[] = {{L"ファイル(&F)...", L"&File..."}, {L"フォルダ(&D)...", L"Fol&der..."}};

// The parameter: the copy in the system's code page (else the program).
class TextsTest : public ContextMenuTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override {}
    const bool english = ::GetACP() != 932;
    TempFolder temp;
    std::string log = temp.Path() + "\\standin.log";
    std::string program = GetParam() ? ClassicCopy(temp.Path()) : BinDir() + "\\pairmate.exe";
    std::vector<std::wstring> seen;

    // A dialog's caption, its controls' texts from top to bottom, and the
    // tooltips of `tipped`; every control lies inside the dialog. Icons and
    // the WinDiff file name field show no text of the program's.
    void ReadDialog(HWND dialog, const std::vector<int>& tipped)
    {
        ASSERT_NE(nullptr, dialog);
        seen.push_back(WindowTextW(dialog));
        RECT client = {};
        ::GetClientRect(dialog, &client);
        ::MapWindowPoints(dialog, nullptr, reinterpret_cast<POINT*>(&client), 2);
        std::vector<std::pair<RECT, HWND>> controls;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            RECT rc = WindowRect(child), both = {};
            ::IntersectRect(&both, &rc, &client);
            EXPECT_TRUE(::EqualRect(&both, &rc)) << ToAnsi(WindowTextW(child)) << " lies outside its dialog";
            const bool icon = WindowClass(child) == "Static" &&
                              (::GetWindowLongPtrA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            const int id = ::GetDlgCtrlID(child);
            if (!icon && id != kPathField && id != 1006 && !WindowTextW(child).empty()) controls.push_back({rc, child});
        }
        std::sort(controls.begin(), controls.end(), [](const auto& a, const auto& b) {
            return a.first.top != b.first.top ? a.first.top < b.first.top : a.first.left < b.first.left;
        });
        for (const auto& control : controls) seen.push_back(WindowTextW(control.second));
        for (int id : tipped) seen.push_back(app.HoverTip(CentreOf(::GetDlgItem(dialog, id))));
    }
    template <size_t N>
    std::vector<Item> Items(const Text (&texts)[N]) const
    {
        std::vector<Item> items;
        for (const Text& text : texts) items.push_back({ToAnsi(english ? text.en : text.ja)});
        return items;
    }
    // Esc closes the open menus, the newest first.
    void CloseMenus()
    {
        for (size_t open = OpenMenus().size(); open > 0; --open) {
            ASSERT_TRUE(WaitFor([&] { return app.HasKeyboard(); })) << "the program is not in the foreground";
            PressKeys({VK_ESCAPE});
            ASSERT_TRUE(WaitFor([&] { return OpenMenus().size() < open; }));
        }
    }
};

} // namespace

TEST_P(TextsTest, EveryTextOfTheDialogsBarMenusAndMessagesIsInTheSystemsLanguage)
{
    ASSERT_FALSE(program.empty());
    StoredSettings settings;
    settings.hasFileName = false;
    ResetRegistry(settings);
    ASSERT_TRUE(app.Start(log, program));
    ASSERT_TRUE(app.WaitForBar());
    HWND setup = app.WaitForWindow("#32770", std::string());
    ReadDialog(setup, {kBrowse, IDOK, IDCANCEL});
    ClickButton(::GetDlgItem(setup, IDCANCEL));
    ASSERT_TRUE(app.WaitForExit(kWaitMs));
    app.Stop();

    settings.hasFileName = true;
    settings.fileName = StandInPath();
    ResetRegistry(settings);
    ASSERT_TRUE(app.Start(log, program));
    ASSERT_TRUE(app.WaitForBar());
    RightClickHandle();
    ExpectItems("minimised bar's menu", WaitForMenu(1), Items(kMinimisedMenu), 2);
    CloseMenus();

    // Settings, then About: each with the tooltips it has, left by its button.
    for (const auto& opened : {std::make_pair(32771, std::vector<int>{IDOK, IDCANCEL, 1002, kBrowse, 1001}),
                               std::make_pair(57664, std::vector<int>{})}) {
        app.Command(opened.first);
        HWND dialog = app.WaitForWindow("#32770", std::string());
        ReadDialog(dialog, opened.second);
        for (HWND link : {::GetDlgItem(dialog, 1008), ::GetDlgItem(dialog, 1009)}) // the About box's links
            if (link) { EXPECT_EQ(WindowTextW(link), AccessibleName(link)); }
        ClickButton(::GetDlgItem(dialog, opened.second.empty() ? IDOK : IDCANCEL));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
    }

    app.Command(kMaximize);
    ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == WorkAreaRect().left; }));
    for (int toolbar : {500, 501, 502}) {
        RECT rc = WindowRect(app.Control(toolbar));
        for (int button = 0; button < (toolbar == 500 ? 5 : 2); ++button) {
            seen.push_back(app.HoverTip({rc.left + 23 * button + 11, (rc.top + rc.bottom) / 2}));
            EXPECT_EQ(seen.back(), AccessibleName(app.Control(toolbar), button + 1)) << "button " << button;
        }
    }
    for (int box : {kPath1, kPath2}) seen.push_back(AccessibleName(app.Control(box)));
    RightClickHandle();
    HWND menu = WaitForMenu(1);
    std::vector<Item> items = Items(kMaximisedMenu);
    items[2].icon = items[3].icon = false; // the submenus
    ExpectItems("maximised bar's menu", menu, items, 4);
    ASSERT_TRUE(WaitFor([&] { return app.HasKeyboard(); })) << "the program is not in the foreground";
    for (WORD key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) PressKeys({key});
    items = Items(kPathMenu);
    items[0].highlighted = true; // opened from the keyboard
    ExpectItems("path submenu", WaitForMenu(2), items, 0);
    CloseMenus();

    app.PressEnterIn(kPath1);
    MessageBoxInfo box;
    ASSERT_TRUE(app.WaitForMessageBox(box));
    seen.push_back(WindowTextW(box.hwnd));
    for (HWND child = ::GetWindow(box.hwnd, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) == "Static" && !WindowTextW(child).empty()) seen.push_back(WindowTextW(child));
    }
    ASSERT_TRUE(app.DismissMessageBox(box));

    ASSERT_EQ(std::size(kTexts), seen.size());
    for (size_t i = 0; i < seen.size(); ++i)
        EXPECT_EQ(english ? kTexts[i].en : kTexts[i].ja, seen[i]) << "text " << i;
}

INSTANTIATE_TEST_SUITE_P(ProgramAndClassicCopy, TextsTest, ::testing::Values(false, true));

// The running program at 100 %, 125 %, 150 % and 200 % (Wine gives a program
// the DPI of LogPixels as it starts): the bar, its menus and dialogs are laid
// out for it, every text fits its control, each menu label shows whole with
// its picture, and the bar takes a new DPI as Windows announces it.
namespace {

class ScalingTest : public TextsTest {
protected:
    int S(int length) const { return AfxScale(length, dpi); }
    RECT ChildRect(int id) const
    {
        RECT rc = WindowRect(app.Control(id));
        ::MapWindowPoints(nullptr, app.Bar(), reinterpret_cast<POINT*>(&rc), 2);
        return rc;
    }
    // The strip with its left edge at `left`, and its toolbars and path boxes
    // where the layout rule puts them at `at` DPI (a box is as high as its edit).
    void ExpectBar(LONG left, UINT at) const
    {
        const RECT work = WorkAreaRect();
        const int width = work.right - work.left, height = AfxScale(28, at);
        ASSERT_TRUE(WaitForValue("the bar", [&] { return WindowRect(app.Bar()); },
                                 RECT{left, work.top, left + width, work.top + height}));
        const auto l = CMainFrame::ComputeLayout(width, AfxScale(15, at), height, at);
        const std::pair<int, RECT> places[] = {
            {500, l.toolbarMain}, {600, l.combo1}, {501, l.toolbar1}, {601, l.combo2}, {502, l.toolbar2}};
        for (auto place : places) {
            if (place.first >= 600) place.second.bottom = ChildRect(place.first).bottom;
            EXPECT_EQ(place.second, ChildRect(place.first)) << place.first << " at " << at << " DPI";
        }
    }
    // Every text of a dialog fits its control in the dialog font at the DPI
    // (9-point "ＭＳ Ｐゴシック", in English 8-point "MS Shell Dlg"): a
    // static's wrapped, a button's on one line beside its frame or check box.
    void ExpectTextsFit(HWND dialog) const
    {
        ASSERT_NE(nullptr, dialog);
        Font dialogFont(::CreateFontW(-static_cast<int>((english ? 8 : 9) * dpi / 72), 0, 0, 0, 0, FALSE, FALSE, FALSE,
                                      DEFAULT_CHARSET, 0, 0, PROOF_QUALITY, 0, english ? L"MS Shell Dlg" : L"ＭＳ Ｐゴシック"));
        DibCanvas canvas(1, 1);
        SelectGuard select(canvas.Dc(), dialogFont);
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            const std::wstring text = WindowTextW(child);
            const LONG_PTR style = ::GetWindowLongPtrA(child, GWL_STYLE);
            const bool button = WindowClass(child) == "Button";
            const int id = ::GetDlgCtrlID(child);
            if (text.empty() || id == kPathField || id == 1006 || (!button && (style & SS_TYPEMASK) == SS_ICON)) continue;
            RECT client = {}, need = {};
            ::GetClientRect(child, &client);
            const int reserve = button ? S((style & BS_TYPEMASK) == BS_AUTOCHECKBOX ? 16 : 6) : 0;
            need.right = client.right - reserve;
            ::DrawTextW(canvas.Dc(), text.c_str(), -1, &need, DT_CALCRECT | (button ? DT_SINGLELINE : DT_WORDBREAK));
            EXPECT_TRUE(need.right + reserve <= client.right && need.bottom <= client.bottom) << ToAnsi(text);
        }
    }
    bool AnnounceDpi(UINT newDpi)
    { return ::SendMessageTimeoutA(app.Bar(), WM_DPICHANGED, MAKEWPARAM(newDpi, newDpi), 0, 0, kWaitMs, nullptr); }

    // The slid-out strip shows the look's pictures for its DPI pixel for
    // pixel: the handle (in either state), and the tile's column in the gap
    // between the main toolbar and the first icon box.
    bool ShowsBarPictures() const
    {
        const RECT bar = WindowRect(app.Bar());
        const ScreenImage shot = ScreenImage::Capture(RECT{bar.left, bar.top, bar.left + S(147), bar.top + S(28)});
        auto shows = [&](HBITMAP picture, int at, int width) {
            MemoryDC mem(nullptr);
            SelectGuard select(mem, picture);
            for (int y = 0; y < shot.Height(); ++y)
                for (int x = 0; x < width; ++x)
                    if (shot.Pixel(at + x, y) != ::GetPixel(mem, x, y)) return false;
            return true;
        };
        Bitmap tile(DrawBarTile(dpi, look)), inactive(DrawBarHandle(dpi, false, look)), active(DrawBarHandle(dpi, true, look));
        return !shot.Empty() && shows(tile, S(146), 1) && (shows(inactive, 0, S(15)) || shows(active, 0, S(15)));
    }
    // A dialog in the look: the path field in its colour, and a static's
    // text standing out from the face (which the dark look makes dark).
    void ExpectDialogLook(HWND dialog) const
    {
        HWND label = ::FindWindowExA(dialog, nullptr, "Static", english ? "File name:" : "ファイル名：");
        ASSERT_NE(nullptr, label);
        const RECT field = WindowRect(::GetDlgItem(dialog, kPathField));
        EXPECT_TRUE(WaitForValue("the path field", [&] { return ScreenPixel(field.left + 2, field.top + 2); },
                                 Color(LookColor::Field)));
        const ScreenImage shot = ScreenImage::Capture(WindowRect(label));
        const COLORREF face = Color(LookColor::Face);
        int text = 0;
        for (int y = 0; y < shot.Height(); ++y)
            for (int x = 0; x < shot.Width(); ++x) text += std::abs(Luma(shot.Pixel(x, y)) - Luma(face)) > 100;
        EXPECT_EQ(face, shot.Pixel(shot.Width() - 1, 0));
        EXPECT_GT(text, 10);
        EXPECT_TRUE(look != Look::Dark || Luma(face) < 64);
    }
};

} // namespace

TEST_P(ScalingTest, BarMenusAndDialogsAreLaidOutForTheDisplaysDpiAndEveryTextFits)
{
    // The dialogs and menus are as much larger than at 96 DPI (the first
    // round) as the DPI is, give or take 15 %; the path box grows with its
    // font (its frame does not).
    std::vector<SIZE> at96, sizes;
    LONG box96 = 0;
    // The part of path box 1's icon box (at `at` DPI, inside its frame) in
    // which the drive root's icon differs from the empty box.
    auto driveIcon = [&](UINT at) {
        const RECT work = WorkAreaRect(), bar = WindowRect(app.Bar());
        RECT box = CMainFrame::ComputeLayout(work.right - work.left, AfxScale(15, at), AfxScale(28, at), at).icon1;
        ::SetRect(&box, bar.left + box.left + 1, bar.top + box.top + 1, bar.left + box.right - 1, bar.top + box.bottom - 1);
        ScreenImage shown[2];
        for (const char* text : {"C:\\", "", "C:\\"}) { // the first has the box painted anew
            const int on = *text != 0;
            app.SetComboText(kPath1, text);
            EXPECT_TRUE(WaitFor([&] { return (ScreenPixel(box.left - 1, box.top - 1) == RGB(128, 128, 128)) == on; }));
            shown[on] = ScreenImage::Capture(box);
        }
        RECT drawn = {box.right - box.left, box.bottom - box.top, 0, 0};
        for (LONG y = 0; y < shown[1].Height(); ++y)
            for (LONG x = 0; x < shown[1].Width(); ++x)
                if (shown[1].Pixel(x, y) != shown[0].Pixel(x, y))
                    drawn = {std::min(drawn.left, x), std::min(drawn.top, y), std::max(drawn.right, x + 1), std::max(drawn.bottom, y + 1)};
        return drawn;
    };
    auto measure = [&](HWND window) {
        const RECT rc = WindowRect(window);
        sizes.push_back(SIZE{rc.right - rc.left, rc.bottom - rc.top});
    };
    auto dialog = [&](HWND window, int closing) {
        ExpectTextsFit(window);
        measure(window);
        ClickButton(::GetDlgItem(window, closing));
        return WaitFor([&] { return !::IsWindow(window); });
    };
    for (UINT scaling : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(testing::Message() << scaling << " DPI");
        ScopedLogPixels logPixels(scaling);
        dpi = scaling;
        font = MenuFont(dpi);
        sizes.clear();
        app.Stop(); // the round before's
        StoredSettings settings;
        settings.hasFileName = false;
        settings.history1 = {"C:\\one", "C:\\two"};
        ResetRegistry(settings);
        ASSERT_TRUE(app.Start());
        HWND setup = app.WaitForWindow("#32770", std::string(), kStartMs);
        ::SendMessageA(::GetDlgItem(setup, kPathField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(StandInPath().c_str()));
        ASSERT_TRUE(dialog(setup, IDOK) && app.WaitForBar());
        for (UINT command : {32771u, 57664u}) {
            app.Command(command);
            ASSERT_TRUE(dialog(app.WaitForWindow("#32770", std::string()), command == 32771 ? IDCANCEL : IDOK));
        }
        const RECT work = WorkAreaRect();
        for (bool minimised : {true, false}) {
            ExpectBar(minimised ? work.right - S(15) : work.left, dpi);
            // The pointer under no menu item (one would be lit), and staying.
            ASSERT_TRUE(WaitFor([&] { return HoldCursorAt(work.left, work.bottom - 1); }));
            RightClickHandle();
            HWND menu = WaitForMenu(1);
            std::vector<Item> items = Items(kMaximisedMenu);
            if (minimised) items = Items(kMinimisedMenu);
            else items[2].icon = items[3].icon = false; // the submenus
            ExpectItems("the bar's menu", menu, items, minimised ? 2 : 4);
            measure(menu);
            CloseMenus();
            app.Command(kMaximize);
        }
        const LONG box = ChildRect(kPath1).bottom - ChildRect(kPath1).top;
        EXPECT_GE(box, box96 + S(12) - 12);
        for (size_t i = 0; !at96.empty() && i < sizes.size(); ++i) {
            EXPECT_NEAR(dpi / 96.0, double(sizes[i].cx) / at96[i].cx, 0.15 * dpi / 96) << i;
            EXPECT_NEAR(dpi / 96.0, double(sizes[i].cy) / at96[i].cy, 0.15 * dpi / 96) << i;
        }
        if (dpi == 144) {
            // On a display of 100 % the shell's icons, made for the system's
            // 150 %, show whole at two thirds (1 pixel inside the frame at
            // 150 %, none at 100 %), and so do the About box's links.
            const RECT at150 = driveIcon(144);
            ASSERT_TRUE(AnnounceDpi(96));
            ExpectBar(work.left, 96);
            const RECT at100 = driveIcon(96);
            for (LONG RECT::*edge : {&RECT::left, &RECT::top, &RECT::right, &RECT::bottom})
                EXPECT_NEAR(std::min(15.0, (at150.*edge - 1) * 2 / 3.0), at100.*edge, 1) << at150 << " " << at100;
            app.Command(57664);
            HWND link = ::GetDlgItem(app.WaitForWindow("#32770", std::string()), 1009);
            const double wide = WindowRect(link).right - WindowRect(link).left;
            ASSERT_TRUE(::SendMessageTimeoutA(::GetParent(link), WM_DPICHANGED, MAKEWPARAM(96, 96), 0, 0, kWaitMs, nullptr));
            EXPECT_NEAR(wide * 2 / 3, WindowRect(link).right - WindowRect(link).left, wide / 10);
            ClickButton(::GetDlgItem(::GetParent(link), IDOK));
            ASSERT_TRUE(WaitFor([&] { return !::IsWindow(link); }));
        }
        if (dpi != kDefaultDpi) continue;
        at96 = sizes;
        box96 = box;
        // Windows announces a new DPI with WM_DPICHANGED (Wine sends none):
        // the bar is laid out for 150 %, then, slid away, for 100 % again,
        // and keeps its texts, list and focus.
        app.SetComboText(kPath2, "C:\\three");
        const HWND focus = app.FocusWindow();
        ASSERT_TRUE(AnnounceDpi(144));
        ExpectBar(work.left, 144);
        app.Command(32777); // Minimise
        ExpectBar(work.right - 23, 144);
        ASSERT_TRUE(AnnounceDpi(96));
        ExpectBar(work.right - 15, 96);
        app.Command(kMaximize);
        ExpectBar(work.left, 96);
        EXPECT_EQ("C:\\three", app.ComboText(kPath2));
        EXPECT_EQ((std::vector<std::string>{"C:\\one", "C:\\two"}), app.ComboItems(kPath1));
        EXPECT_TRUE(WaitForValue("the focus", [&] { return app.FocusWindow(); }, focus));
    }
}

// The dark look at 100 % and 150 %: the strip in its dark pictures (the grip
// shows), its menu and Settings dark with light texts; a switch to the light
// look and back while the program runs, announced as Windows announces it,
// which keeps the strip's place, the texts and the open dialog; and the
// light look, for the value 1 and for none, the pictures it always had.
TEST_P(ScalingTest, TheDarkLookAtTwoScalingsAndASwitchWhileRunningAndTheLightLookUnchanged)
{
    const struct { UINT dpi; std::optional<DWORD> mode; } rounds[] = {{96, std::nullopt}, {96, 1}, {144, 0}, {96, 0}};
    for (const auto& round : rounds) {
        SCOPED_TRACE(testing::Message() << round.dpi << " DPI, app mode " << (round.mode ? std::to_string(*round.mode) : "none"));
        ScopedLogPixels logPixels(round.dpi);
        ScopedAppMode mode(round.mode);
        dpi = round.dpi;
        look = round.mode == DWORD(0) ? Look::Dark : Look::Light;
        font = MenuFont(dpi);
        app.Stop();
        ASSERT_TRUE(app.StartWithStandIn());
        const RECT work = WorkAreaRect();
        app.Command(kMaximize);
        ExpectBar(work.left, dpi);
        EXPECT_TRUE(WaitFor([&] { return ShowsBarPictures(); }));
        if (look == Look::Light) continue;
        // Dark, with a grip that shows (a bar lighter than the grip), and
        // dark path boxes.
        const ScreenImage handle = ScreenImage::Capture(WindowRect(app.Bar()));
        EXPECT_GT(Luma(handle.Pixel(S(5), S(5))) - Luma(handle.Pixel(S(5), S(8))), 80);
        EXPECT_LT(Luma(handle.Pixel(S(5), S(8))), 80);
        const RECT edit = WindowRect(app.ComboEdit(kPath1));
        EXPECT_TRUE(WaitForValue("the path box", [&] { return ScreenPixel(edit.right - 2, edit.bottom - 2); },
                                 Color(LookColor::Field)));
        ASSERT_TRUE(WaitFor([&] { return HoldCursorAt(work.left, work.bottom - 1); }));
        RightClickHandle();
        std::vector<Item> items = Items(kMaximisedMenu);
        items[2].icon = items[3].icon = false; // the submenus
        ExpectItems("the bar's menu", WaitForMenu(1), items, 4);
        CloseMenus();
        app.Command(32771);
        HWND settings = app.WaitForWindow("#32770", std::string());
        ExpectDialogLook(settings);
        if (dpi == kDefaultDpi) {
            // After a message box over it, the dialog keeps its own colours,
            // the hot-key field its light ones.
            HWND hotKey = ::GetDlgItem(settings, 1010);
            ::SendMessageA(::GetDlgItem(settings, kPathField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(""));
            ClickButton(::GetDlgItem(settings, IDOK));
            MessageBoxInfo box;
            ASSERT_TRUE(app.WaitForMessageBox(box, kWaitMs, settings) && app.DismissMessageBox(box));
            ::RedrawWindow(hotKey, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
            EXPECT_TRUE(WaitForValue("the hot-key field", [&] { return ScreenPixel(WindowRect(hotKey).right - 3, WindowRect(hotKey).top + 3); },
                                     ::GetSysColor(COLOR_WINDOW)));
            ExpectDialogLook(settings);
            // Switched while Settings is open, with the strip moved down (as
            // by an Alt-drag) and a path typed.
            app.SetComboText(kPath1, "C:\\one");
            ::SetWindowPos(app.Bar(), nullptr, work.left, 300, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            for (DWORD value : {1, 0}) {
                ScopedAppMode again(value);
                look = value ? Look::Light : Look::Dark;
                ASSERT_TRUE(::SendMessageTimeoutA(app.Bar(), WM_SETTINGCHANGE, 0,
                                                  reinterpret_cast<LPARAM>("ImmersiveColorSet"), 0, kWaitMs, nullptr));
                EXPECT_TRUE(WaitFor([&] { return ShowsBarPictures(); }));
                ExpectDialogLook(settings);
                EXPECT_EQ(300, WindowRect(app.Bar()).top);
            }
            EXPECT_EQ("C:\\one", app.ComboText(kPath1));
        }
        ClickButton(::GetDlgItem(settings, IDCANCEL));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(settings); }));
    }
}

// The program as it ships.
INSTANTIATE_TEST_SUITE_P(Program, ScalingTest, ::testing::Values(false));
