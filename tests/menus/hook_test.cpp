// Window-procedure hooks on real windows: chains of one and two hooks,
// removal of the older or the newer, swallowed messages, hooks that unhook
// themselves, procedures set after the hooks, and the automatic detaching
// at WM_NCDESTROY.
#include <gtest/gtest.h>

#include "framework/FrameWnd.h"
#include "framework/Wnd.h"
#include "menus/SubclassWnd.h"

#include <string>
#include <vector>

namespace {

const UINT kProbe = WM_APP + 1;
const LRESULT kProcResult = 0x1234;
const LRESULT kNcDestroyResult = 0x4242;

// What the window's own procedure saw.
struct ProcCall {
    UINT msg;
    WPARAM wParam;
    LPARAM lParam;
};
std::vector<ProcCall> g_procCalls;
std::vector<std::string> g_order;      // who saw kProbe, in order
LONG_PTR g_procAtNcDestroy = 0;        // the window procedure while WM_NCDESTROY ran

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kProbe || msg == WM_NCDESTROY) {
        g_procCalls.push_back({msg, wParam, lParam});
        if (msg == kProbe) {
            g_order.push_back("proc");
            return kProcResult;
        }
        g_procAtNcDestroy = ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
        return kNcDestroyResult;
    }
    return ::DefWindowProcA(hwnd, msg, wParam, lParam);
}

class TestHook : public CSubclassWnd {
public:
    explicit TestHook(std::string name) : m_name(std::move(name)) {}
    bool swallow = false;
    bool unhookOnProbe = false;
    std::vector<UINT> seen;
    LRESULT WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(msg);
        if (msg == kProbe) {
            g_order.push_back(m_name);
            if (swallow) return 0x77;
            if (unhookOnProbe) Unhook();
        }
        return CSubclassWnd::WindowProc(hwnd, msg, wParam, lParam);
    }
    bool Saw(UINT msg) const
    {
        for (UINT m : seen)
            if (m == msg) return true;
        return false;
    }

private:
    std::string m_name;
};

// A plain window whose procedure records what reaches it, and a window
// object that only names it (so the hooks sit directly on that procedure).
class HookTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        WNDCLASSA wc = {};
        wc.lpfnWndProc = RecordingProc;
        wc.hInstance = ::GetModuleHandleA(nullptr);
        wc.lpszClassName = "MenusHookTestWindow";
        ::RegisterClassA(&wc);
        hwnd = ::CreateWindowExA(0, wc.lpszClassName, "hooked", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, wc.hInstance, nullptr);
        ASSERT_NE(nullptr, hwnd);
        wnd.m_hWnd = hwnd;
        g_procCalls.clear();
        g_order.clear();
    }
    void TearDown() override
    {
        if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
        wnd.m_hWnd = nullptr;
    }
    LRESULT Probe() { return ::SendMessageA(hwnd, kProbe, 11, 22); }
    LONG_PTR Proc() const { return ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC); }

    HWND hwnd = nullptr;
    CWnd wnd;
};

const LONG_PTR kRecordingProc = reinterpret_cast<LONG_PTR>(&RecordingProc);
const LONG_PTR kHookProc = reinterpret_cast<LONG_PTR>(&HookWndProc);

} // namespace

TEST_F(HookTest, OneHookSeesMessagesAndPassesThemOnUnchanged)
{
    TestHook hook("A");
    ASSERT_TRUE(hook.HookWindow(&wnd));
    EXPECT_EQ(kHookProc, Proc());
    EXPECT_EQ(&hook, GetHookMap().LookupHook(hwnd));
    EXPECT_EQ(&wnd, hook.GetHookedWnd());
    EXPECT_EQ(kRecordingProc, reinterpret_cast<LONG_PTR>(hook.GetOldWndProc()));

    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"A", "proc"}), g_order);
    ASSERT_EQ(1u, g_procCalls.size());
    EXPECT_EQ(kProbe, g_procCalls[0].msg);
    EXPECT_EQ(11u, g_procCalls[0].wParam);
    EXPECT_EQ(22, g_procCalls[0].lParam);

    // Removing the only hook puts the procedure back and drops the entry.
    EXPECT_TRUE(hook.Unhook());
    EXPECT_EQ(kRecordingProc, Proc());
    EXPECT_EQ(nullptr, GetHookMap().LookupHook(hwnd));
    EXPECT_FALSE(hook.IsHooked());
    EXPECT_EQ(nullptr, hook.GetOldWndProc());
    g_order.clear();
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"proc"}), g_order);
}

TEST_F(HookTest, TwoHooksChainNewestFirstAndEitherCanBeRemoved)
{
    TestHook a("A"), b("B");
    ASSERT_TRUE(a.HookWindow(&wnd));
    ASSERT_TRUE(b.HookWindow(&wnd));
    EXPECT_EQ(&b, GetHookMap().LookupHook(hwnd));
    EXPECT_EQ(&a, b.GetNextHook());
    EXPECT_EQ(a.GetOldWndProc(), b.GetOldWndProc());
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"B", "A", "proc"}), g_order);

    // Removing the older hook: B stays head and passes straight on.
    a.Unhook();
    EXPECT_EQ(&b, GetHookMap().LookupHook(hwnd));
    EXPECT_EQ(kHookProc, Proc());
    g_order.clear();
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"B", "proc"}), g_order);

    // Removing the newer hook of a pair: the older one becomes head and the
    // window stays hooked.
    ASSERT_TRUE(a.HookWindow(&wnd)); // now A is newest, B older
    b.Unhook();
    EXPECT_EQ(&a, GetHookMap().LookupHook(hwnd));
    EXPECT_EQ(kHookProc, Proc());
    g_order.clear();
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"A", "proc"}), g_order);
    a.Unhook();
    EXPECT_EQ(kRecordingProc, Proc());
}

TEST_F(HookTest, HookThatReturnsWithoutPassingOnSwallowsTheMessage)
{
    TestHook a("A"), b("B");
    a.HookWindow(&wnd);
    b.HookWindow(&wnd);
    b.swallow = true;
    EXPECT_EQ(0x77, Probe());
    EXPECT_EQ((std::vector<std::string>{"B"}), g_order);
    EXPECT_TRUE(g_procCalls.empty());
    b.Unhook();
    a.Unhook();
}

TEST_F(HookTest, HookThatUnhooksItselfStillPassesThatMessageOn)
{
    TestHook a("A"), b("B");
    a.HookWindow(&wnd);
    b.HookWindow(&wnd);
    b.unhookOnProbe = true;
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"B", "A", "proc"}), g_order);
    EXPECT_EQ(&a, GetHookMap().LookupHook(hwnd));
    EXPECT_EQ(nullptr, b.GetNextHook()); // detached once the message is done
    EXPECT_EQ(nullptr, b.GetOldWndProc());

    a.unhookOnProbe = true; // the last hook
    g_order.clear();
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"A", "proc"}), g_order);
    EXPECT_EQ(kRecordingProc, Proc());
    EXPECT_EQ(nullptr, a.GetOldWndProc());
}

namespace {
WNDPROC g_beforeLater = nullptr;
LRESULT CALLBACK LaterSubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == kProbe) g_order.push_back("later");
    return ::CallWindowProcA(g_beforeLater, hwnd, msg, wParam, lParam);
}
} // namespace

TEST_F(HookTest, LastHookLeavesAProcedureSetAfterItInPlace)
{
    // Somebody subclasses the window after the hooks: removing the last hook
    // must neither cut that procedure out nor lose what it passes on.
    TestHook a("A");
    a.HookWindow(&wnd);
    g_beforeLater = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&LaterSubclassProc)));
    a.Unhook();
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(&LaterSubclassProc), Proc());
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"later", "proc"}), g_order);

    // A hook added now sits where the hooks were, below that procedure.
    a.HookWindow(&wnd);
    g_order.clear();
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"later", "A", "proc"}), g_order);
    EXPECT_EQ(kNcDestroyResult, ::SendMessageA(hwnd, WM_NCDESTROY, 0, 0));
    EXPECT_FALSE(a.IsHooked());
}

TEST_F(HookTest, NcDestroyDetachesEveryHookAndRestoresTheProcedureFirst)
{
    TestHook a("A"), b("B");
    a.HookWindow(&wnd);
    b.HookWindow(&wnd);

    // The message as the window's last: the previous procedure handles it,
    // already back in place, and its result comes back.
    EXPECT_EQ(kNcDestroyResult, ::SendMessageA(hwnd, WM_NCDESTROY, 5, 6));
    EXPECT_EQ(kRecordingProc, g_procAtNcDestroy);
    ASSERT_EQ(1u, g_procCalls.size());
    EXPECT_EQ(5u, g_procCalls[0].wParam);
    EXPECT_EQ(6, g_procCalls[0].lParam);
    EXPECT_FALSE(a.Saw(WM_NCDESTROY));
    EXPECT_FALSE(b.Saw(WM_NCDESTROY));
    for (const TestHook* h : {&a, &b}) {
        EXPECT_FALSE(h->IsHooked());
        EXPECT_EQ(nullptr, h->GetOldWndProc());
    }
    EXPECT_EQ(nullptr, GetHookMap().LookupHook(hwnd));
    EXPECT_EQ(kRecordingProc, Proc());

    // Detached hooks can attach again; a real DestroyWindow detaches too.
    ASSERT_TRUE(a.HookWindow(&wnd));
    ASSERT_TRUE(b.HookWindow(&wnd));
    g_procAtNcDestroy = 0;
    ASSERT_TRUE(::DestroyWindow(hwnd));
    EXPECT_EQ(kRecordingProc, g_procAtNcDestroy);
    EXPECT_FALSE(a.IsHooked());
    EXPECT_FALSE(b.IsHooked());
    EXPECT_EQ(nullptr, GetHookMap().LookupHook(hwnd));
}

TEST_F(HookTest, UnusualCallsAreHarmless)
{
    // Never attached, or nothing to attach to.
    TestHook lone("L");
    EXPECT_TRUE(lone.Unhook());
    EXPECT_FALSE(lone.HookWindow(nullptr));
    CWnd noWindow;
    EXPECT_FALSE(lone.HookWindow(&noWindow));
    EXPECT_FALSE(lone.IsHooked());
    EXPECT_TRUE(GetHookMap().RemoveHook(hwnd, &lone));

    // A hook not in the window's chain is not unlinked from it.
    TestHook a("A");
    a.HookWindow(&wnd);
    EXPECT_TRUE(GetHookMap().RemoveHook(hwnd, &lone));
    EXPECT_EQ(&a, GetHookMap().LookupHook(hwnd));

    // Hooking the same window again does not make the hook its own successor.
    ASSERT_TRUE(a.HookWindow(&wnd));
    EXPECT_EQ(nullptr, a.GetNextHook());
    EXPECT_EQ(kProcResult, Probe());
    EXPECT_EQ((std::vector<std::string>{"A", "proc"}), g_order);
    a.Unhook();

    // A window without hooks that still reaches the hook procedure gets the
    // default handling.
    EXPECT_EQ(::DefWindowProcA(hwnd, WM_GETTEXTLENGTH, 0, 0), HookWndProc(hwnd, WM_GETTEXTLENGTH, 0, 0));
}

TEST_F(HookTest, HookDestroyedWhileAttachedLetsGoOfTheWindow)
{
    {
        TestHook a("A");
        a.HookWindow(&wnd);
        EXPECT_EQ(kHookProc, Proc());
    }
    EXPECT_EQ(nullptr, GetHookMap().LookupHook(hwnd));
    EXPECT_EQ(kRecordingProc, Proc());
    EXPECT_EQ(kProcResult, Probe());
}

TEST(HookOnFrame, FrameObjectKeepsWorkingUnderAHookAndEndsNormally)
{
    // The real arrangement: a framework window object below the hook.
    struct Frame : CFrameWnd {
        Frame() { m_bAutoDelete = false; }
        int probes = 0;
        bool ncDestroyed = false;
        LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
        {
            if (msg == kProbe) return ++probes;
            if (msg == WM_NCDESTROY) ncDestroyed = true;
            return CFrameWnd::WindowProc(msg, wParam, lParam);
        }
    } frame;
    ASSERT_TRUE(frame.Create(nullptr, "HookedFrame", WS_OVERLAPPEDWINDOW, RECT{0, 0, 300, 100}));
    TestHook hook("A");
    ASSERT_TRUE(hook.HookWindow(&frame));
    EXPECT_EQ(1, ::SendMessageA(frame.m_hWnd, kProbe, 0, 0));
    EXPECT_TRUE(hook.Saw(kProbe));
    HWND hwnd = frame.m_hWnd;
    ASSERT_TRUE(frame.DestroyWindow());
    EXPECT_TRUE(frame.ncDestroyed);
    EXPECT_FALSE(hook.IsHooked());
    EXPECT_EQ(nullptr, GetHookMap().LookupHook(hwnd));
    EXPECT_EQ(nullptr, frame.m_hWnd);
}
