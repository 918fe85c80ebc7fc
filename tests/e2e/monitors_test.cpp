// The bar and the monitors: on two monitors side by side (run by
// two_monitors.sh, which says where the second lies) it lives on one of them,
// shows only its handle there while minimised, follows an Alt-drag across and
// starts on the monitor it was left on; on one monitor (the ordinary run) the
// same steps keep it on the screen and store nothing.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "support/rect_print.h"

#include <cstdlib>
#include <string>
#include <vector>

namespace {

constexpr UINT kMinimize = 32777;
constexpr UINT kAbout = 57664;

struct Monitor {
    RECT rect;
    RECT work;
    std::string device;
};

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM list)
{
    MONITORINFOEXA i = {};
    i.cbSize = sizeof(i);
    auto& all = *reinterpret_cast<std::vector<Monitor>*>(list);
    if (::GetMonitorInfoA(monitor, &i)) // the primary first
        all.insert(i.dwFlags & MONITORINFOF_PRIMARY ? all.begin() : all.end(),
                   Monitor{i.rcMonitor, i.rcWork, i.szDevice});
    return TRUE;
}

std::vector<Monitor> Monitors()
{
    std::vector<Monitor> all;
    ::EnumDisplayMonitors(nullptr, nullptr, AddMonitor, reinterpret_cast<LPARAM>(&all));
    return all;
}

// The stored form of a monitor's place.
std::string Place(const RECT& r, const std::string& device)
{
    return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.right) + "," +
           std::to_string(r.bottom) + "," + device;
}

class MonitorsTest : public ::testing::Test {
protected:
    PairmateProcess app;
    std::vector<Monitor> monitors = Monitors();
    // two_monitors.sh names the second monitor's place; the ordinary run has
    // one monitor.
    const char* second = std::getenv("PAIRMATE_SECOND_MONITOR");

    void SetUp() override
    {
        ASSERT_EQ(second ? 2u : 1u, monitors.size());
        if (second) {
            const LONG left = std::string(second) == "RightOf" ? 1024 : -1024;
            ASSERT_EQ((RECT{left, 0, left + 1024, 768}), monitors[1].rect) << second;
        }
        Store(nullptr);
    }
    static void Store(const char* monitor)
    {
        StoredSettings settings;
        settings.fileName = StandInPath();
        settings.hasMonitor = monitor != nullptr;
        settings.monitor = monitor ? monitor : "";
        ResetRegistry(settings);
    }
    // A start with the registry as it is (the stored monitor kept).
    bool Start() { return app.Start() && app.WaitForBar(); }
    // The monitor the bar is expected on: the second where there is one.
    const Monitor& Target() const { return monitors.back(); }
    RECT Bar() const { return WindowRect(app.Bar()); }
    ::testing::AssertionResult BarAt(const RECT& expected) const
    {
        return WaitForValue("the bar's rectangle", [&] { return Bar(); }, expected);
    }
    static RECT Minimised(const Monitor& m, LONG top)
    {
        return RECT{m.work.right - 15, top, m.work.right - 15 + (m.work.right - m.work.left), top + 28};
    }
    // Nothing of the bar at `at`, a point of the monitor beside it: the
    // window there is another's and the pixel the one before the start.
    void ExpectNoBarAt(POINT at, COLORREF before) const
    {
        EXPECT_NE(app.Bar(), ::GetAncestor(::WindowFromPoint(at), GA_ROOT)) << at.x << "," << at.y;
        EXPECT_EQ(before, ScreenPixel(at.x, at.y)) << at.x << "," << at.y;
    }
    POINT Handle() const { return {Bar().left + 7, Bar().top + 14}; }
};

} // namespace

TEST_F(MonitorsTest, MinimisedOnlyTheHandleShowsAndAltDragTakesTheBarAcross)
{
    const Monitor& primary = monitors.front();
    // A point on the other monitor that a bar without a region would cover:
    // its minimised strip's middle, or, where it lies left of the primary,
    // the primary's left part under a bar on the second.
    const POINT beside = {primary.rect.right + 300, 14}, onPrimary = {300, 200};
    const COLORREF besideBefore = ScreenPixel(beside.x, beside.y);
    const COLORREF primaryBefore = ScreenPixel(onPrimary.x, onPrimary.y);

    ASSERT_TRUE(Start());
    ASSERT_TRUE(BarAt(Minimised(primary, primary.work.top)));
    EXPECT_EQ(app.Bar(), ::GetAncestor(::WindowFromPoint(Handle()), GA_ROOT));
    if (second && std::string(second) == "RightOf") ExpectNoBarAt(beside, besideBefore);

    // Alt-drag from the handle to the middle of the other monitor (the
    // right edge of the only one): the grab point 14 pixels below the top.
    const POINT to = {second ? Target().rect.left + 500 : primary.rect.right - 2, 200};
    EXPECT_EQ("", app.AltDrag(Handle(), to));
    ASSERT_TRUE(BarAt(Minimised(Target(), to.y - 14)));
    EXPECT_EQ(app.Bar(), ::GetAncestor(::WindowFromPoint(Handle()), GA_ROOT));
    if (second && std::string(second) == "LeftOf") ExpectNoBarAt(onPrimary, primaryBefore);
    EXPECT_EQ(second ? Place(Target().rect, Target().device) : "(none)", StoredString("Monitor"));

    // A click on the handle maximises across its monitor; Minimise puts the
    // handle back at its right edge; a display change puts it at the top.
    SendMouse(MOUSEEVENTF_LEFTDOWN, Handle());
    SendMouse(MOUSEEVENTF_LEFTUP, Handle());
    ASSERT_TRUE(BarAt(RECT{Target().work.left, to.y - 14, Target().work.right, to.y + 14}));
    app.Command(kMinimize);
    ASSERT_TRUE(BarAt(Minimised(Target(), to.y - 14)));
    ::SendMessageA(app.Bar(), WM_DISPLAYCHANGE, 24, MAKELPARAM(1024, 768));
    ASSERT_TRUE(BarAt(Minimised(Target(), Target().work.top)));

    // Its dialogs open on its monitor.
    app.Command(kAbout);
    HWND about = app.WaitForWindow("#32770", std::string());
    ASSERT_NE(nullptr, about);
    const RECT box = WindowRect(about);
    EXPECT_TRUE(::PtInRect(&Target().work, POINT{(box.left + box.right) / 2, (box.top + box.bottom) / 2})) << box;
    ::PostMessageA(about, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(about); }));

    // The next start finds it where it was left.
    app.Stop();
    ASSERT_TRUE(Start());
    EXPECT_TRUE(BarAt(Minimised(Target(), Target().work.top)));
}

TEST_F(MonitorsTest, StartsOnTheStoredMonitorWhereItIsThereElseOnThePrimary)
{
    const Monitor& m = Target();
    const RECT elsewhere = {5000, 0, 6024, 768};
    const struct {
        std::string stored;
        bool onTarget; // with two monitors; with one, the primary always
    } rows[] = {
        {Place(m.rect, m.device), true},
        {Place(m.rect, "\\\\.\\DISPLAY9"), true}, // the same place under another name
        {Place(elsewhere, m.device), true},       // moved, its name kept
        {Place(elsewhere, "\\\\.\\DISPLAY9"), false},
        {"1024,0,2048", false},
        {"2048,0,1024,768,", false},
        {"", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored);
        Store(row.stored.c_str());
        ASSERT_TRUE(Start());
        const Monitor& expected = second && row.onTarget ? m : monitors.front();
        EXPECT_TRUE(BarAt(Minimised(expected, expected.work.top)));
        app.Stop();
        EXPECT_EQ(row.stored, StoredString("Monitor")) << "a start stores nothing";
    }
}
