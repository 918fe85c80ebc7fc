// The Settings dialog and the About box of the running program: what they
// show, where they open, and what confirming, cancelling and clearing the
// histories leave behind in the bar and in the registry.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"
#include "support/drop_data.h"

#include <cstdlib>
#include <tuple>

namespace {

constexpr int kAutoMinimize = 1001;
constexpr int kClearHistory = 1002;
constexpr UINT kAbout = 57664;

const char kSettingsCaption[] = "設定";
const char kAboutCaption[] = "バージョン情報";

int ItemCount(HWND combo)
{
    return static_cast<int>(::SendMessageA(combo, CB_GETCOUNT, 0, 0));
}

bool IsChecked(HWND dialog, int id)
{
    return ::SendMessageA(::GetDlgItem(dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Opened centred on the desktop (to the pixel, as integer halves round).
void ExpectCentredOnDesktop(HWND window)
{
    RECT desktop = WindowRect(::GetDesktopWindow());
    RECT rc = WindowRect(window);
    EXPECT_LE(std::abs((rc.left + rc.right) - (desktop.left + desktop.right)), 1)
        << rc.left << ".." << rc.right;
    EXPECT_LE(std::abs((rc.top + rc.bottom) - (desktop.top + desktop.bottom)), 1)
        << rc.top << ".." << rc.bottom;
}

class DialogsTest : public ::testing::Test {
protected:
    TempFolder temp;
    PairmateProcess app;

    void Start(const StoredSettings& settings)
    {
        ResetRegistry(settings);
        ASSERT_TRUE(app.Start());
        ASSERT_TRUE(app.WaitForBar());
    }
    StoredSettings Defaults() const
    {
        StoredSettings s;
        s.fileName = StandInPath();
        return s;
    }
    HWND OpenSettings()
    {
        app.Command(kSettings);
        HWND dialog = app.WaitForWindow("#32770", ::GetACP() == 932 ? kSettingsCaption : "Settings");
        EXPECT_NE(nullptr, dialog) << "the Settings dialog did not open";
        return dialog;
    }
    // Presses OK or Cancel and waits until the dialog is gone.
    void Close(HWND dialog, int button)
    {
        ClickButton(::GetDlgItem(dialog, button));
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); })) << "the dialog stayed";
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowEnabled(app.Bar()) != FALSE; }));
    }
};

} // namespace

TEST_F(DialogsTest, SettingsShowTheStoredValuesAndOnlyOkWritesThem)
{
    StoredSettings settings = Defaults();
    settings.history1 = {"C:\\one", "C:\\two"};
    settings.history2 = {"C:\\three"};
    Start(settings);
    ASSERT_EQ(2, ItemCount(app.Control(kPath1)));

    HWND dialog = OpenSettings();
    ASSERT_NE(nullptr, dialog);
    // The dialog shows as it is made (its template is visible), the bar is
    // disabled right after.
    EXPECT_TRUE(WaitFor([&] { return !::IsWindowEnabled(app.Bar()); })) << "the bar takes input";
    ExpectCentredOnDesktop(dialog);
    EXPECT_EQ(StandInPath(), WindowText(::GetDlgItem(dialog, kPathField)));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, kFileIcon)));
    EXPECT_TRUE(IsChecked(dialog, kAutoMinimize)) << "auto-minimise is on when nothing is stored";

    // Switched off, then cancelled: nothing written, nothing changed.
    ClickButton(::GetDlgItem(dialog, kAutoMinimize));
    ASSERT_TRUE(WaitFor([&] { return !IsChecked(dialog, kAutoMinimize); }));
    Close(dialog, IDCANCEL);
    DWORD dword = 0;
    EXPECT_FALSE(ReadStoredDword("AutoMinimized", dword));
    EXPECT_EQ(2u, ReadHistory(1).size());

    // Switched off and confirmed: both values written, the unchanged file
    // name too (removed here so that its writing shows).
    dialog = OpenSettings();
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(IsChecked(dialog, kAutoMinimize)) << "Cancel must not change the switch";
    ClickButton(::GetDlgItem(dialog, kAutoMinimize));
    ASSERT_TRUE(WaitFor([&] { return !IsChecked(dialog, kAutoMinimize); }));
    DeleteStoredValue("FileName");
    Close(dialog, IDOK);
    // Written once the dialog has gone, the file name last.
    auto stored = [] {
        DWORD autoMinimize = 99;
        std::string fileName;
        const bool both = ReadStoredDword("AutoMinimized", autoMinimize) && ReadStoredString("FileName", fileName);
        return std::make_tuple(both, autoMinimize, fileName);
    };
    EXPECT_TRUE(WaitForValue("the stored settings", stored, std::make_tuple(true, DWORD(0), StandInPath())));
    EXPECT_EQ(2u, ReadHistory(1).size()) << "the histories are not the dialog's to change";

    dialog = OpenSettings();
    ASSERT_NE(nullptr, dialog);
    EXPECT_FALSE(IsChecked(dialog, kAutoMinimize)) << "the confirmed switch holds in the running program";
    // A long name of characters that take three bytes each in UTF-8 (the
    // program's code page) is read back whole.
    const std::wstring longName = ToWide(temp.Path()) + L"\\" + std::wstring(80, L'\x6F22') + L".exe";
    ASSERT_TRUE(UniqueHandle(::CreateFileW(longName.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr)));
    ::SendMessageW(::GetDlgItem(dialog, kPathField), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(longName.c_str()));
    Close(dialog, IDOK);
    EXPECT_TRUE(WaitForValue("the stored file name", [] { return StoredString("FileName"); }, ToAnsi(longName)));
}

// Run under an English code page too (e2e_english).
class ArgumentsTextsTest : public DialogsTest {};

TEST_F(ArgumentsTextsTest, ArgumentsShowTheLineInForceAndOkStoresOnlyWhatDiffersFromThePreset)
{
    const bool english = ::GetACP() != 932;
    StoredSettings settings = Defaults();
    ASSERT_TRUE(::CopyFileA(StandInPath().c_str(), (settings.fileName = temp.Folder("VS Code") + "\\Code.exe").c_str(), FALSE));
    Start(settings);
    // Each pass opens Settings, shows the line in force, and OK writes the
    // next line: refused without both placeholders, stored where it differs
    // from the preset, removed where equal (the label: TextsTest).
    const char* const lines[] = {"--diff %1 %2", "--diff %1", "--new-window --diff %1 %2", "--diff %1 %2"};
    for (int i = 1; i < 4; ++i) {
        HWND dialog = OpenSettings();
        ASSERT_NE(nullptr, dialog);
        HWND field = ::GetDlgItem(dialog, kArguments);
        EXPECT_EQ(lines[i == 3 ? 2 : 0], WindowText(field));
        ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lines[i]));
        if (i == 1) {
            ClickButton(::GetDlgItem(dialog, IDOK));
            MessageBoxInfo box;
            ASSERT_TRUE(app.WaitForMessageBox(box, kWaitMs, dialog));
            EXPECT_EQ(english ? "The arguments must contain %1 and %2, which stand for the two paths to compare."
                              : "引数には、比較する２つのパスを表す %1 と %2 を含めてください。", box.text);
            ASSERT_TRUE(app.DismissMessageBox(box));
            EXPECT_EQ("(none)", StoredString("Arguments"));
            ::SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(lines[0]));
        }
        Close(dialog, IDOK);
        EXPECT_TRUE(WaitForValue("the stored arguments", [] { return StoredString("Arguments"); },
                                 std::string(i == 2 ? lines[2] : "(none)")));
    }
}

TEST_F(DialogsTest, ClearHistoryEmptiesBothBoxesAtOnceAndStaysAfterCancel)
{
    StoredSettings settings = Defaults();
    settings.history1 = {"C:\\one", "C:\\two"};
    settings.history2 = {"C:\\three"};
    Start(settings);
    app.SetComboText(kPath1, "C:\\typed");

    HWND dialog = OpenSettings();
    ASSERT_NE(nullptr, dialog);
    HWND clear = ::GetDlgItem(dialog, kClearHistory);
    EXPECT_TRUE(::IsWindowEnabled(clear));
    ClickButton(clear);
    // The button greys after the owner has cleared: both boxes are empty by then.
    ASSERT_TRUE(WaitFor([&] { return !::IsWindowEnabled(clear); }));
    EXPECT_EQ(0, ItemCount(app.Control(kPath1)));
    EXPECT_EQ(0, ItemCount(app.Control(kPath2)));
    EXPECT_EQ("", app.ComboText(kPath1));
    DWORD size = 99;
    ASSERT_TRUE(ReadHistorySize(1, size));
    EXPECT_EQ(0u, size);
    size = 99;
    ASSERT_TRUE(ReadHistorySize(2, size));
    EXPECT_EQ(0u, size);

    Close(dialog, IDCANCEL);
    EXPECT_EQ(0, ItemCount(app.Control(kPath1)));
    EXPECT_EQ(0, ItemCount(app.Control(kPath2)));
    EXPECT_TRUE(ReadHistory(1).empty());
    EXPECT_TRUE(ReadHistory(2).empty());
    DWORD dword = 0;
    EXPECT_FALSE(ReadStoredDword("AutoMinimized", dword));

    // A new showing of the dialog offers the button again.
    dialog = OpenSettings();
    ASSERT_NE(nullptr, dialog);
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, kClearHistory)));
    Close(dialog, IDCANCEL);
}

TEST_F(DialogsTest, SettingsWithAVanishedFileShowNoPathAndRefuseOk)
{
    std::string winDiff = temp.File("windiff.exe");
    StoredSettings settings = Defaults();
    settings.fileName = winDiff;
    Start(settings);
    ASSERT_TRUE(::DeleteFileA(winDiff.c_str()));

    HWND dialog = OpenSettings();
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ("", WindowText(::GetDlgItem(dialog, kPathField)));
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dialog, kFileIcon)));
    EXPECT_TRUE(::IsWindowEnabled(::GetDlgItem(dialog, kBrowse)));

    ClickButton(::GetDlgItem(dialog, IDOK));
    MessageBoxInfo box;
    ASSERT_TRUE(app.WaitForMessageBox(box, kWaitMs, dialog));
    EXPECT_EQ("Pairmate", box.caption);
    EXPECT_EQ("Windiffのファイル名が設定されていません。", box.text);
    ASSERT_TRUE(app.DismissMessageBox(box));
    EXPECT_TRUE(::IsWindowVisible(dialog));

    Close(dialog, IDCANCEL);
    std::string stored;
    ASSERT_TRUE(ReadStoredString("FileName", stored));
    EXPECT_EQ(winDiff, stored);
    DWORD dword = 0;
    EXPECT_FALSE(ReadStoredDword("AutoMinimized", dword));
}

TEST_F(DialogsTest, TextDraggedFromAnotherProgramReachesTheFileFieldAndTheBoxes)
{
    // Real drags from this process. An editor's text offers copy and move:
    // the file field inside its group box takes it as a copy.
    std::string file = temp.File("windiff.exe");
    Start(Defaults());
    HWND dialog = OpenSettings();
    ASSERT_NE(nullptr, dialog);
    HWND field = ::GetDlgItem(dialog, kPathField);
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_COPY),
              DragAndDrop(TextDataObject(file).Get(), DROPEFFECT_COPY | DROPEFFECT_MOVE, CentreOf(field)));
    EXPECT_TRUE(WaitFor([&] { return WindowText(field) == file; })) << WindowText(field);
    Close(dialog, IDCANCEL);

    // A source that offers only a link: the combo box takes it as one.
    app.Command(kMaximize);
    ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == WorkAreaRect().left; }));
    EXPECT_EQ(static_cast<DWORD>(DROPEFFECT_LINK),
              DragAndDrop(TextDataObject("D:\\linked").Get(), DROPEFFECT_LINK, CentreOf(app.Control(kPath2))));
    EXPECT_TRUE(WaitFor([&] { return app.ComboText(kPath2) == "D:\\linked"; })) << app.ComboText(kPath2);
}

TEST_F(DialogsTest, ClosingTheBarFromOutsideWhileSettingsAreOpenEndsTheProgramCleanly)
{
    Start(Defaults());
    HWND dialog = OpenSettings();
    ASSERT_NE(nullptr, dialog);
    ClickButton(::GetDlgItem(dialog, kAutoMinimize));
    // As another program closes the window that it finds by its title.
    ::PostMessageA(app.Bar(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(kWaitMs)) << "the program must end";
    DWORD code = 1;
    ::GetExitCodeProcess(app.Process(), &code);
    EXPECT_EQ(0u, code);
    DWORD dword = 0;
    EXPECT_FALSE(ReadStoredDword("AutoMinimized", dword)) << "nothing is confirmed by ending";
}

TEST_F(DialogsTest, AScreenReadersClickOnTheBarDoesNothingWhileADialogIsOpen)
{
    Start(Defaults());
    HWND toolbar = app.Control(500); // Exit, Minimise, About, Settings, Compare
    auto dialogs = [&] {
        int count = 0;
        for (HWND hwnd : app.Windows()) count += WindowClass(hwnd) == "#32770" && ::IsWindowVisible(hwnd);
        return count;
    };
    for (UINT command : {kSettings, kAbout}) {
        app.Command(command);
        HWND dialog = app.WaitForWindow("#32770", std::string());
        ASSERT_NE(nullptr, dialog);
        for (LONG button : {1, 3, 4}) EXPECT_EQ(E_FAIL, AccessibleDefaultAction(toolbar, button)) << button;
        // No second dialog, and the program still runs.
        EXPECT_FALSE(WaitFor([&] { return dialogs() != 1 || app.WaitForExit(0); }, 1500)) << dialogs();
        Close(dialog, command == kSettings ? IDCANCEL : IDOK);
    }
    EXPECT_EQ(S_OK, AccessibleDefaultAction(toolbar, 4));
    EXPECT_NE(nullptr, app.WaitForWindow("#32770", kSettingsCaption));
}

TEST_F(DialogsTest, AboutBoxShowsNameAndVersionCentredOnTheDesktop)
{
    Start(Defaults());
    app.Command(kAbout);
    HWND about = app.WaitForWindow("#32770", kAboutCaption);
    ASSERT_NE(nullptr, about);
    EXPECT_FALSE(::IsWindowEnabled(app.Bar()));
    ExpectCentredOnDesktop(about);

    std::vector<std::string> texts;
    for (HWND child = ::GetWindow(about, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (WindowClass(child) == "Static" && ::IsWindowVisible(child)) texts.push_back(WindowText(child));
    }
    auto shows = [&](const std::string& text) {
        for (const std::string& t : texts) {
            if (t == text) return true;
        }
        return false;
    };
    EXPECT_TRUE(shows("Pairmate"));
    EXPECT_TRUE(shows("version 2.00"));

    Close(about, IDOK);
}
