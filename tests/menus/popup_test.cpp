// Real popup menus of a hooked window: the drawer converts them while they
// are open (and draws them), answers a mnemonic, and hands them back plain
// when they close. With PAIRMATE_MENU_SHOTS set to a folder, the open menus
// are also saved there as screenshots (menu_popup0.bmp, menu_popup1.bmp).
#include <gtest/gtest.h>

#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/Handles.h"
#include "framework/WinApp.h"
#include "menus/MenuDrawer.h"
#include "res/resource.h"
#include "support/pump.h"

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

const UINT_PTR kTimerId = 77;

class MenuHost : public CFrameWnd {
public:
    MenuHost() { m_bAutoDelete = false; }
    std::function<void()> onTimer;
    std::vector<UINT> commands;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_TIMER && wParam == kTimerId) {
            if (onTimer) onTimer();
            return 0;
        }
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
    BOOL OnCommand(UINT id, UINT code, HWND control) override
    {
        if (!control) {
            commands.push_back(id);
            return TRUE;
        }
        return CFrameWnd::OnCommand(id, code, control);
    }
};

class CountingDrawer : public CMenuDrawer {
public:
    int draws = 0;
    BOOL OnDrawItem(const DRAWITEMSTRUCT* dis) override
    {
        BOOL drawn = CMenuDrawer::OnDrawItem(dis);
        if (drawn) ++draws;
        return drawn;
    }
};

struct Item {
    UINT type;
    ULONG_PTR data;
    std::string label;
};

std::vector<Item> ReadItems(HMENU menu)
{
    std::vector<Item> items;
    for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
        MENUITEMINFOA info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_STRING;
        char buf[256] = {};
        info.dwTypeData = buf;
        info.cch = sizeof(buf);
        ::GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &info);
        items.push_back({info.fType, info.dwItemData, (info.fType & MFT_OWNERDRAW) ? "" : buf});
    }
    return items;
}

bool AllOwnerDrawn(HMENU menu)
{
    for (const Item& item : ReadItems(menu))
        if (!(item.type & MFT_OWNERDRAW)) return false;
    return ::GetMenuItemCount(menu) > 0;
}

// Writes the whole screen as a 24-bit BMP (for looking at the open menu).
void SaveScreen(const std::string& path)
{
    const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
    WindowDC screen(nullptr);
    MemoryDC mem(screen);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 24;
    void* bits = nullptr;
    Bitmap dib(::CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!dib) return;
    {
        SelectGuard sel(mem, dib);
        ::BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    }
    ::GdiFlush();
    const DWORD stride = ((w * 3 + 3) / 4) * 4, size = stride * h;
    BITMAPFILEHEADER fh = {};
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof(fh) + sizeof(BITMAPINFOHEADER);
    fh.bfSize = fh.bfOffBits + size;
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(&fh, sizeof(fh), 1, f);
        std::fwrite(&bi.bmiHeader, sizeof(BITMAPINFOHEADER), 1, f);
        std::fwrite(bits, size, 1, f);
        std::fclose(f);
    }
}

void MaybeSaveScreen(const char* name)
{
    if (const char* dir = std::getenv("PAIRMATE_MENU_SHOTS")) SaveScreen(std::string(dir) + "\\" + name);
}

// One shown window for the whole suite: taking a shown window down costs
// Wine about two seconds without a window manager.
class PopupMenus : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        host = new MenuHost;
        drawer = new CountingDrawer;
        ASSERT_TRUE(host->Create(nullptr, "MenuHost", WS_OVERLAPPEDWINDOW, RECT{40, 40, 440, 200}));
        host->ShowWindow(SW_SHOW);
        ::SetForegroundWindow(host->m_hWnd);
        drawer->Install(host);
        ASSERT_TRUE(drawer->LoadToolbar(IDR_MENU_TOOLBAR));
    }
    static void TearDownTestSuite()
    {
        ASSERT_TRUE(drawer->IsHooked());
        host->DestroyWindow();
        EXPECT_FALSE(drawer->IsHooked()); // detached when the window went
        delete drawer;
        delete host;
    }
    void SetUp() override
    {
        ASSERT_TRUE(host->IsWindow());
        drawer->draws = 0;
        host->commands.clear();
        menu.Reset(::LoadMenuA(AfxGetResourceHandle(), MAKEINTRESOURCEA(IDR_CONTEXT_MENU)));
        ASSERT_TRUE(menu);
    }
    // Opens `popup` at a screen point and runs `whileOpen` from a timer
    // inside the menu's own loop until it returns true (then EndMenu), or
    // time runs out.
    void Track(HMENU popup, POINT pt, const std::function<bool(int tick)>& whileOpen)
    {
        int tick = 0;
        host->onTimer = [&] {
            if (whileOpen(++tick) || tick > 500) {
                ::KillTimer(host->m_hWnd, kTimerId);
                ::EndMenu();
            }
        };
        ::SetTimer(host->m_hWnd, kTimerId, 20, nullptr);
        ::TrackPopupMenu(popup, TPM_RIGHTBUTTON | TPM_BOTTOMALIGN, pt.x, pt.y, 0, host->m_hWnd, nullptr);
        ::KillTimer(host->m_hWnd, kTimerId);
        host->onTimer = nullptr;
        ::PostMessageA(host->m_hWnd, WM_NULL, 0, 0);
        PumpFor(50);
    }

    static MenuHost* host;
    static CountingDrawer* drawer;
    UniqueMenu menu;
};
MenuHost* PopupMenus::host = nullptr;
CountingDrawer* PopupMenus::drawer = nullptr;

} // namespace

TEST_F(PopupMenus, MinimisedBarMenuIsOwnerDrawnWhileOpenAndPlainAfter)
{
    HMENU popup = ::GetSubMenu(menu, 1);
    const auto before = ReadItems(popup);
    bool convertedWhileOpen = false;
    size_t recordsWhileOpen = 0;
    Track(popup, POINT{300, 400}, [&](int) {
        if (!convertedWhileOpen) {
            convertedWhileOpen = AllOwnerDrawn(popup);
            recordsWhileOpen = drawer->GetRecordCount();
        }
        if (drawer->draws < 6) return false;
        MaybeSaveScreen("menu_popup1.bmp");
        return true;
    });
    EXPECT_TRUE(convertedWhileOpen);
    EXPECT_EQ(6u, recordsWhileOpen);
    EXPECT_GE(drawer->draws, 6);

    const auto after = ReadItems(popup);
    ASSERT_EQ(before.size(), after.size());
    for (size_t i = 0; i < before.size(); ++i) {
        EXPECT_EQ(before[i].type, after[i].type) << i;
        EXPECT_EQ(before[i].label, after[i].label) << i;
        EXPECT_EQ(0u, after[i].data) << i;
    }
    EXPECT_EQ(0u, drawer->GetRecordCount());
    EXPECT_TRUE(drawer->GetConvertedMenus().empty());
    EXPECT_TRUE(host->commands.empty());
}

TEST_F(PopupMenus, SubmenusAreConvertedWhenTheyOpenAndAllAreRestored)
{
    HMENU popup = ::GetSubMenu(menu, 0);
    HMENU file1 = ::GetSubMenu(popup, 3);
    bool keysSent = false, subConverted = false;
    int drawsAtKeys = 0;
    Track(popup, POINT{300, 500}, [&](int) {
        if (!keysSent) {
            if (drawer->draws < 11) return false;
            // Down to "比較ファイル１" (the separator is skipped) and open it.
            for (WPARAM key : {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT}) {
                ::PostMessageA(host->m_hWnd, WM_KEYDOWN, key, 0);
                ::PostMessageA(host->m_hWnd, WM_KEYUP, key, 0xC0000000);
            }
            keysSent = true;
            drawsAtKeys = drawer->draws;
            return false;
        }
        subConverted = subConverted || AllOwnerDrawn(file1);
        if (!subConverted || drawer->draws < drawsAtKeys + 2) return false;
        MaybeSaveScreen("menu_popup0.bmp");
        return true;
    });
    EXPECT_TRUE(subConverted);
    EXPECT_FALSE(AllOwnerDrawn(popup));
    EXPECT_FALSE(AllOwnerDrawn(file1));
    EXPECT_EQ("ファイル(&F)...", ReadItems(file1)[0].label);
    EXPECT_EQ("比較ファイル１", ReadItems(popup)[3].label);
    EXPECT_EQ(0u, drawer->GetRecordCount());
}

// Typing a mnemonic in the open owner-drawn menu chooses its command. (Wine
// still knows the item's text and matches it itself; Windows asks the owner
// with WM_MENUCHAR, which the drawer's OnMenuChar answers: tested directly.)
TEST_F(PopupMenus, MnemonicChoosesTheCommand)
{
    HMENU popup = ::GetSubMenu(menu, 1);
    bool typed = false;
    Track(popup, POINT{300, 400}, [&](int) {
        if (drawer->draws < 6) return false;
        if (!typed) {
            ::PostMessageA(host->m_hWnd, WM_CHAR, 'm', 0);
            typed = true;
        }
        return false; // the menu closes by itself when the command is chosen
    });
    PumpUntil([&] { return !host->commands.empty(); });
    EXPECT_EQ(std::vector<UINT>{ID_BAR_MAXIMIZE}, host->commands);
    EXPECT_FALSE(AllOwnerDrawn(popup));
    EXPECT_EQ(0u, drawer->GetRecordCount());
}
