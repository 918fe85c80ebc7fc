// The window base: objects attached before the first message, reflection of
// child notifications, the PreTranslateMessage chain and detaching.
#include <gtest/gtest.h>

#include "framework/Controls.h"
#include "framework/Dpi.h"
#include "framework/FrameWnd.h"
#include "framework/WinApp.h"
#include "support/pump.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

class RecordingFrame : public CFrameWnd {
public:
    RecordingFrame() { m_bAutoDelete = false; }
    std::vector<UINT> seen;
    UINT reflectedToParent = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        seen.push_back(msg);
        if (msg == WM_COMMAND && lParam) reflectedToParent = HIWORD(wParam);
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
};

class RecordingCombo : public CComboBox {
public:
    bool sawCreate = false;
    bool takeEditUpdate = true;
    int editUpdates = 0;
    int keyDowns = 0;
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_CREATE) sawCreate = true;
        return CComboBox::WindowProc(msg, wParam, lParam);
    }
    BOOL OnChildNotify(UINT msg, WPARAM wParam, LPARAM, LRESULT* result) override
    {
        if (msg == WM_COMMAND && HIWORD(wParam) == CBN_EDITUPDATE && takeEditUpdate) {
            ++editUpdates;
            *result = 0;
            return TRUE;
        }
        return FALSE;
    }
    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYDOWN) ++keyDowns;
        return FALSE;
    }
};

} // namespace

TEST(Window, ObjectSeesFirstMessagesAndNotificationsAreReflected)
{
    RecordingFrame frame;
    ASSERT_TRUE(frame.Create(nullptr, "FrameTest", WS_OVERLAPPEDWINDOW, RECT{0, 0, 400, 200}));
    ASSERT_EQ(&frame, CWnd::FromHandle(frame.m_hWnd));
    ASSERT_GE(frame.seen.size(), 2u);
    EXPECT_EQ(static_cast<UINT>(WM_GETMINMAXINFO), frame.seen[0]);
    EXPECT_NE(frame.seen.end(), std::find(frame.seen.begin(), frame.seen.end(), static_cast<UINT>(WM_CREATE)));

    RecordingCombo combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN | CBS_AUTOHSCROLL, RECT{0, 0, 200, 100}, &frame, 600));
    EXPECT_TRUE(combo.sawCreate);

    // Typing into the edit part: the combo's object gets the notification
    // first and, having taken it, the parent never sees it.
    frame.ShowWindow(SW_SHOW);
    ::SetFocus(combo.m_hWnd);
    HWND edit = ::GetWindow(combo.m_hWnd, GW_CHILD);
    ASSERT_NE(nullptr, edit);
    ::PostMessageA(edit, WM_KEYDOWN, 'A', 0);
    ::PostMessageA(edit, WM_CHAR, 'a', 0);
    ASSERT_TRUE(PumpUntil([&] { return combo.editUpdates > 0; }));
    EXPECT_EQ(1, combo.keyDowns); // the loop offered the edit's key to its parent's object
    EXPECT_NE(static_cast<UINT>(CBN_EDITUPDATE), frame.reflectedToParent);

    // Declined notifications reach the parent.
    combo.takeEditUpdate = false;
    ::PostMessageA(edit, WM_CHAR, 'b', 0);
    ASSERT_TRUE(PumpUntil([&] { return frame.reflectedToParent == CBN_EDITUPDATE ||
                                       frame.reflectedToParent == CBN_EDITCHANGE; }));

    frame.DestroyWindow();
    EXPECT_EQ(nullptr, frame.m_hWnd);
    EXPECT_EQ(nullptr, combo.m_hWnd); // children are detached with their windows
}

TEST(Window, SubclassAndUnsubclassRestoreTheProcedure)
{
    HWND hwnd = ::CreateWindowExA(0, "STATIC", "x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, hwnd);
    LONG_PTR before = ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC);
    {
        CStatic s;
        ASSERT_TRUE(s.SubclassWindow(hwnd));
        EXPECT_NE(before, ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
        CStatic other;
        EXPECT_FALSE(other.SubclassWindow(hwnd)); // one object per window
        EXPECT_EQ("x", s.GetWindowText());
    } // the object dies first: the window gets its procedure back
    EXPECT_EQ(before, ::GetWindowLongPtrA(hwnd, GWLP_WNDPROC));
    EXPECT_EQ(nullptr, CWnd::FromHandle(hwnd));
    ::DestroyWindow(hwnd);
}

namespace {

// A frame that deletes itself, destroyed from inside one of its own
// handlers, which goes on using the object afterwards (as a handler does
// whose modal dialog or menu was ended by the window's destruction), or
// refusing its own creation.
class SelfClosingFrame : public CFrameWnd {
public:
    explicit SelfClosingFrame(std::vector<std::string>& log, bool refuseCreate = false)
        : m_log(log), m_refuseCreate(refuseCreate) {}
    ~SelfClosingFrame() override { m_log.push_back("deleted"); }

    // A deleted object's memory is filled with a pattern and kept until the
    // next deletion, so that a write into a deleted object shows.
    static void* operator new(size_t size) { return ::operator new(size); }
    static void operator delete(void* block, size_t size)
    {
        ::operator delete(s_freed);
        std::memset(block, 0xDD, size);
        s_freed = block;
        s_freedSize = size;
    }
    static bool FreedBlockUntouched()
    {
        const auto* bytes = static_cast<const unsigned char*>(s_freed);
        return bytes && std::all_of(bytes, bytes + s_freedSize, [](unsigned char b) { return b == 0xDD; });
    }

    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_CREATE && m_refuseCreate) return -1;
        if (msg == WM_APP) {
            ::DestroyWindow(m_hWnd);
            m_log.push_back(m_hWnd ? "handler: still attached" : "handler: detached");
            return 1;
        }
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }

private:
    std::vector<std::string>& m_log;
    bool m_refuseCreate;
    static void* s_freed;
    static size_t s_freedSize;
};
void* SelfClosingFrame::s_freed = nullptr;
size_t SelfClosingFrame::s_freedSize = 0;

} // namespace

TEST(Window, WindowDestroyedInsideItsOwnHandlerOrCreationKeepsTheObjectUntilThoseReturn)
{
    std::vector<std::string> log;
    auto* frame = new SelfClosingFrame(log);
    ASSERT_TRUE(frame->Create(nullptr, "SelfClosing", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100}));
    HWND hwnd = frame->m_hWnd;
    EXPECT_EQ(1, ::SendMessageA(hwnd, WM_APP, 0, 0));
    EXPECT_EQ((std::vector<std::string>{"handler: detached", "deleted"}), log);
    EXPECT_FALSE(::IsWindow(hwnd));

    // Destroyed from outside any of its handlers: deleted at once, as before.
    log.clear();
    frame = new SelfClosingFrame(log);
    ASSERT_TRUE(frame->Create(nullptr, "SelfClosing", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100}));
    ::DestroyWindow(frame->m_hWnd);
    EXPECT_EQ((std::vector<std::string>{"deleted"}), log);

    // Destroyed inside CreateWindowEx: deleted once Create is done with it.
    log.clear();
    frame = new SelfClosingFrame(log, true);
    EXPECT_FALSE(frame->Create(nullptr, "SelfClosing", WS_OVERLAPPEDWINDOW, RECT{0, 0, 200, 100}));
    EXPECT_EQ((std::vector<std::string>{"deleted"}), log);
    EXPECT_TRUE(SelfClosingFrame::FreedBlockUntouched());
}

// Display scaling: 96-DPI lengths at other DPIs, halves away from zero; a
// DPI outside 100 % to 500 % counts as 96. WM_DPICHANGED gives a top-level
// window and its children (a system control too) their DPI.
TEST(Dpi, LengthsScaleAndAWindowKeepsTheDpiItWasToldForItsChildrenToo)
{
    EXPECT_EQ((std::vector<int>{15, 19, 23, 2, -18, -15}), (std::vector<int>{AfxScale(15, 96), AfxScale(15, 120),
              AfxScale(15, 144), AfxScale(1, 144), AfxScale(-12, 144), AfxScale(-12, 120)}));
    for (UINT bad : {0u, 95u, 481u, 100000u}) EXPECT_EQ(96u, AfxUsableDpi(bad)) << bad;

    struct Frame : RecordingFrame {
        UINT changed = 0;
        BOOL OnDpiChanged(UINT dpi) override { changed = dpi; return TRUE; }
    } frame;
    ASSERT_TRUE(frame.Create(nullptr, "dpi", WS_OVERLAPPEDWINDOW));
    CComboBox combo;
    ASSERT_TRUE(combo.Create(WS_CHILD | CBS_DROPDOWN, RECT{0, 0, 100, 100}, &frame, 600));
    for (UINT sent : {144u, 192u, 0u}) {
        frame.SendMessage(WM_DPICHANGED, MAKEWPARAM(sent, sent), 0);
        EXPECT_EQ(AfxUsableDpi(sent), frame.changed);
        EXPECT_EQ(frame.changed, frame.GetDpi());
        EXPECT_EQ(frame.changed, combo.GetDpi());
    }
    frame.DestroyWindow();
}
