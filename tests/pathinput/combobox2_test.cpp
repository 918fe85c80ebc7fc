// The history combo box driven as a user drives it: key messages through the
// framework's message loop, and drops through the drop target that the
// control registered with OLE.
#include "shell_fixture.h"
#include "support/test_data_object.h"

#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "framework/Look.h"
#include "framework/WinApp.h"
#include "pathinput/ComboBox2.h"
#include "support/pump.h"
#include "support/scoped_registry.h"

namespace {

constexpr UINT kSentinel = WM_APP + 7;

// The main window's stand-in: records the notifications of its children
// (with the child's text at that moment) and counts the key-ups that the
// message loop offers it.
class ParentFrame : public CFrameWnd {
public:
    struct Notice {
        UINT id;
        UINT code;
        HWND from;
        std::string text;
    };
    std::vector<Notice> notices;
    int keyUps = 0;
    int sentinels = 0;

    ParentFrame() { m_bAutoDelete = false; }

    BOOL PreTranslateMessage(MSG* msg) override
    {
        if (msg->message == WM_KEYUP) ++keyUps;
        return CFrameWnd::PreTranslateMessage(msg);
    }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_COMMAND && lParam) {
            HWND from = reinterpret_cast<HWND>(lParam);
            notices.push_back({LOWORD(wParam), HIWORD(wParam), from, GetWindowTextString(from)});
        }
        if (msg == kSentinel) ++sentinels;
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }
    int Count(UINT code) const
    {
        int n = 0;
        for (const Notice& notice : notices) n += notice.code == code;
        return n;
    }
};

class ComboTest : public ShellFolderTest {
protected:
    // One shown parent for all the tests: under Wine without a window
    // manager, hiding a shown top-level window waits about two seconds.
    static void SetUpTestSuite()
    {
        s_frame = new ParentFrame;
        if (s_frame->Create(nullptr, "Pairmate combo test", WS_OVERLAPPEDWINDOW, RECT{50, 50, 450, 200}))
            s_frame->ShowWindow(SW_SHOW);
    }
    static void TearDownTestSuite()
    {
        s_frame->DestroyWindow();
        delete s_frame;
        s_frame = nullptr;
    }

    void SetUp() override
    {
        ShellFolderTest::SetUp();
        ASSERT_NE(nullptr, m_frame.m_hWnd);
        m_frame.notices.clear();
        // As the main window makes them: 0x50010042, 257 typed characters.
        ASSERT_TRUE(m_combo.Create(WS_CHILD | WS_VISIBLE | WS_TABSTOP | CBS_AUTOHSCROLL | CBS_DROPDOWN,
                                   RECT{10, 10, 360, 110}, &m_frame, 600));
        m_combo.SendMessage(CB_LIMITTEXT, 257);
        m_combo.AddString("C:\\Tools\\Alpha");
        m_combo.AddString("C:\\tools\\beta");
        COMBOBOXINFO info = {};
        info.cbSize = sizeof(info);
        ASSERT_TRUE(::GetComboBoxInfo(m_combo.m_hWnd, &info));
        m_edit = info.hwndItem;
        m_list = info.hwndList;
        ASSERT_NE(nullptr, m_edit);
        ::SetFocus(m_edit);
    }
    void TearDown() override
    {
        SetModifiers(false, false);
        m_combo.DestroyWindow();
        ShellFolderTest::TearDown();
    }

    static void SetModifiers(bool shift, bool control)
    {
        BYTE state[256] = {};
        ::GetKeyboardState(state);
        state[VK_SHIFT] = shift ? 0x80 : 0;
        state[VK_CONTROL] = control ? 0x80 : 0;
        ::SetKeyboardState(state);
    }

    // One key press and release, as the keyboard posts them; the message
    // loop translates the key-down into the character.
    void Key(UINT vk, bool shift = false, bool control = false)
    {
        SetModifiers(shift, control);
        const int before = m_frame.keyUps;
        const LPARAM lp = 1 | static_cast<LPARAM>(::MapVirtualKeyA(vk, 0) << 16);
        ::PostMessageA(m_edit, WM_KEYDOWN, vk, lp);
        ::PostMessageA(m_edit, WM_KEYUP, vk, lp | 0xC0000000);
        ASSERT_TRUE(PumpUntil([&] { return m_frame.keyUps > before; }));
        SetModifiers(false, false);
    }
    void Type(const std::string& text)
    {
        for (char ch : text) {
            const SHORT scan = ::VkKeyScanA(ch);
            ASSERT_NE(-1, scan) << ch;
            Key(LOBYTE(scan), (HIBYTE(scan) & 1) != 0, (HIBYTE(scan) & 2) != 0);
        }
    }
    std::string Text() const { return m_combo.GetWindowText(); }
    std::pair<DWORD, DWORD> Sel() const
    {
        DWORD start = 0, end = 0;
        ::SendMessageA(m_edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    // Processes whatever the last action posted, and whatever that posted.
    void Settle()
    {
        for (int round = 0; round < 2; ++round) {
            const int before = m_frame.sentinels;
            m_frame.PostMessage(kSentinel);
            ASSERT_TRUE(PumpUntil([&] { return m_frame.sentinels > before; }));
        }
    }

    // The drop target as OLE knows it from the window.
    IDropTarget* RegisteredTarget() const
    {
        return static_cast<IDropTarget*>(::GetPropA(m_combo.m_hWnd, "OleDropTargetInterface"));
    }
    // Each step with the effects the source offers (a shell drag offers all).
    static constexpr DWORD kAll = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK;
    DWORD Enter(IDataObject* data, DWORD effect = kAll)
    {
        EXPECT_EQ(S_OK, RegisteredTarget()->DragEnter(data, MK_LBUTTON, POINTL{100, 70}, &effect));
        return effect;
    }
    DWORD Over(DWORD effect = kAll)
    {
        EXPECT_EQ(S_OK, RegisteredTarget()->DragOver(MK_LBUTTON, POINTL{101, 70}, &effect));
        return effect;
    }
    DWORD Drop(IDataObject* data, DWORD effect = kAll)
    {
        EXPECT_EQ(S_OK, RegisteredTarget()->Drop(data, 0, POINTL{101, 70}, &effect));
        return effect;
    }
    // A whole accepted drag: enter, over, drop; then the parent hears of it.
    void DropAndWait(IDataObject* data)
    {
        const std::string before = Text();
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Enter(data));
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Over());
        m_frame.notices.clear();
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Drop(data));
        EXPECT_EQ(before, Text()); // nothing changes inside the drag loop
        ASSERT_TRUE(PumpUntil([&] { return m_frame.Count(CBN_EDITCHANGE) > 0; }));
    }
    void ExpectRefused(IDataObject* data)
    {
        const std::string before = Text();
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Enter(data));
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Over());
        EXPECT_EQ(S_OK, RegisteredTarget()->DragLeave());
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Drop(data));
        m_frame.notices.clear();
        Settle();
        EXPECT_EQ(before, Text());
        EXPECT_EQ(0, m_frame.Count(CBN_EDITCHANGE));
    }

    static ParentFrame* s_frame;
    ParentFrame& m_frame = *s_frame;
    CComboBox2 m_combo;
    HWND m_edit = nullptr, m_list = nullptr;
};

ParentFrame* ComboTest::s_frame = nullptr;

using Range = std::pair<DWORD, DWORD>;

} // namespace

TEST_F(ComboTest, OwnFontMessageAndDropTarget)
{
    LOGFONTA lf = {};
    HFONT font = reinterpret_cast<HFONT>(m_combo.SendMessage(WM_GETFONT));
    ASSERT_NE(nullptr, font);
    ASSERT_EQ(static_cast<int>(sizeof(lf)), ::GetObjectA(font, sizeof(lf), &lf));
    EXPECT_EQ(-12, lf.lfHeight);
    EXPECT_EQ(0, lf.lfWidth);
    EXPECT_EQ(400, lf.lfWeight);
    EXPECT_EQ(0, lf.lfItalic);
    EXPECT_EQ(SHIFTJIS_CHARSET, lf.lfCharSet);
    EXPECT_EQ(0x32, lf.lfPitchAndFamily);
    EXPECT_STREQ("ＭＳ Ｐゴシック", lf.lfFaceName);

    EXPECT_NE(0u, g_nComboBox2Msg);
    EXPECT_EQ(::RegisterWindowMessageA("CComboBox2-Message01"), g_nComboBox2Msg);

    EXPECT_EQ(m_combo.GetDropTarget(), RegisteredTarget());
}

TEST_F(ComboTest, TypingCompletesFromTheTopOfTheList)
{
    Type("c:\\t");
    EXPECT_EQ("C:\\Tools\\Alpha", Text());
    EXPECT_EQ(Range(4, 14), Sel()); // "ools\Alpha" selected

    // The next letter replaces the selection and completes again.
    Type("o");
    EXPECT_EQ("C:\\Tools\\Alpha", Text());
    EXPECT_EQ(Range(5, 14), Sel());

    // The parent hears of every edit, but the completion step is the combo's own.
    EXPECT_GE(m_frame.Count(CBN_EDITCHANGE), 5);
    EXPECT_EQ(0, m_frame.Count(CBN_EDITUPDATE));
}

TEST_F(ComboTest, TheFirstItemThatMatchesSetsTheCase)
{
    Type("c:\\tools\\b");
    EXPECT_EQ("C:\\tools\\beta", Text());
    EXPECT_EQ(Range(10, 13), Sel());
}

TEST_F(ComboTest, BackspaceAndDeleteDoNotComplete)
{
    Type("c:\\t");
    ASSERT_EQ("C:\\Tools\\Alpha", Text());
    Key(VK_BACK); // removes the selected tail only
    EXPECT_EQ("C:\\T", Text());
    EXPECT_EQ(Range(4, 4), Sel());
    Key(VK_BACK);
    EXPECT_EQ("C:\\", Text());

    Type("t"); // the next letter completes again
    EXPECT_EQ("C:\\Tools\\Alpha", Text());
    EXPECT_EQ(Range(4, 14), Sel());

    Key(VK_DELETE);
    EXPECT_EQ("C:\\T", Text());
    EXPECT_EQ(Range(4, 4), Sel());
}

TEST_F(ComboTest, NoMatchKeepsTheTextAndTheCaretAtTheEnd)
{
    Type("d:\\x");
    EXPECT_EQ("d:\\x", Text());
    EXPECT_EQ(Range(4, 4), Sel());
    Type("y");
    EXPECT_EQ("d:\\xy", Text());
    EXPECT_EQ(Range(5, 5), Sel());
}

TEST_F(ComboTest, CaretInsideTheTextStaysWhereItIs)
{
    // "C:\Tol" with the caret after "C:\T", then an "o": the text becomes a
    // prefix of an item and is completed, but the caret stays after "C:\To".
    Type("c:\\t");
    Key(VK_DELETE);
    Type("o");
    Key(VK_DELETE);
    Type("l");
    ASSERT_EQ("C:\\Tol", Text());
    Key(VK_LEFT);
    Key(VK_LEFT);
    ASSERT_EQ(Range(4, 4), Sel());
    Type("o");
    EXPECT_EQ("C:\\Tools\\Alpha", Text());
    EXPECT_EQ(Range(5, 5), Sel());

    // Without a match the inserted letter stays where it was typed.
    Key(VK_END);
    Key(VK_LEFT);
    Type("X");
    EXPECT_EQ("C:\\Tools\\AlphXa", Text());
    EXPECT_EQ(Range(14, 14), Sel());
}

TEST_F(ComboTest, CuttingEverythingLeavesTheBoxEmpty)
{
    // An empty text is a prefix of every item; the combo must not refill
    // the box the user has just emptied (Wine's list happens to refuse an
    // empty prefix; a list that matches it would pick the first item).
    Type("c:\\t");
    ASSERT_EQ("C:\\Tools\\Alpha", Text());
    ::SendMessageA(m_edit, EM_SETSEL, 0, -1);
    Key('X', false, true); // Ctrl+X
    EXPECT_EQ("", Text());
}

TEST_F(ComboTest, DropOfOneShellItem)
{
    ComPtr<IDataObject> data = ShellDataObject({"Alpha.txt"});
    ASSERT_TRUE(data);
    DropAndWait(data.Get());
    EXPECT_EQ(0, lstrcmpiA(m_file1.c_str(), Text().c_str())) << Text();

    // The parent got WM_COMMAND(600, CBN_EDITCHANGE) from the combo, once
    // the text was in place.
    ASSERT_EQ(1, m_frame.Count(CBN_EDITCHANGE));
    const ParentFrame::Notice& notice = m_frame.notices.back();
    EXPECT_EQ(600u, notice.id);
    EXPECT_EQ(m_combo.m_hWnd, notice.from);
    EXPECT_EQ(Text(), notice.text);

    // A drop is no key press: completion stays as it was.
    ComPtr<IDataObject> folder = ShellDataObject({"Sub Folder"});
    DropAndWait(folder.Get());
    EXPECT_EQ(0, lstrcmpiA(m_sub.c_str(), Text().c_str())) << Text();
}

TEST_F(ComboTest, TwoShellItemsNeedAText)
{
    m_combo.SetWindowText("typed");
    ComPtr<IDataObject> two = ShellDataObject({"Alpha.txt", "beta.txt"});
    ASSERT_TRUE(two);
    ExpectRefused(two.Get());

    TestDataObject withText(two.Get());
    withText.OfferText("D:\\somewhere else");
    DropAndWait(&withText);
    EXPECT_EQ("D:\\somewhere else", Text());
    Settle();
    EXPECT_EQ(1, withText.Refs()); // every reference given out came back
}

TEST_F(ComboTest, TextIsTakenVerbatimAndWhole)
{
    TestDataObject words;
    words.OfferText("  not a path at all  ");
    DropAndWait(&words);
    EXPECT_EQ("  not a path at all  ", Text());

    TestDataObject japanese;
    japanese.OfferText("C:\\データ\\比較.txt");
    DropAndWait(&japanese);
    EXPECT_EQ("C:\\データ\\比較.txt", Text());

    // Longer than the 257 characters the user may type: kept whole, so the
    // user sees what was dropped and Compare reports it.
    const std::string longPath = "C:\\" + std::string(300, 'a') + "\\end.txt";
    TestDataObject longText;
    longText.OfferText(longPath);
    DropAndWait(&longText);
    EXPECT_EQ(longPath, Text());

    TestDataObject nothing;
    ExpectRefused(&nothing);
}

TEST_F(ComboTest, DragAnswersFollowTheLastEnterAndWhatTheSourceOffers)
{
    TestDataObject text;
    text.OfferText("x");
    TestDataObject nothing;
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Enter(&text));
    EXPECT_EQ(S_OK, RegisteredTarget()->DragLeave());
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Over()); // kept after leaving
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Enter(&nothing));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Over());

    // Copy when offered, else link; never move.
    const struct {
        DWORD offered, answer;
    } offers[] = {
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {DROPEFFECT_LINK, DROPEFFECT_LINK},
        {DROPEFFECT_MOVE, DROPEFFECT_NONE},
    };
    for (const auto& o : offers) {
        SCOPED_TRACE(o.offered);
        EXPECT_EQ(o.answer, Enter(&text, o.offered));
        EXPECT_EQ(o.answer, Over(o.offered));
        EXPECT_EQ(o.answer, Drop(&text, o.offered));
    }
    Settle();
    EXPECT_EQ(2, m_frame.Count(CBN_EDITCHANGE)); // the refused drop posted nothing
}

TEST_F(ComboTest, ForeignDropMessagesAreIgnored)
{
    // Another program could post the registered message with any value:
    // only blocks that this combo posted are used and freed.
    m_combo.SetWindowText("typed");
    char foreign[] = "foreign";
    m_combo.PostMessage(g_nComboBox2Msg, reinterpret_cast<WPARAM>(foreign), 0);
    m_combo.PostMessage(g_nComboBox2Msg, 0, 0);
    m_frame.notices.clear();
    Settle();
    EXPECT_EQ("typed", Text());
    EXPECT_EQ(0, m_frame.Count(CBN_EDITCHANGE));
}

TEST_F(ComboTest, RegistrationEndsWithTheWindowOrTheObject)
{
    // OLE holds references to the registered target while it is registered.
    EXPECT_GT(m_combo.GetRefCount(), 1);
    TestDataObject text;
    text.OfferText("pending");
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), Drop(&text)); // left in the queue
    m_combo.DestroyWindow();
    EXPECT_EQ(1, m_combo.GetRefCount());

    // An object that goes before its window takes its registration along.
    HWND hwnd;
    {
        CComboBox2 early;
        ASSERT_TRUE(early.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWN, RECT{10, 40, 200, 140}, &m_frame, 601));
        hwnd = early.m_hWnd;
        ASSERT_NE(nullptr, ::GetPropA(hwnd, "OleDropTargetInterface"));
    }
    ASSERT_TRUE(::IsWindow(hwnd));
    EXPECT_EQ(DRAGDROP_E_NOTREGISTERED, ::RevokeDragDrop(hwnd));
    ::DestroyWindow(hwnd);
}

// In the dark look the dropped list is a dark field (the edit part: tests/e2e).
TEST_F(ComboTest, TheDarkLookShowsTheListAsAField)
{
    ScopedAppMode mode(0); // dark
    m_combo.SendMessage(CB_SHOWDROPDOWN, TRUE);
    ::RedrawWindow(m_list, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    EXPECT_EQ(AfxLookColor(LookColor::Field), ::GetPixel(WindowDC(m_list), 1, 1));
    m_combo.SendMessage(CB_SHOWDROPDOWN, FALSE);
}
