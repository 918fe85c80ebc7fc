// Pairmate run as its own process and driven from outside: start-up, the
// single-instance rule, the bar's place, Compare with its messages, the
// command line WinDiff receives, and the histories.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "support/drop_data.h"
#include "support/pump.h"

#include <commctrl.h>

#include <cstring>
#include <functional>
#include <tuple>

namespace {


RECT WorkArea()
{
    RECT rc{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &rc, 0);
    return rc;
}

RECT BarRect(HWND bar)
{
    RECT rc{};
    ::GetWindowRect(bar, &rc);
    return rc;
}

class CompareTest : public ::testing::Test {
protected:
    TempFolder temp;
    std::string log = temp.Path() + "\\standin.log";
    PairmateProcess app;
    std::string program; // pairmate.exe when empty

    void StartWith(const StoredSettings& settings)
    {
        ResetRegistry(settings);
        ASSERT_TRUE(app.Start(log, program));
        ASSERT_TRUE(app.WaitForBar());
    }
    StoredSettings Defaults() const
    {
        StoredSettings s;
        s.fileName = StandInPath();
        return s;
    }
    void ExpectMessage(const std::string& text)
    {
        MessageBoxInfo box;
        ASSERT_TRUE(app.WaitForMessageBox(box)) << "expected: " << text;
        EXPECT_EQ("Pairmate", box.caption);
        EXPECT_EQ(text, box.text);
        EXPECT_TRUE(::GetWindowLongPtrA(box.hwnd, GWL_STYLE) & WS_VISIBLE);
        ASSERT_TRUE(app.DismissMessageBox(box));
    }
};

// What concerns the code page runs twice: for the program as it ships, which
// runs in UTF-8, and for a copy that runs in the system's code page (932
// here), as on Windows before 10 version 1903.
class CodePageTest : public CompareTest, public ::testing::WithParamInterface<bool> {
protected:
    void SetUp() override
    {
        if (GetParam()) {
            ASSERT_FALSE((program = ClassicCopy(temp.Path())).empty());
        }
    }
};

} // namespace

INSTANTIATE_TEST_SUITE_P(ProgramAndClassicCopy, CodePageTest, ::testing::Values(false, true));

TEST_F(CompareTest, StartsAsMinimisedToolStripAndSecondStartShowsItAndEndsAtOnce)
{
    StartWith(Defaults());
    HWND bar = app.Bar();
    EXPECT_EQ(static_cast<LONG_PTR>(WS_POPUP | WS_VISIBLE), ::GetWindowLongPtrA(bar, GWL_STYLE) & ~WS_CLIPSIBLINGS);
    EXPECT_EQ(static_cast<LONG_PTR>(WS_EX_TOOLWINDOW), ::GetWindowLongPtrA(bar, GWL_EXSTYLE));
    RECT w = WorkArea();
    RECT r = BarRect(bar);
    EXPECT_EQ(w.right - 15, r.left);
    EXPECT_EQ(w.top, r.top);
    EXPECT_EQ(w.right - w.left, r.right - r.left);
    EXPECT_EQ(28, r.bottom - r.top);
    // Once the program answers, its start-up work is done: every toolbar has
    // its images and tips that show while the bar is inactive.
    DWORD_PTR answered = 0;
    ASSERT_NE(0, ::SendMessageTimeoutA(bar, WM_NULL, 0, 0, SMTO_NORMAL, kWaitMs, &answered));
    for (int id : {500, 501, 502}) {
        EXPECT_NE(0, ::SendMessageA(app.Control(id), TB_GETIMAGELIST, 0, 0)) << id;
        HWND tips = reinterpret_cast<HWND>(::SendMessageA(app.Control(id), TB_GETTOOLTIPS, 0, 0));
        EXPECT_TRUE(tips && (::GetWindowLongPtrA(tips, GWL_STYLE) & TTS_ALWAYSTIP)) << id;
    }

    // Another window titled "Pairmate" lies on top (an Explorer window on a
    // folder of that name): the second copy brings the bar forward, not it.
    HWND decoy = ::CreateWindowExA(0, "STATIC", "Pairmate", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 200, 100,
                                   nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(nullptr, decoy);
    ::SetForegroundWindow(decoy);
    ASSERT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == decoy; }));

    PairmateProcess second;
    ASSERT_TRUE(second.Start());
    EXPECT_TRUE(PumpUntil([&] { return ::GetForegroundWindow() == bar; }));
    ::DestroyWindow(decoy);
    EXPECT_TRUE(second.WaitForExit(kStartMs)) << "the second copy must end by itself";
    DWORD code = 1;
    ::GetExitCodeProcess(second.Process(), &code);
    EXPECT_EQ(0u, code);
    EXPECT_FALSE(second.WaitForBar(500));
    EXPECT_TRUE(::IsWindow(bar));
}

TEST_F(CompareTest, StartsAndComparesWhereTheSystemReportsWindowsXp)
{
    // Wine reports the version that the program's application defaults
    // name; its loader reads the whole manifest, as Windows XP's must.
    const char* const key = "Software\\Wine\\AppDefaults\\pairmate.exe";
    struct ReportedVersion {
        const char* key;
        ~ReportedVersion() { ::RegDeleteKeyA(HKEY_CURRENT_USER, key); }
    } xp{key};
    const char* version = sizeof(void*) == 8 ? "winxp64" : "winxp";
    RegKey defaults;
    ASSERT_EQ(ERROR_SUCCESS, defaults.Create(HKEY_CURRENT_USER, key, KEY_SET_VALUE));
    ASSERT_EQ(ERROR_SUCCESS, ::RegSetValueExA(defaults.Get(), "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>(version),
                                              static_cast<DWORD>(std::strlen(version) + 1)));
    StartWith(Defaults());
    app.SetComboText(kPath1, temp.File("a.txt"));
    app.SetComboText(kPath2, temp.File("b.txt"));
    app.Command(kCompare);
    std::string commandLine, folder;
    EXPECT_TRUE(ReadStandInLog(log, commandLine, folder)) << "WinDiff was not started";
}

TEST_F(CompareTest, FailuresShowTheFirstFailingCheckAndChangeNothing)
{
    // WinDiff's file name names an existing file that is no program: every
    // check passes for it, and starting it fails.
    std::string winDiff = temp.File("windiff.exe", "not really a program");
    std::string file1 = temp.File("a.txt");
    std::string file2 = temp.File("b.txt");
    std::string folder = temp.Folder("dir");
    std::string missing = temp.Path() + "\\missing.txt";
    StoredSettings settings = Defaults();
    settings.fileName = winDiff;
    StartWith(settings);

    // The WinDiff file removed after start-up: reported at Compare.
    std::string moved = winDiff + ".moved";
    ASSERT_TRUE(::MoveFileA(winDiff.c_str(), moved.c_str()));
    app.SetComboText(kPath1, file1);
    app.SetComboText(kPath2, file2);
    app.Command(kCompare);
    ExpectMessage("設定されているWindiffのファイルが存在しません。");
    ASSERT_TRUE(::MoveFileA(moved.c_str(), winDiff.c_str()));

    struct Case {
        std::string p1, p2, message;
    };
    const Case cases[] = {
        {"", missing, "比較ファイル１が設定されていません。"},
        {missing, "", "比較ファイル１に設定されたファイル、またはフォルダは存在しません。"},
        {file1, "", "比較ファイル２が設定されていません。"},
        {folder, missing, "比較ファイル２に設定されたファイル、またはフォルダは存在しません。"},
        {file1, folder, "ファイルとフォルダを比較することはできません。"},
        {folder, file1, "ファイルとフォルダを比較することはできません。"},
        {file1, file2, "Windiffの起動に失敗しました。\nWindiffファイル名に誤りがないか確認してください。"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        app.SetComboText(kPath1, c.p1);
        app.SetComboText(kPath2, c.p2);
        app.PressEnterIn(kPath1);
        ExpectMessage(c.message);
        EXPECT_EQ(c.p1, app.ComboText(kPath1));
        EXPECT_EQ(c.p2, app.ComboText(kPath2));
    }

    EXPECT_TRUE(ReadHistory(1).empty());
    EXPECT_TRUE(ReadHistory(2).empty());
    EXPECT_TRUE(app.ComboItems(kPath1).empty());
    EXPECT_EQ(::GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing may have been started";
}

TEST_F(CompareTest, ComparingTwoFilesStartsWinDiffAndRecordsBothPaths)
{
    std::string file1 = temp.File("first file.txt");
    std::string file2 = temp.File("second.txt");
    StoredSettings settings = Defaults();
    settings.history1 = {"C:\\older1"};
    settings.history2 = {"C:\\older2"};
    StartWith(settings);
    EXPECT_EQ((std::vector<std::string>{"C:\\older1"}), app.ComboItems(kPath1));

    app.SetComboText(kPath1, file1);
    app.SetComboText(kPath2, file2);
    app.PressEnterIn(kPath2);

    std::string commandLine, folder;
    ASSERT_TRUE(ReadStandInLog(log, commandLine, folder));
    EXPECT_EQ("\"" + StandInPath() + "\" \"" + file1 + "\" \"" + file2 + "\"", commandLine);
    const Histories recorded = {{file1, "C:\\older1"}, {file2, "C:\\older2"}};
    EXPECT_TRUE(WaitForValue("both histories", ReadHistories, recorded));
    EXPECT_TRUE(WaitForValue(
        "both boxes' lists", [&] { return Histories{app.ComboItems(kPath1), app.ComboItems(kPath2)}; }, recorded));
    EXPECT_EQ(file1, app.ComboText(kPath1));
    EXPECT_EQ(file2, app.ComboText(kPath2));
    EXPECT_TRUE(app.NoMessageBoxWithin(300));

    // Auto-minimise is on by default: only the handle shows.
    RECT w = WorkArea();
    EXPECT_EQ(w.right - 15, BarRect(app.Bar()).left);
}

TEST_P(CodePageTest, FoldersArriveAsTwoArgumentsAndAutoMinimiseOffKeepsTheBar)
{
    // A trailing backslash (as the folder chooser gives for a drive) must
    // not escape the closing quote; the trail byte 0x5C of 表 is no backslash.
    std::string left = temp.Folder("left dir") + "\\";
    std::string right = temp.Folder("表");
    StoredSettings settings = Defaults();
    settings.hasAutoMinimize = true;
    settings.autoMinimize = 0;
    StartWith(settings);

    app.Command(32787); // Maximise
    RECT w = WorkArea();
    ASSERT_TRUE(WaitFor([&] { return BarRect(app.Bar()).left == w.left; }));

    app.SetComboText(kPath1, left);
    app.SetComboText(kPath2, right);
    app.Command(kCompare);
    std::string commandLine, folder;
    std::vector<std::string> arguments;
    ASSERT_TRUE(ReadStandInLog(log, commandLine, folder, arguments));
    EXPECT_EQ("\"" + StandInPath() + "\" \"" + left + "\\\" \"" + right + "\"", commandLine);
    EXPECT_EQ((std::vector<std::string>{left, right}), arguments);
    EXPECT_TRUE(WaitForValue("both histories", ReadHistories, Histories{{left}, {right}}));
    EXPECT_EQ(left, app.ComboText(kPath1));
    EXPECT_TRUE(app.NoMessageBoxWithin(300));
    RECT r = BarRect(app.Bar());
    EXPECT_EQ(w.left, r.left);
    EXPECT_EQ(w.top, r.top);
    EXPECT_EQ(w.right - w.left, r.right - r.left);

    // A bare drive is its root, not the folder the program started in; the
    // history keeps it as typed.
    ::DeleteFileA(log.c_str());
    app.SetComboText(kPath1, "c:");
    app.Command(kCompare);
    ASSERT_TRUE(ReadStandInLog(log, commandLine, folder, arguments));
    EXPECT_EQ((std::vector<std::string>{"c:\\", right}), arguments);
    EXPECT_TRUE(WaitForValue("both histories", ReadHistories, Histories{{"c:", left}, {right}}));
}

// Run under an English code page too (e2e_english).
class CompareTextsTest : public CompareTest {};

TEST_F(CompareTextsTest, StoredArgumentsAreExpandedAndAProgramThatComparesFilesOnlyGetsNoFolders)
{
    StoredSettings settings = Defaults();
    settings.fileName = temp.Folder("VS Code") + "\\Code.exe";
    ASSERT_TRUE(::CopyFileA(StandInPath().c_str(), settings.fileName.c_str(), FALSE));
    settings.hasArguments = true;
    settings.arguments = "-n %2 %1 %%";
    StartWith(settings);
    const bool en = ::GetACP() != 932;
    const std::string file = temp.File("a b.txt"), folder1 = temp.Folder("left"), folder2 = temp.Folder("right");
    // Two folders: refused after the other checks, nothing started, no history changed.
    for (const std::string& second : {file, folder2}) {
        app.SetComboText(kPath1, folder1);
        app.SetComboText(kPath2, second);
        app.Command(kCompare);
        ExpectMessage(second == file ? (en ? "A file cannot be compared with a folder." : "ファイルとフォルダを比較することはできません。")
                      : en ? "This program compares files only.\nTo compare folders, choose another program in Settings."
                           : "このプログラムが比較できるのはファイルだけです。\nフォルダを比較するには、[設定]でほかのプログラムを選んでください。");
    }
    EXPECT_TRUE(ReadHistories().first.empty());
    EXPECT_EQ(::GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES) << "nothing may have been started";
    // Two files: the stored line, the paths quoted where the placeholders stand.
    app.SetComboText(kPath1, file);
    app.SetComboText(kPath2, folder1 + "\\..\\" + "a b.txt");
    app.Command(kCompare);
    std::string commandLine, folder;
    std::vector<std::string> arguments;
    ASSERT_TRUE(ReadStandInLog(log, commandLine, folder, arguments));
    EXPECT_EQ("\"" + settings.fileName + "\" -n \"" + app.ComboText(kPath2) + "\" \"" + file + "\" %", commandLine);
    EXPECT_EQ((std::vector<std::string>{"-n", app.ComboText(kPath2), file, "%"}), arguments);
}

TEST_P(CodePageTest, SamePathTwiceAndJapaneseNamesReplaceEntriesCaseInsensitively)
{
    // A Shift-JIS name whose characters end in the byte 0x5C (表, ソ).
    std::string file = temp.File("表ソ data.txt");
    std::string upper = file;
    for (char& ch : upper) {
        if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    }
    StoredSettings settings = Defaults();
    settings.history1 = {"C:\\first", upper, "C:\\last"};
    StartWith(settings);

    app.SetComboText(kPath1, file);
    app.SetComboText(kPath2, file);
    app.Command(kCompare);
    std::string commandLine, folder;
    ASSERT_TRUE(ReadStandInLog(log, commandLine, folder));
    EXPECT_EQ("\"" + StandInPath() + "\" \"" + file + "\" \"" + file + "\"", commandLine);
    EXPECT_TRUE(WaitForValue("both histories", ReadHistories, Histories{{file, "C:\\first", "C:\\last"}, {file}}));
}

TEST_P(CodePageTest, TypingCompletesFromTheHistoryLoadedAtStart)
{
    // "c:\" alone completes already; the last character typed moves the
    // selection to the part after it (positions count characters: 表 is one).
    const struct {
        std::wstring typed;
        std::string completed;
        WORD selectedFrom, selectedTo;
    } rows[] = {{L"c:\\t", "C:\\Tools\\Alpha", 4, 14}, {L"c:\\表", "C:\\表ソ\\Alpha", 4, 11}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.completed);
        StoredSettings settings = Defaults();
        settings.history1 = {"C:\\Tools\\Alpha", "C:\\tools\\beta", "C:\\表ソ\\Alpha"};
        StartWith(settings);
        HWND edit = app.ComboEdit(kPath1);
        ASSERT_NE(nullptr, edit);
        // Each character as typed input arrives: a key press that the
        // program's own message loop translates into the character
        // (VK_PACKET carries it, so the translation does not depend on the
        // keyboard layout or on Shift).
        for (wchar_t ch : row.typed) {
            const LPARAM packet = static_cast<LPARAM>(ch) << 16;
            ::PostMessageW(edit, WM_KEYDOWN, VK_PACKET, packet | 1);
            ::PostMessageW(edit, WM_KEYUP, VK_PACKET, packet | 0xC0000001);
        }
        auto shown = [&] {
            const LRESULT sel = ::SendMessageA(app.Control(kPath1), CB_GETEDITSEL, 0, 0);
            return std::make_tuple(app.ComboText(kPath1), LOWORD(sel), HIWORD(sel));
        };
        EXPECT_TRUE(WaitForValue("the text and its selection", shown,
                                 std::make_tuple(row.completed, row.selectedFrom, row.selectedTo)));
        app.Stop();
    }
}

TEST_F(CompareTest, IconBoxShowsAFramedIconForExistingPathsOnly)
{
    std::string file = temp.File("shown.txt");
    StartWith(Defaults());
    app.Command(32787); // Maximise
    RECT w = WorkArea();
    ASSERT_TRUE(WaitFor([&] { return BarRect(app.Bar()).left == w.left; }));

    // Icon box 1 spans x L+132..L+149 and y t+1..t+18 of the client
    // (L = 15, t = (28 - 17) / 2 = 5); the bar's client is its window.
    RECT bar = BarRect(app.Bar());
    const int left = bar.left + 15 + 132, top = bar.top + 6, right = bar.left + 15 + 149, bottom = bar.top + 23;

    app.SetComboText(kPath1, file);
    auto frame = [&] {
        return std::vector<COLORREF>{ScreenPixel(left, top), ScreenPixel(left, bottom - 2),
                                     ScreenPixel(right - 1, top + 3), ScreenPixel(left + 3, bottom - 1)};
    };
    const COLORREF dark = RGB(128, 128, 128), light = RGB(255, 255, 255);
    EXPECT_TRUE(WaitForValue("the sunken frame's edges", frame, std::vector<COLORREF>{dark, dark, light, light}));

    app.SetComboText(kPath1, temp.Path() + "\\nothing here");
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(left, top) != RGB(128, 128, 128); }));
    // Clearing the histories (Settings' button asks so) empties the box, icon and all.
    app.SetComboText(kPath1, file);
    ASSERT_TRUE(WaitFor([&] { return ScreenPixel(left, top) == dark; }));
    ::SendMessageA(app.Bar(), WM_USER + 10, 0, 0);
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(left, top) != dark && app.ComboText(kPath1).empty(); }));
}

TEST_F(CompareTest, AFileDraggedFromAnotherProgramFillsTheBoxAndShowsItsIcon)
{
    // A real drag with the mouse, from this process onto path box 2, as
    // soon as the user can reach the box (the bar starts minimised).
    std::string file = temp.File("dropped.txt");
    StartWith(Defaults());
    app.Command(kMaximize);
    RECT w = WorkArea();
    ASSERT_TRUE(WaitFor([&] { return BarRect(app.Bar()).left == w.left; }));

    ComPtr<IDataObject> data = ShellDataObject({file});
    ASSERT_TRUE(data);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY),
              DragAndDrop(data.Get(), DROPEFFECT_COPY | DROPEFFECT_LINK, CentreOf(app.Control(kPath2))));
    ASSERT_TRUE(WaitFor([&] { return app.ComboText(kPath2) == file; }));

    // Icon box 2 starts at x L + w + 222 with w = (W - 320) / 2, y t + 1.
    RECT bar = BarRect(app.Bar());
    const int left = bar.left + 15 + (w.right - w.left - 320) / 2 + 222, top = bar.top + 6;
    EXPECT_TRUE(WaitFor([&] { return ScreenPixel(left, top) == RGB(128, 128, 128); }));
}

TEST_F(CompareTest, TextLongerThanAPathIsKeptWholeAndReportedAsMissing)
{
    // Such a text can arrive by a drop (the typing limit does not apply);
    // it stays whole in the box and Compare reports it like any missing path.
    std::string file = temp.File("short.txt");
    std::string longText = "C:\\" + std::string(300, 'x') + "\\file.txt";
    StartWith(Defaults());
    app.SetComboText(kPath1, longText);
    app.SetComboText(kPath2, file);
    app.Command(kCompare);
    ExpectMessage("比較ファイル１に設定されたファイル、またはフォルダは存在しません。");
    EXPECT_EQ(longText, app.ComboText(kPath1));
    EXPECT_TRUE(ReadHistory(1).empty());
}

TEST_F(CompareTest, PathsTheCodePageCannotHoldAreRefusedAndTheirHistoryEntriesKept)
{
    // Code page 932 has no "é": the system would hand on "cafe", another
    // existing folder, and write that back into the history. So it is where
    // the program runs in the system's code page.
    ASSERT_FALSE((program = ClassicCopy(temp.Path())).empty());
    const std::wstring cafe = ToWide(temp.Path()) + L"\\café", file = cafe + L"\\y.txt";
    ASSERT_TRUE(::CreateDirectoryW(cafe.c_str(), nullptr));
    UniqueHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    temp.Folder("cafe");
    const std::string file1 = temp.File("one.txt"), file2 = temp.File("two.txt");
    StoredSettings settings = Defaults();
    settings.history1 = {file1, "stored below in UTF-16", file2};
    ResetRegistry(settings);
    WriteStoredHistoryEntry(1, 2, file);
    ASSERT_TRUE(app.Start(log, program));
    ASSERT_TRUE(app.WaitForBar());
    EXPECT_EQ((std::vector<std::string>{file1, file2}), app.ComboItems(kPath1));
    app.Command(kMaximize);
    ASSERT_TRUE(WaitFor([&] { return BarRect(app.Bar()).left == WorkArea().left; }));

    // Dropped from the shell or chosen in a file chooser, it is refused with
    // a word, and nothing changes.
    app.SetComboText(kPath1, file2);
    HWND dialog = nullptr;
    const struct {
        const char* what;
        std::function<HWND()> target;
        const char* chooser; // the file chooser's title; none: dropped
    } drops[] = {
        {"onto path box 1", [&] { return app.Control(kPath1); }, nullptr},
        {"for path 1", [&] { app.Command(32772); return app.Control(kPath1); }, "比較ファイルの選択"},
        {"onto the WinDiff file name field of Settings", [&] {
             app.Command(32771);
             dialog = app.WaitForWindow("#32770", "設定");
             return ::GetDlgItem(dialog, kPathField);
         }, nullptr},
        {"with Browse in Settings", [&] { ClickButton(::GetDlgItem(dialog, kBrowse)); return ::GetDlgItem(dialog, kPathField); },
         "Windiffファイルの選択"},
    };
    for (const auto& drop : drops) {
        SCOPED_TRACE(drop.what);
        HWND target = drop.target();
        ASSERT_NE(nullptr, target);
        const std::string before = WindowText(target);
        ComPtr<IDataObject> data = ShellDataObject(std::vector<std::wstring>{file});
        if (HWND chooser = drop.chooser ? app.WaitForWindow("#32770", drop.chooser) : nullptr) {
            OpenInChooser(chooser, file);
            EXPECT_TRUE(WaitFor([&] { return !::IsWindow(chooser); }));
        } else
            EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE),
                      DragAndDrop(data.Get(), DROPEFFECT_COPY | DROPEFFECT_LINK, CentreOf(target)));
        MessageBoxInfo box;
        ASSERT_TRUE(app.WaitForMessageBox(box, kWaitMs, ::GetParent(target)));
        EXPECT_EQ("このパスは使用できません。Unicode 対応ではないプログラムの言語で扱えない文字が含まれています。", box.text);
        ASSERT_TRUE(app.DismissMessageBox(box));
        EXPECT_EQ(before, WindowText(target));
    }
    ClickButton(::GetDlgItem(dialog, IDCANCEL));
    ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));

    // Typed, it stays as typed, and Compare refuses it.
    for (wchar_t ch : file) ::PostMessageW(app.ComboEdit(kPath2), WM_CHAR, ch, 1);
    ASSERT_TRUE(WaitFor([&] { return WindowTextW(app.ComboEdit(kPath2)) == file; }));
    app.Command(kCompare);
    ExpectMessage("このパスは使用できません。Unicode 対応ではないプログラムの言語で扱えない文字が含まれています。");
    EXPECT_TRUE(ReadHistoryW(2).empty());

    // A Compare keeps the entry the box could not show, in its place.
    app.SetComboText(kPath2, file1);
    app.Command(kCompare);
    EXPECT_TRUE(WaitForValue("both histories", ReadHistoriesW,
                             HistoriesW{{ToWide(file2), ToWide(file1), file}, {ToWide(file1)}}));
}

TEST_F(CompareTest, PathsInAnyScriptReachWinDiffAndTheHistoriesUnchanged)
{
    // Names with é, Hangul and an emoji, which neither code page 932 nor
    // 1252 holds, on every way into the boxes: the program runs in UTF-8.
    // The stand-in records what a Unicode comparison program receives.
    const std::wstring folder = ToWide(temp.Path()) + L"\\Café 서울 😀";
    const std::wstring file1 = folder + L"\\naïve 한글 😀.txt", file2 = folder + L"\\Über 🎉.txt";
    ASSERT_TRUE(::CreateDirectoryW(folder.c_str(), nullptr));
    for (const std::wstring& file : {file1, file2})
        ASSERT_TRUE(UniqueHandle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    struct UnicodeStandIn {
        UnicodeStandIn() { ::SetEnvironmentVariableA("PAIRMATE_STANDIN_UNICODE", "1"); }
        ~UnicodeStandIn() { ::SetEnvironmentVariableA("PAIRMATE_STANDIN_UNICODE", nullptr); }
    } unicode;
    // Beside the entry to complete: one written on code page 932 (listed
    // and kept) and one with a lone surrogate, no text of any code page
    // (kept as stored, not listed).
    const std::wstring stored932 = L"C:\\表ソ", unreadable = std::wstring(L"C:\\x") + wchar_t(0xD800);
    auto slideOutAndType = [&](const std::wstring& first, const std::function<void()>& intoFirst) {
        SendMouse(MOUSEEVENTF_LEFTDOWN, {WindowRect(app.Bar()).left + 7, WindowRect(app.Bar()).top + 14});
        SendMouse(MOUSEEVENTF_LEFTUP, {WindowRect(app.Bar()).left + 7, WindowRect(app.Bar()).top + 14});
        ASSERT_TRUE(WaitForValue("the window keys reach", KeyTarget, app.ComboEdit(kPath1)));
        intoFirst();
        ASSERT_TRUE(WaitForValue("box 1", [&] { return WindowTextW(app.Control(kPath1)); }, first));
        PressKeys({VK_TAB});
        ASSERT_TRUE(WaitForValue("the window keys reach", KeyTarget, app.ComboEdit(kPath2)));
        TypeText(file2);
        PressKeys({VK_RETURN});
    };
    const struct {
        const char* what;
        std::wstring arguments;
        std::function<void()> enter;
    } routes[] = {
        {"the command line", L"\"" + file1 + L"\" \"" + file2 + L"\"", [] {}},
        {"a shell drop, after refused drops of no text of the code page, and the keyboard", L"", [&] {
             slideOutAndType(file1, [&] {
                 for (const auto& bad : {TextDataObject("C:\\\xC3("), TextDataObject(unreadable)})
                     EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_NONE),
                               DragAndDrop(bad.Get(), DROPEFFECT_COPY, CentreOf(app.Control(kPath1))));
                 ComPtr<IDataObject> data = ShellDataObject(std::vector<std::wstring>{file1});
                 EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY),
                           DragAndDrop(data.Get(), DROPEFFECT_COPY, CentreOf(app.Control(kPath1))));
             });
         }},
        {"completion from the history and the keyboard", L"", [&] {
             slideOutAndType(file1, [&] { TypeText(folder + L"\\na"); });
         }},
    };
    for (const auto& route : routes) {
        SCOPED_TRACE(route.what);
        StoredSettings settings = Defaults();
        settings.history1 = {"1", "2", "3"};
        ResetRegistry(settings);
        WriteStoredHistoryEntry(1, 1, file1);
        WriteStoredHistoryEntry(1, 2, stored932);
        WriteStoredHistoryEntry(1, 3, unreadable);
        ::DeleteFileA(log.c_str());
        ASSERT_TRUE(app.Start(log, std::string(), route.arguments));
        ASSERT_TRUE(app.WaitForBar());
        route.enter();
        EXPECT_EQ((std::vector<std::wstring>{file1, file2}), ReadUnicodeArguments(log));
        EXPECT_TRUE(WaitForValue("both histories", ReadHistoriesW, HistoriesW{{file1, stored932, unreadable}, {file2}}));
        EXPECT_TRUE(WaitForValue("box 1's list", [&] { return app.ComboItemsW(kPath1); },
                                 std::vector<std::wstring>{file1, stored932}));
        EXPECT_EQ(file1, WindowTextW(app.Control(kPath1)));
        EXPECT_EQ(file2, WindowTextW(app.Control(kPath2)));
        app.Stop();
    }
}
