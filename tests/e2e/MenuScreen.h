// The program's open context menus, read from the screen. Another process's
// menu handle cannot be read here (GetMenuItemCount and GetMenuItemInfo fail
// on it), so the items are found in the menu's pixels: each label is drawn in
// this process the way the menu draws it, with the same font and colours, and
// searched for in a capture of the open menu.
#pragma once

#include "e2e/PairmateProcess.h"
#include "e2e/ScreenImage.h"
#include "framework/Gdi.h"

#include <string>
#include <vector>

// An item as the menu should show it: its label (in this process's code
// page), whether an icon shows beside it, and whether it is highlighted.
struct MenuItemView {
    std::string label;
    bool icon = true;
    bool highlighted = false;
};

class MenuScreen {
public:
    explicit MenuScreen(const PairmateProcess& app);

    // A right click on the bar's handle (its own surface, no control there).
    void RightClickHandle() const;
    // The open menu windows of the program, the first opened first.
    std::vector<HWND> OpenMenus() const;
    // The menu opened `depth`-th (1: the menu, 2: its submenu); null when
    // none opened.
    HWND WaitForMenu(size_t depth) const;
    // The menu shows `items`: each label once, in this order from top to
    // bottom, with an icon left of it where one belongs and none elsewhere;
    // `separators` etched lines, and none of the `absent` labels.
    void ExpectItems(const char* what, HWND menu, const std::vector<MenuItemView>& items, int separators,
                     const std::vector<std::string>& absent = {}) const;

private:
    ScreenImage Label(const std::string& text, bool highlighted = false) const;
    // Captures the menu once every item shows (the menu paints after it
    // appears), and where each label shows.
    ScreenImage CapturePainted(HWND menu, const std::vector<MenuItemView>& items,
                               std::vector<std::vector<POINT>>& found) const;
    static int CountSeparators(const ScreenImage& shot);

    const PairmateProcess& m_app;
    Font m_font;
    mutable std::vector<HWND> m_opened; // by WaitForMenu, the menu first
};
