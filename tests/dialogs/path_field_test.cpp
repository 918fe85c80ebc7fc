// The WinDiff file name field: a drop target that takes one existing file
// from real shell data objects or a dropped text, and paints its text as a
// path shortened in the middle.
#include <gtest/gtest.h>

#include "framework/FrameWnd.h"
#include "framework/Gdi.h"
#include "pathinput/PathStatic.h"
#include "support/drop_data.h"
#include "support/pump.h"
#include "test_files.h"

#include <vector>

namespace {

// A parent window with a dialog-like font, as the dialogs have.
class FontParent : public CFrameWnd {
public:
    FontParent()
    {
        m_bAutoDelete = false;
        m_font.Reset(::CreateFontA(-12, 0, 0, 0, FW_NORMAL, 0, 0, 0, SHIFTJIS_CHARSET, 0, 0, 0, 0,
                                   "ＭＳ Ｐゴシック"));
    }
    HFONT GetFont() const { return m_font; }
    LRESULT WindowProc(UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg == WM_GETFONT) return reinterpret_cast<LRESULT>(m_font.Get());
        return CFrameWnd::WindowProc(msg, wParam, lParam);
    }

private:
    Font m_font;
};

class RecordingSink : public IFileDropSink {
public:
    std::vector<int> calls;
    void OnFileDropped(int id) override { calls.push_back(id); }
};

class PathFieldTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Shown without activation: Wine without a window manager takes
        // seconds to hide an active window.
        ASSERT_TRUE(parent.Create(nullptr, "PathFieldTest", WS_POPUP, RECT{100, 100, 500, 200}));
        parent.ShowWindow(SW_SHOWNOACTIVATE);
        HWND hwnd = ::CreateWindowExA(WS_EX_STATICEDGE, "STATIC", "", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20,
                                      parent.m_hWnd, reinterpret_cast<HMENU>(128), nullptr, nullptr);
        ASSERT_TRUE(field.SubclassWindow(hwnd));
        field.m_nAcceptFlags = DROPACCEPT_FILE;
        field.m_pDropSink = &sink;
        ASSERT_TRUE(field.RegisterDropTarget(TRUE));
    }
    void TearDown() override
    {
        if (parent.IsWindow()) parent.DestroyWindow();
    }

    // One drag over the field and a drop, from a source that offers these
    // effects (a shell drag offers all): the effects the field answered.
    struct DragResult {
        DWORD enter, over, drop;
    };
    DragResult Drag(IDataObject* data, DWORD offered = DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK)
    {
        IDropTarget* target = field.GetDropTarget();
        POINTL pt = {20, 20};
        DragResult r = {offered, offered, offered};
        target->DragEnter(data, MK_LBUTTON, pt, &r.enter);
        target->DragOver(MK_LBUTTON, pt, &r.over);
        target->Drop(data, 0, pt, &r.drop);
        return r;
    }

    FontParent parent;
    CPathStatic field;
    RecordingSink sink;
    TempFolder temp;
};

} // namespace

TEST(DropStatic, RefusesEverythingAndRevokesOnDestroy)
{
    CDropStatic plain;
    EXPECT_FALSE(plain.RegisterDropTarget(TRUE)); // no window yet
    DWORD effect = DROPEFFECT_COPY;
    POINTL pt = {0, 0};
    IDropTarget* target = plain.GetDropTarget();
    EXPECT_EQ(E_NOTIMPL, target->DragEnter(nullptr, 0, pt, &effect));
    EXPECT_EQ(E_NOTIMPL, target->DragOver(0, pt, &effect));
    EXPECT_EQ(E_NOTIMPL, target->DragLeave());
    EXPECT_EQ(E_NOTIMPL, target->Drop(nullptr, 0, pt, &effect));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY), effect);

    HWND hwnd = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(plain.SubclassWindow(hwnd));
    EXPECT_TRUE(plain.RegisterDropTarget(TRUE));
    EXPECT_TRUE(plain.RegisterDropTarget(TRUE)); // registered once only
    EXPECT_TRUE(plain.IsDropTargetRegistered());
    EXPECT_EQ(DRAGDROP_E_ALREADYREGISTERED, ::RegisterDragDrop(hwnd, target));
    EXPECT_GT(plain.GetRefCount(), 1); // OLE holds the target

    ::DestroyWindow(hwnd);
    EXPECT_FALSE(plain.IsDropTargetRegistered());
    EXPECT_EQ(1, plain.GetRefCount()); // OLE let go of it
}

TEST_F(PathFieldTest, TakesOneDroppedFileAndTellsTheOwner)
{
    std::string file = temp.File("windiff.exe");
    ComPtr<IDataObject> data = ShellDataObject({file});
    ASSERT_TRUE(data);

    DragResult r = Drag(data.Get());
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), r.enter);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), r.over);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), r.drop);
    // The text changes after the drop has returned, from the posted message.
    EXPECT_EQ("", field.GetWindowText());
    ASSERT_TRUE(PumpUntil([&] { return !sink.calls.empty(); }));
    EXPECT_EQ(file, field.GetWindowText());
    EXPECT_EQ(std::vector<int>{128}, sink.calls);

    // Link when the source offers it, else copy; never move.
    const struct {
        DWORD offered, answer;
    } offers[] = {
        {DROPEFFECT_COPY | DROPEFFECT_MOVE, DROPEFFECT_COPY},
        {DROPEFFECT_LINK, DROPEFFECT_LINK},
        {DROPEFFECT_MOVE, DROPEFFECT_NONE},
    };
    for (const auto& o : offers) {
        SCOPED_TRACE(o.offered);
        r = Drag(data.Get(), o.offered);
        EXPECT_EQ(o.answer, r.enter);
        EXPECT_EQ(o.answer, r.over);
        EXPECT_EQ(o.answer, r.drop);
    }
    PumpFor(0);
    EXPECT_EQ(3u, sink.calls.size()); // the refused drop posted nothing
}

TEST_F(PathFieldTest, RefusesFoldersSeveralFilesAndTextsNamingNothing)
{
    std::string a = temp.File("a.exe");
    std::string b = temp.File("b.exe");
    std::string folder = temp.Folder("sub");
    field.SetWindowText("before");

    struct Case {
        const char* what;
        ComPtr<IDataObject> data;
    };
    ComPtr<IDataObject> two = ShellDataObject({a, b});
    ASSERT_TRUE(two);
    std::string huge(1 << 20, 'x'); // a text longer than any path, without NUL
    std::vector<Case> cases = {
        {"a folder", ShellDataObject({folder})},
        {"two files", two},
        {"two files and a text naming nothing", TextDataObject("C:\\nowhere\\nothing.exe", two.Get())},
        {"a text naming nothing", TextDataObject(temp.Path() + "\\missing.exe")},
        {"a text naming a folder", TextDataObject(folder)},
        {"a file name with a line break", TextDataObject(a + "\r\n")},
        {"a huge text", TextDataObject(huge)},
        {"an empty text", TextDataObject("")},
    };
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        ASSERT_TRUE(c.data);
        DragResult r = Drag(c.data.Get());
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), r.enter);
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), r.over);
        EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), r.drop);
    }
    PumpFor(50);
    EXPECT_EQ("before", field.GetWindowText());
    EXPECT_TRUE(sink.calls.empty());
}

TEST_F(PathFieldTest, TakesATextNamingAFileEvenBesideSeveralItems)
{
    std::string a = temp.File("a.exe");
    std::string b = temp.File("b.exe");
    ComPtr<IDataObject> two = ShellDataObject({a, b});
    ASSERT_TRUE(two);
    ComPtr<IDataObject> data = TextDataObject(b, two.Get());
    DragResult r = Drag(data.Get());
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), r.drop);
    ASSERT_TRUE(PumpUntil([&] { return sink.calls.size() == 1; }));
    EXPECT_EQ(b, field.GetWindowText());

    // A plain text that names a file, with nobody to tell: the text still
    // becomes the field's text.
    field.m_pDropSink = nullptr;
    data = TextDataObject(a + std::string(1, '\0') + "trailing bytes after the NUL");
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), Drag(data.Get()).drop);
    ASSERT_TRUE(PumpUntil([&] { return field.GetWindowText() == a; }));
    EXPECT_EQ(1u, sink.calls.size());
}

TEST_F(PathFieldTest, FolderFlagAcceptsFoldersOnly)
{
    std::string file = temp.File("a.exe");
    std::string folder = temp.Folder("sub");
    field.m_nAcceptFlags = DROPACCEPT_FOLDER;
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Drag(ShellDataObject({file}).Get()).drop);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), Drag(ShellDataObject({folder}).Get()).drop);
    ASSERT_TRUE(PumpUntil([&] { return !sink.calls.empty(); }));
    EXPECT_EQ(folder, field.GetWindowText());

    field.m_nAcceptFlags = 0; // accepts nothing
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE), Drag(ShellDataObject({folder}).Get()).drop);
}

TEST_F(PathFieldTest, IgnoresForeignDropMessagesAndPendingDropsOfADeadWindow)
{
    field.SetWindowText("kept");
    // Somebody else's WM_USER+100 carries no block of ours.
    static char notOurs[] = "C:\\elsewhere.exe";
    field.SendMessage(WM_DROPPATH, reinterpret_cast<WPARAM>(notOurs));
    field.PostMessage(WM_DROPPATH, 0x1234);
    PumpFor(30);
    EXPECT_EQ("kept", field.GetWindowText());
    EXPECT_TRUE(sink.calls.empty());

    // A drop whose message is still queued when the window goes away.
    std::string file = temp.File("a.exe");
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK), Drag(ShellDataObject({file}).Get()).drop);
    parent.DestroyWindow();
    PumpFor(30);
    EXPECT_TRUE(sink.calls.empty());
    EXPECT_FALSE(field.IsDropTargetRegistered());
}

namespace {

// What the field shows: its client area read back from the screen.
void ReadClient(HWND hwnd, DibCanvas& canvas)
{
    WindowDC dc(hwnd);
    ::BitBlt(canvas.Dc(), 0, 0, canvas.Width(), canvas.Height(), dc, 0, 0, SRCCOPY);
}

// What DrawText with a path ellipsis makes of the same text.
void DrawReference(DibCanvas& canvas, HFONT font, const std::string& text, UINT extraFlags = DT_NOPREFIX)
{
    canvas.Fill(::GetSysColor(COLOR_BTNFACE));
    RECT rc = {2, 0, canvas.Width() - 3, canvas.Height()};
    SelectGuard select(canvas.Dc(), font);
    ::SetBkMode(canvas.Dc(), TRANSPARENT);
    ::DrawTextA(canvas.Dc(), text.c_str(), static_cast<int>(text.size()), &rc,
                DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS | extraFlags);
}

int DifferentPixels(const DibCanvas& a, const DibCanvas& b)
{
    int n = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int x = 0; x < a.Width(); ++x)
            if (a.Pixel(x, y) != b.Pixel(x, y)) ++n;
    return n;
}

} // namespace

TEST_F(PathFieldTest, PaintsALongPathWithTheMiddleLeftOut)
{
    const std::string path = "C:\\Program Files\\Tools\\Compare\\Bin\\windiff.exe";
    RECT client = field.GetClientRect();
    DibCanvas shown(client.right, client.bottom), expected(client.right, client.bottom);

    // Setting the text repaints at once, without waiting for the queue.
    field.SetWindowText(path);
    ReadClient(field.m_hWnd, shown);
    DrawReference(expected, parent.GetFont(), path);
    EXPECT_EQ(0, DifferentPixels(shown, expected));
    DibCanvas empty(client.right, client.bottom);
    empty.Fill(::GetSysColor(COLOR_BTNFACE));
    EXPECT_GT(DifferentPixels(shown, empty), 50); // there is text to compare

    // The shortened text keeps the start and "windiff.exe".
    std::string shortened = path + std::string(8, '\0');
    {
        WindowDC dc(field.m_hWnd);
        SelectGuard select(dc, parent.GetFont());
        RECT rc = {2, 0, client.right - 3, client.bottom};
        ::DrawTextA(dc, &shortened[0], static_cast<int>(path.size()), &rc,
                    DT_SINGLELINE | DT_VCENTER | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
    }
    shortened.resize(strlen(shortened.c_str()));
    EXPECT_NE(path, shortened);
    EXPECT_EQ(0u, shortened.find("C:\\"));
    EXPECT_NE(std::string::npos, shortened.find("..."));
    EXPECT_EQ(shortened.size() - 11, shortened.rfind("windiff.exe"));
    EXPECT_EQ(path, field.GetWindowText()); // the stored text is whole

    // A folder named with "&" is drawn as it is, not as a mnemonic.
    const std::string ampersand = "C:\\A&B\\windiff.exe";
    field.SetWindowText(ampersand);
    ReadClient(field.m_hWnd, shown);
    DrawReference(expected, parent.GetFont(), ampersand);
    EXPECT_EQ(0, DifferentPixels(shown, expected));
    DrawReference(expected, parent.GetFont(), ampersand, 0);
    EXPECT_GT(DifferentPixels(shown, expected), 0);

    // A huge text is painted without trouble.
    std::string huge = "C:\\" + std::string(200000, 'd') + "\\windiff.exe";
    field.SetWindowText(huge);
    EXPECT_EQ(huge.size(), field.GetWindowText().size());
    ReadClient(field.m_hWnd, shown);
    DrawReference(expected, parent.GetFont(), huge);
    EXPECT_EQ(0, DifferentPixels(shown, expected));
}
