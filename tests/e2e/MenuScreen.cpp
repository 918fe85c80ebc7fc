#include "e2e/MenuScreen.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// The menu font of the system, as menus use it.
Font MenuFont()
{
    NONCLIENTMETRICSA ncm = {};
    ncm.cbSize = sizeof(ncm);
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0);
    return Font(::CreateFontIndirectA(&ncm.lfMenuFont));
}

} // namespace

MenuScreen::MenuScreen(const PairmateProcess& app) : m_app(app), m_font(MenuFont()) {}

void MenuScreen::RightClickHandle() const
{
    ::PostMessageA(m_app.Bar(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(5, 10));
    ::PostMessageA(m_app.Bar(), WM_RBUTTONUP, 0, MAKELPARAM(5, 10));
}

std::vector<HWND> MenuScreen::OpenMenus() const
{
    std::vector<HWND> menus;
    for (HWND hwnd : m_app.Windows()) {
        if (WindowClass(hwnd) == "#32768" && ::IsWindowVisible(hwnd)) menus.push_back(hwnd);
    }
    // EnumWindows lists the topmost (newest) first.
    return std::vector<HWND>(menus.rbegin(), menus.rend());
}

HWND MenuScreen::WaitForMenu(size_t depth) const
{
    // The menus opened before are known: a new one is the one that is not
    // among them (the z-order of menu windows that have just appeared is no
    // safe guide).
    m_opened.resize(depth - 1);
    HWND menu = nullptr;
    WaitFor([&] {
        for (HWND open : OpenMenus()) {
            if (std::find(m_opened.begin(), m_opened.end(), open) == m_opened.end()) menu = open;
        }
        return menu != nullptr;
    });
    if (menu) m_opened.push_back(menu);
    return menu;
}

ScreenImage MenuScreen::Label(const std::string& text, bool highlighted) const
{
    return highlighted ? ScreenImage::RenderText(text, m_font, ::GetSysColor(COLOR_HIGHLIGHTTEXT),
                                                 ::GetSysColor(COLOR_HIGHLIGHT))
                       : ScreenImage::RenderText(text, m_font, ::GetSysColor(COLOR_MENUTEXT),
                                                 ::GetSysColor(COLOR_MENU));
}

ScreenImage MenuScreen::CapturePainted(HWND menu, const std::vector<MenuItemView>& items,
                                       std::vector<std::vector<POINT>>& found) const
{
    ScreenImage shot;
    WaitFor([&] {
        shot = ScreenImage::Capture(WindowRect(menu));
        found.clear();
        bool all = true;
        for (const MenuItemView& item : items) {
            found.push_back(shot.FindAll(Label(item.label, item.highlighted)));
            all = all && !found.back().empty();
        }
        return all;
    });
    return shot;
}

void MenuScreen::ExpectItems(const char* what, HWND menu, const std::vector<MenuItemView>& items, int separators,
                             const std::vector<std::string>& absent) const
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
int MenuScreen::CountSeparators(const ScreenImage& shot)
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
