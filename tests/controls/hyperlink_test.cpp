// The hyperlink static: attaching, colours and underline per state, the
// leave timer, fitting to the text, opening targets (through the shell and
// through the ".htm" program of the test's own registry) and the error
// messages.
#include <gtest/gtest.h>

#include "controls/HyperLink.h"
#include "framework/FrameWnd.h"
#include "framework/Handles.h"
#include "support/modal_script.h"
#include "support/pump.h"

#include <fstream>
#include <sstream>

namespace {

class Parent : public CFrameWnd {
public:
    Parent() { m_bAutoDelete = false; }
};

class HyperLinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Shown without activation: Wine without a window manager takes
        // seconds to hide an active window.
        ASSERT_TRUE(parent.Create(nullptr, "HyperLinkTest", WS_POPUP, RECT{100, 100, 600, 300}));
        parent.ShowWindow(SW_SHOWNOACTIVATE);
        font.Reset(::CreateFontA(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial"));
    }
    void TearDown() override
    {
        if (parent.IsWindow()) parent.DestroyWindow();
    }

    HWND MakeStatic(const char* text, DWORD style = 0, int x = 10, int y = 10, int w = 200, int h = 30)
    {
        HWND hwnd = ::CreateWindowExA(0, "STATIC", text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent.m_hWnd,
                                      reinterpret_cast<HMENU>(1008), nullptr, nullptr);
        ::SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.Get()), FALSE);
        return hwnd;
    }

    // The colours the parent's WM_CTLCOLORSTATIC gives the link now.
    COLORREF TextColour(CHyperLink& link)
    {
        MemoryDC dc(nullptr);
        ::SetTextColor(dc, RGB(1, 2, 3));
        auto brush = reinterpret_cast<HBRUSH>(
            parent.SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc.Get()), reinterpret_cast<LPARAM>(link.m_hWnd)));
        EXPECT_EQ(::GetStockObject(NULL_BRUSH), brush);
        EXPECT_EQ(TRANSPARENT, ::GetBkMode(dc));
        return ::GetTextColor(dc);
    }

    static bool Underlined(const CHyperLink& link)
    {
        LOGFONTA lf = {};
        ::GetObjectA(reinterpret_cast<HFONT>(link.SendMessage(WM_GETFONT)), sizeof(lf), &lf);
        return lf.lfUnderline != 0;
    }

    // Moves the pointer over the link (centre) and tells it, as a real
    // mouse move would.
    static void Enter(CHyperLink& link)
    {
        RECT rc = link.GetWindowRect();
        ASSERT_TRUE(MoveCursorTo((rc.left + rc.right) / 2, (rc.top + rc.bottom) / 2));
        link.PostMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        ASSERT_TRUE(PumpUntil([&] { return link.IsHovering() == TRUE; }));
    }

    static constexpr POINT kAway = {900, 700};
    static void LeaveWithoutMouseMessage() { ASSERT_TRUE(MoveCursorTo(kAway.x, kAway.y)); }
    // The pointer leaves and the link notices, by its timer.
    static bool LeftByTimer(const CHyperLink& link)
    {
        LeaveWithoutMouseMessage();
        return PumpUntil([&] { return HoldCursorAt(kAway.x, kAway.y) && !link.IsHovering(); });
    }

    // Runs the thread's messages until the link stops hovering and counts
    // the ticks of its timer handled until then, since the pointer was last
    // put away (-1: it went on hovering). Counted in ticks, not in time,
    // which a loaded machine stretches.
    static int TimerTicksUntilLeft(const CHyperLink& link)
    {
        int ticks = 0;
        const DWORD start = ::GetTickCount();
        while (link.IsHovering() && ::GetTickCount() - start < kWaitMs) {
            if (!HoldCursorAt(kAway.x, kAway.y)) ticks = 0;
            MSG msg;
            if (!::PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
                continue;
            }
            ticks += msg.message == WM_TIMER && msg.hwnd == link.m_hWnd;
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
        }
        return link.IsHovering() ? -1 : ticks;
    }

    Parent parent;
    Font font;
};

const COLORREF kBlue = RGB(0, 0, 238);
const COLORREF kPurple = RGB(85, 26, 139);
const COLORREF kRed = RGB(255, 0, 0);

} // namespace

TEST_F(HyperLinkTest, AttachingTakesTextAndTargetFromEachOther)
{
    CHyperLink fromText;
    ASSERT_TRUE(fromText.SubclassWindow(MakeStatic("http://www.example.org/")));
    EXPECT_EQ("http://www.example.org/", fromText.GetUrl());
    EXPECT_TRUE(::GetWindowLongPtrA(fromText.m_hWnd, GWL_STYLE) & SS_NOTIFY);

    CHyperLink fromUrl;
    fromUrl.SetUrl("mailto:someone@example.com");
    ASSERT_TRUE(fromUrl.SubclassWindow(MakeStatic("", 0, 10, 60)));
    EXPECT_EQ("mailto:someone@example.com", fromUrl.GetWindowText());

    // The tooltip shows the target and follows it.
    ASSERT_NE(nullptr, fromText.GetToolTip());
    auto tipText = [&](CHyperLink& link) {
        char buffer[1024] = {};
        TTTOOLINFOA ti = {};
        ti.cbSize = TTTOOLINFOA_V2_SIZE;
        ti.hwnd = link.m_hWnd;
        ti.uId = 1;
        ti.lpszText = buffer;
        ::SendMessageA(link.GetToolTip(), TTM_GETTEXTA, sizeof(buffer), reinterpret_cast<LPARAM>(&ti));
        return std::string(buffer);
    };
    EXPECT_EQ(1, ::SendMessageA(fromText.GetToolTip(), TTM_GETTOOLCOUNT, 0, 0));
    EXPECT_EQ("http://www.example.org/", tipText(fromText));
    fromText.SetUrl("http://www.example.org/other");
    EXPECT_EQ("http://www.example.org/other", tipText(fromText));

    // A link always shows a hand: winhlp32.exe's, or the system's.
    ASSERT_NE(nullptr, fromText.GetHandCursor());
    EXPECT_TRUE(fromText.SendMessage(WM_SETCURSOR, reinterpret_cast<WPARAM>(fromText.m_hWnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(fromText.GetHandCursor(), ::GetCursor());

    // A very long target is no trouble.
    std::string longUrl = "http://www.example.org/" + std::string(20000, 'a');
    fromUrl.SetUrl(longUrl);
    EXPECT_EQ(longUrl, fromUrl.GetUrl());
    HWND tip = fromText.GetToolTip();
    fromText.DestroyWindow();
    EXPECT_FALSE(::IsWindow(tip)); // the tooltip goes with its link
}

TEST_F(HyperLinkTest, ColoursAndUnderlineFollowThePointerAndLeaveByTimer)
{
    CHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("http://www.example.org/")));
    LeaveWithoutMouseMessage();
    EXPECT_EQ(kBlue, TextColour(link));
    EXPECT_FALSE(Underlined(link));

    Enter(link);
    EXPECT_EQ(kRed, TextColour(link));
    EXPECT_TRUE(Underlined(link));
    // The timer finds the pointer still inside and changes nothing.
    const POINT inside = {(link.GetWindowRect().left + link.GetWindowRect().right) / 2,
                          (link.GetWindowRect().top + link.GetWindowRect().bottom) / 2};
    const DWORD entered = ::GetTickCount();
    PumpUntil([&] {
        HoldCursorAt(inside.x, inside.y);
        return ::GetTickCount() - entered >= 3 * CHyperLink::kHoverTimerPeriod;
    });
    EXPECT_TRUE(link.IsHovering());

    // The pointer goes away; no mouse message reaches the link, the timer
    // notices at its next tick.
    LeaveWithoutMouseMessage();
    const int ticks = TimerTicksUntilLeft(link);
    ASSERT_NE(-1, ticks) << "the link went on hovering";
    EXPECT_LE(ticks, 2);
    EXPECT_EQ(kBlue, TextColour(link));
    EXPECT_FALSE(Underlined(link));

    link.SetVisited(TRUE);
    EXPECT_EQ(kPurple, TextColour(link));
    Enter(link);
    EXPECT_EQ(kRed, TextColour(link));
    ASSERT_TRUE(LeftByTimer(link));
    EXPECT_EQ(kPurple, TextColour(link));
}

TEST_F(HyperLinkTest, UnderlineModesAlwaysAndNever)
{
    CHyperLink always, never;
    ASSERT_TRUE(always.SubclassWindow(MakeStatic("always", 0, 10, 10)));
    ASSERT_TRUE(never.SubclassWindow(MakeStatic("never", 0, 10, 60)));
    always.SetUnderlineMode(1);
    never.SetUnderlineMode(0);
    LeaveWithoutMouseMessage();
    EXPECT_TRUE(Underlined(always));
    EXPECT_FALSE(Underlined(never));

    Enter(always);
    ASSERT_TRUE(LeftByTimer(always));
    EXPECT_TRUE(Underlined(always)); // stays underlined after leaving

    Enter(never);
    EXPECT_FALSE(Underlined(never));
    EXPECT_EQ(kRed, TextColour(never)); // but still turns red
    ASSERT_TRUE(LeftByTimer(never));
    EXPECT_FALSE(Underlined(never));

    // A mode chosen before attaching holds once attached.
    CHyperLink preset;
    preset.SetUnderlineMode(1);
    ASSERT_TRUE(preset.SubclassWindow(MakeStatic("preset", 0, 10, 110)));
    EXPECT_EQ(1, preset.GetUnderlineMode());
    EXPECT_TRUE(Underlined(preset));
}

TEST_F(HyperLinkTest, FitsToTheTextInEachAlignment)
{
    // The text measured as the link measures it: underlined font.
    LOGFONTA lf = {};
    ::GetObjectA(font.Get(), sizeof(lf), &lf);
    lf.lfUnderline = TRUE;
    Font underline(::CreateFontIndirectA(&lf));
    SIZE extent = {};
    {
        WindowDC dc(parent.m_hWnd);
        SelectGuard select(dc, underline.Get());
        ::GetTextExtentPoint32A(dc, "Link", 4, &extent);
    }
    ASSERT_LT(extent.cx, 100);

    struct Case {
        const char* what;
        DWORD style;
        int left, right; // expected, parent coordinates
    };
    const int border = 2; // WS_BORDER: one pixel on each side
    const int width = extent.cx + border;
    const int shrink = (200 - width) / 2;
    Case cases[] = {
        {"left", SS_LEFT, 50, 50 + width},
        {"centre", SS_CENTER, 50 + shrink, 250 - shrink},
        {"right", SS_RIGHT, 250 - width, 250},
    };
    int y = 10;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CHyperLink link;
        ASSERT_TRUE(link.SubclassWindow(MakeStatic("Link", c.style | WS_BORDER, 50, y, 200, 40)));
        RECT rc = link.GetWindowRect();
        ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
        EXPECT_EQ(c.left, rc.left);
        EXPECT_EQ(c.right, rc.right);
        EXPECT_EQ(y, rc.top);
        EXPECT_EQ(y + extent.cy + border, rc.bottom);
        y += 50;
        link.DestroyWindow();
    }

    // Vertically centred text keeps its vertical centre.
    CHyperLink centred;
    ASSERT_TRUE(centred.SubclassWindow(MakeStatic("Link", SS_CENTERIMAGE, 50, 10, 200, 60)));
    RECT rc = centred.GetWindowRect();
    ::MapWindowPoints(nullptr, parent.m_hWnd, reinterpret_cast<POINT*>(&rc), 2);
    int cut = (60 - extent.cy) / 2;
    EXPECT_EQ(10 + cut, rc.top);
    EXPECT_EQ(70 - cut, rc.bottom);
}

namespace {

const char kTypeName[] = "PairmateTestPage";

// Points ".htm" of the classes root at a page type of the test's own with
// the given command template, and puts back what was there. (The classes
// root is written directly: this Wine does not merge the current user's
// Software\Classes into it, and the tests run in a prefix of their own.)
class HtmAssociation {
public:
    HtmAssociation()
    {
        RegKey key;
        if (key.Open(HKEY_CLASSES_ROOT, ".htm", KEY_QUERY_VALUE) == ERROR_SUCCESS) {
            m_hadHtm = true;
            char value[1024] = {};
            DWORD size = sizeof(value) - 1;
            if (::RegQueryValueExA(key.Get(), nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                ERROR_SUCCESS)
                m_oldHtm = value;
        }
    }
    ~HtmAssociation()
    {
        DeleteType();
        if (m_hadHtm)
            SetDefault(".htm", m_oldHtm);
        else
            ::RegDeleteKeyA(HKEY_CLASSES_ROOT, ".htm");
    }
    void SetType(const std::string& typeName) { SetDefault(".htm", typeName); }
    void SetCommand(const std::string& command)
    {
        SetType(kTypeName);
        SetDefault(std::string(kTypeName) + "\\shell\\open\\command", command);
    }
    void DeleteType()
    {
        for (const char* sub : {"\\shell\\open\\command", "\\shell\\open", "\\shell", ""})
            ::RegDeleteKeyA(HKEY_CLASSES_ROOT, (std::string(kTypeName) + sub).c_str());
    }

private:
    static void SetDefault(const std::string& path, const std::string& value)
    {
        RegKey key;
        ASSERT_EQ(ERROR_SUCCESS, key.Create(HKEY_CLASSES_ROOT, path.c_str(), KEY_SET_VALUE));
        ::RegSetValueExA(key.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                         static_cast<DWORD>(value.size() + 1));
    }
    bool m_hadHtm = false;
    std::string m_oldHtm;
};

const std::string kStandIn = std::string(PAIRMATE_BIN_DIR) + "\\fake_windiff.exe";
const std::string kMissingTarget = "C:\\pairmate-missing\\page.zzq";

// The command line that the stand-in received, once it has run.
class StandInLog {
public:
    StandInLog()
    {
        char dir[MAX_PATH] = {};
        ::GetTempPathA(MAX_PATH, dir);
        m_path = std::string(dir) + "pairmate_link_standin_" + std::to_string(::GetCurrentProcessId()) + ".log";
        ::DeleteFileA(m_path.c_str());
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", m_path.c_str());
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", "300");
    }
    ~StandInLog()
    {
        ::DeleteFileA(m_path.c_str());
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", nullptr);
    }
    bool Exists() const { return ::GetFileAttributesA(m_path.c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::string CommandLine() const
    {
        std::vector<std::string> lines = WaitForLines(m_path);
        return lines.empty() ? "(stand-in did not run)" : lines[0];
    }

private:
    std::string m_path;
};

// Whether a command line read by StandInLog is the stand-in's (shown when not).
::testing::AssertionResult StartedStandIn(const std::string& line)
{
    if (line.find("fake_windiff.exe") != std::string::npos) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "command line: \"" << line << "\"";
}

} // namespace

TEST(HyperLinkOpen, FallbackCommandComesFromTheHtmTemplate)
{
    HtmAssociation htm;
    std::string command;

    // Cut before the quoted %1; one more space and the target follow.
    htm.SetCommand("\"C:\\Browser\\browse.exe\" \"%1\"");
    ASSERT_TRUE(CHyperLink::BuildFallbackCommand("http://www.example.org/", command));
    EXPECT_EQ("\"C:\\Browser\\browse.exe\"  http://www.example.org/", command);

    // A bare %1, with arguments after it that go.
    htm.SetCommand("C:\\Browser\\browse.exe -url %1 -new");
    ASSERT_TRUE(CHyperLink::BuildFallbackCommand("x", command));
    EXPECT_EQ("C:\\Browser\\browse.exe -url  x", command);

    // No %1 at all: the whole template.
    htm.SetCommand("C:\\Browser\\browse.exe");
    ASSERT_TRUE(CHyperLink::BuildFallbackCommand("x", command));
    EXPECT_EQ("C:\\Browser\\browse.exe x", command);

    // Japanese folder names, whose second bytes may look like "\".
    htm.SetCommand("\"C:\\ソフト\\表示.exe\" \"%1\"");
    ASSERT_TRUE(CHyperLink::BuildFallbackCommand("x", command));
    EXPECT_EQ("\"C:\\ソフト\\表示.exe\"  x", command);

    // The line must fit in 520 bytes with its terminator: refused, not cut.
    htm.SetCommand("C:\\b.exe %1");
    const std::string prefix = "C:\\b.exe  "; // 10 bytes
    ASSERT_TRUE(CHyperLink::BuildFallbackCommand(std::string(519 - prefix.size(), 't'), command));
    EXPECT_EQ(519u, command.size());
    command = "unchanged";
    EXPECT_FALSE(CHyperLink::BuildFallbackCommand(std::string(520 - prefix.size(), 't'), command));
    EXPECT_EQ("unchanged", command);

    // Templates that cannot be used.
    htm.SetCommand("C:\\" + std::string(300, 'p') + ".exe %1"); // longer than a registry read takes
    EXPECT_FALSE(CHyperLink::BuildFallbackCommand("x", command));
    htm.SetCommand("");
    EXPECT_FALSE(CHyperLink::BuildFallbackCommand("x", command));
    htm.DeleteType();
    EXPECT_FALSE(CHyperLink::BuildFallbackCommand("x", command)); // the type has no command
}

TEST(HyperLinkOpen, OpensThroughTheShellOrTheHtmProgram)
{
    HtmAssociation htm;
    {
        StandInLog log;
        int result = CHyperLink::OpenUrl(kStandIn, SW_SHOWNOACTIVATE);
        EXPECT_GT(result, 32);
        EXPECT_TRUE(StartedStandIn(log.CommandLine()));
    }
    {
        // The shell cannot open the target: the ".htm" program gets it.
        StandInLog log;
        htm.SetCommand("\"" + kStandIn + "\" \"%1\"");
        int result = CHyperLink::OpenUrl(kMissingTarget, SW_SHOWNOACTIVATE);
        EXPECT_GT(result, 31);
        EXPECT_EQ("\"" + kStandIn + "\"  " + kMissingTarget, log.CommandLine());
    }
    {
        // Too long for the fallback: the shell's own failure is the result
        // and nothing is started.
        StandInLog log;
        std::string target = "C:\\pairmate-missing\\" + std::string(600, 'p') + ".zzq";
        int result = CHyperLink::OpenUrl(target, SW_SHOWNOACTIVATE);
        EXPECT_LE(result, 32);
        PumpFor(300);
        EXPECT_FALSE(log.Exists());
    }
}

TEST_F(HyperLinkTest, ClickOpensTheTargetAndMarksTheLinkVisited)
{
    StandInLog log;
    CHyperLink link;
    link.SetUrl(kStandIn);
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("the stand-in")));
    link.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    link.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(PumpUntil([&] { return link.GetVisited() == TRUE; }));
    EXPECT_TRUE(StartedStandIn(log.CommandLine()));
    ASSERT_TRUE(LeftByTimer(link));
    EXPECT_EQ(kPurple, TextColour(link));
}

TEST_F(HyperLinkTest, FailedClickBeepsAndExplainsInAMessageBox)
{
    // The ".htm" program is a file that is no program: WinExec's code (11)
    // is the one shown, not the shell's (2, the target is missing).
    char temp[MAX_PATH] = {};
    ::GetTempPathA(MAX_PATH, temp);
    const std::string notAProgram = std::string(temp) + "pairmate_not_a_program.exe";
    {
        std::ofstream out(notAProgram, std::ios::binary);
        out << "this is no program";
    }
    HtmAssociation htm;
    htm.SetCommand("\"" + notAProgram + "\" \"%1\"");
    CHyperLink link;
    link.SetUrl(kMissingTarget);
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("missing")));

    std::string caption, message;
    HWND owner = nullptr;
    ModalScript script;
    script.Then([&] {
        HWND box = FindThreadDialog(nullptr);
        if (!box) return false;
        caption = MessageBoxCaption(box);
        message = MessageBoxMessage(box);
        owner = ::GetWindow(box, GW_OWNER);
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    script.Start();
    link.PostMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    link.PostMessage(WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    ASSERT_TRUE(PumpUntil([&] { return script.Finished() || script.TimedOut(); }, 30000));
    EXPECT_FALSE(script.TimedOut());
    EXPECT_EQ("Pairmate", caption);
    EXPECT_EQ("Unable to open hyperlink:\n\nThe .EXE file is invalid\n(non-Win32 .EXE or error in .EXE image).",
              message);
    EXPECT_EQ(parent.m_hWnd, owner);
    EXPECT_FALSE(link.GetVisited());
    EXPECT_EQ(kBlue, TextColour(link));
    ::DeleteFileA(notAProgram.c_str());
}

TEST_F(HyperLinkTest, ErrorTextsForKnownAndUnknownCodes)
{
    CHyperLink link;
    ASSERT_TRUE(link.SubclassWindow(MakeStatic("x")));
    struct Shown {
        std::string caption, message;
        bool exclamation = false;
    };
    auto show = [&](int code) {
        Shown shown;
        ModalScript script;
        script.Then([&] {
            HWND box = FindThreadDialog(nullptr);
            if (!box) return false;
            shown.caption = MessageBoxCaption(box);
            shown.message = MessageBoxMessage(box);
            shown.exclamation = MessageBoxHasExclamationIcon(box);
            ::PostMessageA(box, WM_COMMAND, IDOK, 0);
            return true;
        });
        script.Start();
        link.ShowOpenError(code);
        EXPECT_TRUE(script.Finished());
        return shown;
    };

    Shown noAssoc = show(31);
    EXPECT_EQ("Pairmate", noAssoc.caption);
    EXPECT_EQ("Unable to open hyperlink:\n\nThere is no application associated\nwith the given filename extension.",
              noAssoc.message);
    EXPECT_TRUE(noAssoc.exclamation);
    EXPECT_EQ("Unable to open hyperlink:\n\nUnknown Error (4) occurred.", show(4).message);
}
