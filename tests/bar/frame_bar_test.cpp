// The bar window: styles, placement, sliding, Alt-drag, refits on work-area
// changes, dialog-style keys and painting.
#include <gtest/gtest.h>

#include "bar/BarPictures.h"
#include "bar_test_support.h"
#include "framework/Dpi.h"
#include "framework/Controls.h"
#include "res/resource.h"
#include "support/pump.h"

#include <shellapi.h>

namespace {

const RECT kWorkArea = {0, 0, 1024, 740};

RECT WindowRect(HWND hwnd)
{
    RECT rc{};
    ::GetWindowRect(hwnd, &rc);
    return rc;
}

// Holds Alt down for this thread's GetKeyState while it lives (the key
// state a real Alt press leaves behind), and puts the old state back.
class AltHeld {
public:
    AltHeld()
    {
        ::GetKeyboardState(m_saved);
        BYTE state[256];
        ::memcpy(state, m_saved, sizeof(state));
        state[VK_MENU] = state[VK_LMENU] = 0x80;
        ::SetKeyboardState(state);
    }
    ~AltHeld() { ::SetKeyboardState(m_saved); }
    AltHeld(const AltHeld&) = delete;
    AltHeld& operator=(const AltHeld&) = delete;

private:
    BYTE m_saved[256];
};

// Puts the cursor on a screen point and posts the mouse message a click or
// move there gives the window (client coordinates), then lets the message
// loop deliver it.
void Mouse(HWND hwnd, UINT msg, POINT screen)
{
    ::SetCursorPos(screen.x, screen.y);
    POINT client = screen;
    ::ScreenToClient(hwnd, &client);
    WPARAM buttons = msg == WM_LBUTTONUP ? 0 : MK_LBUTTON;
    ::PostMessageA(hwnd, msg, buttons, MAKELPARAM(client.x, client.y));
    PumpFor(0);
}

// Alt-drags the strip from a point of its handle by `dy` pixels.
void AltDrag(TestBar& bar, int dy)
{
    RECT rc = WindowRect(bar.m_hWnd);
    POINT start = {rc.left + 7, rc.top + 10};
    POINT end = {start.x, start.y + dy};
    AltHeld alt;
    Mouse(bar.m_hWnd, WM_LBUTTONDOWN, start);
    Mouse(bar.m_hWnd, WM_MOUSEMOVE, POINT{start.x, start.y + dy / 2});
    Mouse(bar.m_hWnd, WM_MOUSEMOVE, end);
    Mouse(bar.m_hWnd, WM_LBUTTONUP, end);
}

class BarTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(bar.CreateAndPlace()); }
    WorkAreaScope workArea{kWorkArea};
    TestBar bar;
};

} // namespace

TEST_F(BarTest, PlaceBarRestylesAndPlacesTheMinimisedStrip)
{
    // The system keeps WS_CLIPSIBLINGS on every top-level window.
    EXPECT_EQ(static_cast<LONG_PTR>(WS_POPUP),
              ::GetWindowLongPtrA(bar.m_hWnd, GWL_STYLE) & ~static_cast<LONG_PTR>(WS_CLIPSIBLINGS));
    EXPECT_EQ(static_cast<LONG_PTR>(WS_EX_TOOLWINDOW), ::GetWindowLongPtrA(bar.m_hWnd, GWL_EXSTYLE));
    EXPECT_TRUE(bar.IsBarMinimized());
    EXPECT_EQ((RECT{1009, 0, 2033, 28}), WindowRect(bar.m_hWnd));
    EXPECT_EQ((RECT{0, 0, 1024, 28}), bar.GetClientRect()); // no frame left

    bar.MaximizeBar();
    EXPECT_FALSE(bar.IsBarMinimized());
    EXPECT_EQ((RECT{0, 0, 1024, 28}), WindowRect(bar.m_hWnd));
    bar.MinimizeBar();
    EXPECT_TRUE(bar.IsBarMinimized());
    EXPECT_EQ((RECT{1009, 0, 2033, 28}), WindowRect(bar.m_hWnd));
}

TEST(BarPlacement, TheCreationFrameGoesEvenWhenTheSizeIsAlreadyTheStrips)
{
    WorkAreaScope workArea(kWorkArea);
    TestBar bar;
    ASSERT_TRUE(bar.Create(nullptr, "Pairmate", WS_OVERLAPPEDWINDOW, RECT{1009, 0, 2033, 28}));
    bar.LoadBitmaps(IDB_HANDLE, IDB_HANDLE_ACTIVE, IDB_TILE);
    ASSERT_LT(bar.GetClientRect().right, 1024); // the caption and border take room
    bar.PlaceBar();
    EXPECT_EQ((RECT{1009, 0, 2033, 28}), WindowRect(bar.m_hWnd));
    EXPECT_EQ((RECT{0, 0, 1024, 28}), bar.GetClientRect());
}

TEST_F(BarTest, FollowsAWorkAreaAwayFromTheScreenCorner)
{
    WorkAreaScope::Set(RECT{100, 50, 900, 700});
    bar.SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    EXPECT_EQ((RECT{885, 50, 1685, 78}), WindowRect(bar.m_hWnd));
    bar.MaximizeBar();
    EXPECT_EQ((RECT{100, 50, 900, 78}), WindowRect(bar.m_hWnd));
    // The shell's notification refits the same way, keeping the state.
    WorkAreaScope::Set(RECT{0, 30, 800, 600});
    bar.SendMessage(CFrameBarWnd::kAppBarCallback, ABN_POSCHANGED, 0);
    EXPECT_EQ((RECT{0, 30, 800, 58}), WindowRect(bar.m_hWnd));
}

TEST(BarWorkArea, ShellDesktopViewWhenThereIsOneOtherwiseTheSystemWorkArea)
{
    WorkAreaScope workArea(kWorkArea);
    TestBar bar;
    ASSERT_TRUE(bar.CreateAndPlace());
    EXPECT_EQ(kWorkArea, bar.GetWorkArea()); // no "Program Manager" here

    // A shell's desktop: the first child of the "Program Manager" window.
    WNDCLASSA wc = {};
    wc.lpfnWndProc = ::DefWindowProcA;
    wc.hInstance = ::GetModuleHandleA(nullptr);
    wc.lpszClassName = "Progman";
    ASSERT_TRUE(::RegisterClassA(&wc));
    HWND progman = ::CreateWindowExA(WS_EX_TOOLWINDOW, "Progman", "Program Manager", WS_POPUP, 0, 0, 1024, 768,
                                     nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(nullptr, progman);
    EXPECT_EQ(kWorkArea, bar.GetWorkArea()) << "a Program Manager without a view";
    HWND view = ::CreateWindowExA(0, "STATIC", "", WS_CHILD, 30, 40, 500, 600, progman, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, view);
    EXPECT_EQ((RECT{30, 40, 530, 640}), bar.GetWorkArea());
    bar.RecalcBarPosition();
    EXPECT_EQ((RECT{515, 40, 1015, 68}), WindowRect(bar.m_hWnd));

    ::DestroyWindow(progman);
    ::UnregisterClassA("Progman", wc.hInstance);
    EXPECT_EQ(kWorkArea, bar.GetWorkArea());
}

TEST_F(BarTest, AltDragMovesVerticallyWithinTheScreenTopAndTheWorkAreaBottom)
{
    WorkAreaScope::Set(RECT{0, 40, 1024, 740});
    bar.SendMessage(WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    ASSERT_EQ((RECT{1009, 40, 2033, 68}), WindowRect(bar.m_hWnd));

    AltDrag(bar, 260);
    EXPECT_EQ((RECT{1009, 300, 2033, 328}), WindowRect(bar.m_hWnd));
    EXPECT_TRUE(bar.IsBarMinimized()); // the Alt click did not maximise
    EXPECT_FALSE(bar.IsDragging());
    EXPECT_NE(bar.m_hWnd, ::GetCapture());

    // Sliding keeps the height the drag chose; a work-area change does not.
    bar.MaximizeBar();
    EXPECT_EQ((RECT{0, 300, 1024, 328}), WindowRect(bar.m_hWnd));
    bar.MinimizeBar();
    EXPECT_EQ((RECT{1009, 300, 2033, 328}), WindowRect(bar.m_hWnd));
    bar.SendMessage(CFrameBarWnd::kAppBarCallback, ABN_STATECHANGE, 0); // ignored
    bar.SendMessage(CFrameBarWnd::kAppBarCallback, ABN_FULLSCREENAPP, 1);
    EXPECT_EQ((RECT{1009, 300, 2033, 328}), WindowRect(bar.m_hWnd));
    bar.SendMessage(CFrameBarWnd::kAppBarCallback, ABN_POSCHANGED, 0);
    EXPECT_EQ((RECT{1009, 40, 2033, 68}), WindowRect(bar.m_hWnd));

    // Above the top: the limit is the screen's top, not the work area's.
    AltDrag(bar, -200);
    EXPECT_EQ((RECT{1009, 0, 2033, 28}), WindowRect(bar.m_hWnd));
    // Below the bottom: the strip's bottom edge stops on the work area's.
    AltDrag(bar, 2000);
    EXPECT_EQ((RECT{1009, 712, 2033, 740}), WindowRect(bar.m_hWnd));
    // Another setting (the wallpaper; a theme switch: tests/e2e) keeps the
    // place; a notice that names none refits.
    bar.SendMessage(WM_SETTINGCHANGE, SPI_SETDESKWALLPAPER, 0);
    EXPECT_EQ((RECT{1009, 712, 2033, 740}), WindowRect(bar.m_hWnd));
    bar.SendMessage(WM_SETTINGCHANGE, 0, 0);
    EXPECT_EQ((RECT{1009, 40, 2033, 68}), WindowRect(bar.m_hWnd));

    // A work area lower than the strip: the bottom limit wins over the top.
    WorkAreaScope::Set(RECT{0, 0, 1024, 20});
    ASSERT_EQ(20, bar.GetWorkArea().bottom);
    AltDrag(bar, -100);
    EXPECT_EQ(-8, WindowRect(bar.m_hWnd).top);
}

TEST_F(BarTest, PlainClickMaximisesAndCaptureLossOrEscEndsADrag)
{
    RECT rc = WindowRect(bar.m_hWnd);
    POINT handle = {rc.left + 7, rc.top + 10};
    Mouse(bar.m_hWnd, WM_LBUTTONDOWN, handle);
    Mouse(bar.m_hWnd, WM_LBUTTONUP, handle);
    EXPECT_FALSE(bar.IsBarMinimized());
    EXPECT_EQ((RECT{0, 0, 1024, 28}), WindowRect(bar.m_hWnd));
    EXPECT_FALSE(bar.IsDragging());

    // Another window takes the mouse in the middle of a drag: the drag ends
    // where the strip is and later moves leave it alone.
    {
        AltHeld alt;
        Mouse(bar.m_hWnd, WM_LBUTTONDOWN, POINT{20, 10});
        ASSERT_TRUE(bar.IsDragging());
        Mouse(bar.m_hWnd, WM_MOUSEMOVE, POINT{20, 110});
        ASSERT_EQ(100, WindowRect(bar.m_hWnd).top);
        CStatic other;
        ASSERT_TRUE(other.Create("", WS_POPUP, RECT{0, 0, 10, 10}, nullptr, 0));
        ::SetCapture(other.m_hWnd);
        EXPECT_FALSE(bar.IsDragging());
        ::ReleaseCapture();
        Mouse(bar.m_hWnd, WM_MOUSEMOVE, POINT{20, 310});
        Mouse(bar.m_hWnd, WM_LBUTTONUP, POINT{20, 310});
        EXPECT_EQ(100, WindowRect(bar.m_hWnd).top);
        other.DestroyWindow();

        // Esc lets go of the mouse, which ends the drag the same way.
        Mouse(bar.m_hWnd, WM_LBUTTONDOWN, POINT{20, 110});
        Mouse(bar.m_hWnd, WM_MOUSEMOVE, POINT{20, 210});
        ASSERT_EQ(200, WindowRect(bar.m_hWnd).top);
        ::PostMessageA(bar.m_hWnd, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        PumpFor(0);
        EXPECT_FALSE(bar.IsDragging());
        EXPECT_NE(bar.m_hWnd, ::GetCapture());
        Mouse(bar.m_hWnd, WM_MOUSEMOVE, POINT{20, 310});
        EXPECT_EQ(200, WindowRect(bar.m_hWnd).top);
    }
    EXPECT_FALSE(bar.IsBarMinimized());
}

TEST_F(BarTest, EnterInAChildControlSendsIdok)
{
    HWND edit = ::CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE | WS_TABSTOP, 100, 2, 200, 22, bar.m_hWnd,
                                  reinterpret_cast<HMENU>(600), nullptr, nullptr);
    ASSERT_NE(nullptr, edit);
    ::SetFocus(edit);
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    ::PostMessageA(edit, WM_KEYUP, VK_RETURN, 0xC0000001);
    EXPECT_TRUE(PumpUntil([&] { return bar.okCommands > 0; }));
    EXPECT_EQ(1, bar.okCommands);
}

namespace {

const COLORREF kUnpainted = RGB(255, 0, 255);

// Paints the bar's background into a canvas wider than its client area, so
// that a tile reaching past the right edge shows.
void PaintInto(TestBar& bar, DibCanvas& canvas)
{
    canvas.Fill(kUnpainted);
    EXPECT_EQ(TRUE, bar.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.Dc()), 0));
}

// Compares the canvas at (left, 0) with a whole bitmap.
::testing::AssertionResult ShowsBitmap(const DibCanvas& canvas, int left, HBITMAP bitmap)
{
    BITMAP info = {};
    ::GetObjectA(bitmap, sizeof(info), &info);
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            if (canvas.Pixel(left + x, y) != DibPixel(bitmap, x, y))
                return ::testing::AssertionFailure() << "differs at (" << left + x << ", " << y << ")";
        }
    }
    return ::testing::AssertionSuccess();
}

} // namespace

TEST_F(BarTest, PaintsTheHandleAndTilesAcrossTheClientArea)
{
    CDib handle, active, tile;
    ASSERT_TRUE(handle.Load(::GetModuleHandleA(nullptr), IDB_HANDLE));
    ASSERT_TRUE(active.Load(::GetModuleHandleA(nullptr), IDB_HANDLE_ACTIVE));
    ASSERT_TRUE(tile.Load(::GetModuleHandleA(nullptr), IDB_TILE));
    ASSERT_EQ(1024, bar.GetClientRect().right);

    DibCanvas canvas(1040, 30);
    bar.SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    PaintInto(bar, canvas);
    EXPECT_TRUE(ShowsBitmap(canvas, 0, handle.GetBitmap()));
    EXPECT_TRUE(ShowsBitmap(canvas, 15, tile.GetBitmap()));         // the first tile
    EXPECT_TRUE(ShowsBitmap(canvas, 15 + 84 * 12, tile.GetBitmap())); // the 85th and last, 1023..1034
    for (int y = 0; y < 30; ++y) EXPECT_EQ(kUnpainted, canvas.Pixel(1035, y)) << y;
    for (int x = 0; x < 1035; x += 7) EXPECT_EQ(kUnpainted, canvas.Pixel(x, 28)) << x; // 28 rows high

    bar.SendMessage(WM_ACTIVATEAPP, TRUE, 0);
    PaintInto(bar, canvas);
    EXPECT_TRUE(ShowsBitmap(canvas, 0, active.GetBitmap()));
    EXPECT_FALSE(ShowsBitmap(canvas, 0, handle.GetBitmap()));
    EXPECT_TRUE(ShowsBitmap(canvas, 15, tile.GetBitmap()));
}

TEST_F(BarTest, SwitchingApplicationsRepaintsTheHandleAtOnce)
{
    CDib handle, active;
    ASSERT_TRUE(handle.Load(::GetModuleHandleA(nullptr), IDB_HANDLE));
    ASSERT_TRUE(active.Load(::GetModuleHandleA(nullptr), IDB_HANDLE_ACTIVE));
    bar.MaximizeBar();
    bar.ShowWindow(SW_SHOWNOACTIVATE);
    bar.UpdateWindow();

    // What the screen shows of the handle, read from the window's own DC
    // without letting any other message through in between.
    auto screenShows = [&](const CDib& expected) {
        DibCanvas canvas(15, 28);
        WindowDC dc(bar.m_hWnd);
        ::BitBlt(canvas.Dc(), 0, 0, 15, 28, dc, 0, 0, SRCCOPY);
        return ShowsBitmap(canvas, 0, expected.GetBitmap());
    };
    bar.SendMessage(WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(screenShows(active));
    bar.SendMessage(WM_ACTIVATEAPP, FALSE, 0);
    EXPECT_TRUE(screenShows(handle));
    bar.SendMessage(WM_ACTIVATEAPP, TRUE, 0);
    EXPECT_TRUE(screenShows(active));
}

TEST(BarMissingBitmaps, NoTileLeavesTheStripBesideTheHandleUnpainted)
{
    WorkAreaScope workArea(kWorkArea);
    TestBar bar;
    ASSERT_TRUE(bar.CreateAndPlace(9999));
    DibCanvas canvas(1040, 30);
    PaintInto(bar, canvas); // returns: the tiling did not loop forever
    EXPECT_NE(kUnpainted, canvas.Pixel(0, 0));
    EXPECT_EQ(kUnpainted, canvas.Pixel(15, 5));
    EXPECT_EQ(kUnpainted, canvas.Pixel(500, 5));
}

// Above 100 % the bar draws its pictures from the bitmaps' shapes: at 96 DPI
// the drawings are the bitmaps (in the dark look their dark copies) pixel for
// pixel, elsewhere the shapes scaled; a contrast theme's are in its colours.
TEST(BarPictures, DrawnAt96TheyAreTheBitmapsAndAtOtherDpisTheirShapesScaled)
{
    const struct { Look look; UINT offset; COLORREF edge, grip, active; } looks[] = {
        {Look::Light, 0, RGB(64, 64, 64), RGB(192, 192, 192), RGB(138, 43, 226)},
        {Look::Dark, 4000, RGB(96, 96, 96), RGB(56, 56, 56), RGB(160, 112, 240)},
        {Look::Contrast, 0, ::GetSysColor(COLOR_BTNSHADOW), ::GetSysColor(COLOR_BTNFACE), ::GetSysColor(COLOR_HIGHLIGHT)},
    };
    for (const auto& look : looks)
    for (UINT dpi : {96u, 120u, 144u, 192u}) {
        SCOPED_TRACE(testing::Message() << dpi << " DPI, look " << static_cast<int>(look.look));
        const UINT ids[] = {IDB_HANDLE, IDB_HANDLE_ACTIVE, IDB_TILE};
        Bitmap drawn[] = {Bitmap(DrawBarHandle(dpi, false, look.look)), Bitmap(DrawBarHandle(dpi, true, look.look)),
                          Bitmap(DrawBarTile(dpi, look.look))};
        const int h = AfxScale(28, dpi), line = AfxScale(1, dpi);
        for (int i = 0; i < 3; ++i) {
            CDib loaded;
            ASSERT_TRUE(loaded.Load(::GetModuleHandleA(nullptr), ids[i] + look.offset));
            BITMAP bm = {};
            ASSERT_TRUE(::GetObjectA(drawn[i], sizeof(bm), &bm));
            EXPECT_EQ((RECT{0, 0, AfxScale(loaded.GetSize().cx, dpi), h}), (RECT{0, 0, bm.bmWidth, bm.bmHeight}));
            for (int y = 0; dpi == 96 && look.look != Look::Contrast && y < h; ++y)
                for (int x = 0; x < bm.bmWidth; ++x)
                    ASSERT_EQ(DibPixel(loaded.GetBitmap(), x, y), DibPixel(drawn[i], x, y)) << i << ": " << x << "," << y;
        }
        // Edges `line` thick; the active line under the first bar.
        EXPECT_EQ(look.edge, DibPixel(drawn[2], 0, h - line));
        EXPECT_EQ(look.grip, DibPixel(drawn[0], line, h / 2));
        EXPECT_EQ(look.active, DibPixel(drawn[1], AfxScale(4, dpi), AfxScale(5, dpi) + line));
    }
}

// A new DPI (WM_DPICHANGED) brings the pictures for it and refits the strip
// to them in the same state and place, kept on the work area.
TEST_F(BarTest, ANewDpiRedrawsAndRefitsTheStripInPlace)
{
    bar.MaximizeBar();
    ::SetWindowPos(bar.m_hWnd, nullptr, 0, 100, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar.SendMessage(WM_DPICHANGED, MAKEWPARAM(144, 144), 0);
    EXPECT_EQ((RECT{0, 100, 1024, 142}), WindowRect(bar.m_hWnd)); // the drawn handle's height
    bar.MinimizeBar();
    ::SetWindowPos(bar.m_hWnd, nullptr, 1001, 698, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    bar.SendMessage(WM_DPICHANGED, MAKEWPARAM(192, 192), 0);
    EXPECT_EQ((RECT{994, 684, 2018, 740}), WindowRect(bar.m_hWnd)); // moved up onto the work area
}
