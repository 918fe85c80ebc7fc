// The check right after start-up that WinDiff can be found, and the
// Initial-setup dialog that asks for it: when it shows and when it does not,
// how it looks over the bar, and where each way out of it leads.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "framework/CodePage.h"
#include "framework/Handles.h"

#include <functional>

namespace {

const char kSetupCaption[] = "初期設定";
const char kChooserCaption[] = "Windiffファイルの選択";
const char kNoFileMessage[] = "Windiffのファイル名が設定されていません。";

// True when `upper` lies above `lower` in the z-order of top-level windows.
bool IsAbove(HWND upper, HWND lower)
{
    for (HWND hwnd = ::GetWindow(upper, GW_HWNDNEXT); hwnd; hwnd = ::GetWindow(hwnd, GW_HWNDNEXT)) {
        if (hwnd == lower) return true;
    }
    return false;
}

class StartupCheckTest : public ::testing::Test {
protected:
    TempFolder temp;
    std::string log = temp.Path() + "\\standin.log";
    ScopedMicrosoftWinDiffPath microsoft; // no entry unless a test sets one
    PairmateProcess app;

    // WinMerge's entry for the current user, removed at the end (the tests'
    // registry has none of its own).
    bool SetWinMerge(const std::string& file)
    {
        RegKey key;
        return key.Create(HKEY_CURRENT_USER, "Software\\Thingamahoochie\\WinMerge", KEY_SET_VALUE) == 0 &&
               ::RegSetValueExA(key.Get(), "Executable", 0, REG_SZ, reinterpret_cast<const BYTE*>(file.c_str()),
                                static_cast<DWORD>(file.size() + 1)) == 0;
    }
    ~StartupCheckTest() override
    {
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Thingamahoochie\\WinMerge");
        ::RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Thingamahoochie");
    }

    void Start(const StoredSettings& settings)
    {
        ResetRegistry(settings);
        ASSERT_TRUE(app.Start(log));
        ASSERT_TRUE(app.WaitForBar());
    }
    static StoredSettings WithoutFileName()
    {
        StoredSettings s;
        s.hasFileName = false;
        return s;
    }

    // The check is posted to the bar while it is created; a command posted
    // now is handled after it, and once the command has moved the bar, any
    // setup dialog would already be on the screen.
    void WaitUntilStartupCheckRan()
    {
        app.Command(kMaximize);
        RECT work = WorkAreaRect();
        ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == work.left; }));
    }

    // The setup dialog as it first appears: over the visible bar, on top of
    // all windows, with an empty file name and no icon, the bar disabled.
    HWND WaitForSetupDialog()
    {
        HWND dialog = app.WaitForWindow("#32770", kSetupCaption);
        EXPECT_NE(nullptr, dialog) << "the setup dialog did not show";
        if (!dialog) return nullptr;
        EXPECT_TRUE(::IsWindowVisible(app.Bar()));
        EXPECT_FALSE(::IsWindowEnabled(app.Bar()));
        EXPECT_TRUE(::GetWindowLongPtrA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(IsAbove(dialog, app.Bar()));
        EXPECT_EQ("", WindowText(::GetDlgItem(dialog, kPathField)));
        HWND icon = ::GetDlgItem(dialog, kFileIcon);
        EXPECT_NE(nullptr, icon);
        EXPECT_FALSE(::IsWindowVisible(icon));
        return dialog;
    }

    // Leaves the dialog by `leave`: the program must end by itself, soon,
    // with the stored settings as they were.
    void ExpectLeavingEndsTheProgram(const std::function<void(HWND)>& leave)
    {
        HWND dialog = WaitForSetupDialog();
        ASSERT_NE(nullptr, dialog);
        leave(dialog);
        ASSERT_TRUE(app.WaitForExit(kWaitMs)) << "the program must end";
        DWORD code = 1;
        ::GetExitCodeProcess(app.Process(), &code);
        EXPECT_EQ(0u, code);
        DWORD dword = 0;
        EXPECT_FALSE(ReadStoredDword("AutoMinimized", dword));
        EXPECT_TRUE(ReadHistory(1).empty());
    }

    // OK in the setup dialog: `file` is stored once it has gone, the bar
    // goes on, and Compare starts `file` with both paths from now on.
    void ExpectOkStoresAndComparesWith(HWND dialog, const std::string& file)
    {
        ClickButton(::GetDlgItem(dialog, IDOK));
        ASSERT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
        EXPECT_TRUE(WaitForValue("the stored file name", [] { return StoredString("FileName"); }, file));
        EXPECT_FALSE(app.WaitForExit(0));
        EXPECT_TRUE(::IsWindowVisible(app.Bar()));
        EXPECT_TRUE(::IsWindowEnabled(app.Bar()));
        EXPECT_EQ("\"" + file + "\" \"" + temp.File("left.txt") + "\" \"" + temp.File("right.txt") + "\"",
                  CompareTwoFiles());
    }

    // Compares two files and returns the command line that started WinDiff.
    std::string CompareTwoFiles()
    {
        app.SetComboText(kPath1, temp.File("left.txt"));
        app.SetComboText(kPath2, temp.File("right.txt"));
        app.Command(kCompare);
        std::string commandLine, folder;
        EXPECT_TRUE(ReadStandInLog(log, commandLine, folder)) << "WinDiff was not started";
        return commandLine;
    }
};

} // namespace

TEST_F(StartupCheckTest, StoredFileNameOfAnExistingFileStartsWithoutSetup)
{
    StoredSettings settings;
    settings.fileName = StandInPath();
    Start(settings);
    WaitUntilStartupCheckRan();
    EXPECT_EQ(nullptr, app.WaitForWindow("#32770", "", 0));
    std::string stored;
    EXPECT_TRUE(ReadStoredString("FileName", stored));
    EXPECT_EQ(StandInPath(), stored);
}

TEST_F(StartupCheckTest, MicrosoftsEntryIsUsedWithoutSetupAndNeverStored)
{
    ASSERT_TRUE(microsoft.Set(StandInPath()));
    ASSERT_TRUE(SetWinMerge(temp.File("WinMergeU.exe"))); // found, but WinDiff's entry wins
    Start(WithoutFileName());
    WaitUntilStartupCheckRan();
    EXPECT_EQ(nullptr, app.WaitForWindow("#32770", "", 0));

    // WinDiff is the file that Microsoft's entry names.
    EXPECT_EQ(0u, CompareTwoFiles().find("\"" + StandInPath() + "\" "));
    std::string stored;
    EXPECT_FALSE(ReadStoredString("FileName", stored)) << stored;
}

TEST_F(StartupCheckTest, EmptyFileNameAsksAndOkStoresTheChosenFile)
{
    // An empty "FileName" is a stored answer: Microsoft's entry is not asked.
    ASSERT_TRUE(microsoft.Set(StandInPath()));
    StoredSettings settings;
    settings.fileName = "";
    Start(settings);
    HWND dialog = WaitForSetupDialog();
    ASSERT_NE(nullptr, dialog);

    // OK without a file: refused, over the dialog, which stays.
    ClickButton(::GetDlgItem(dialog, IDOK));
    MessageBoxInfo box;
    ASSERT_TRUE(app.WaitForMessageBox(box, kWaitMs, dialog));
    EXPECT_EQ("Pairmate", box.caption);
    EXPECT_EQ(kNoFileMessage, box.text);
    ASSERT_TRUE(app.DismissMessageBox(box));
    EXPECT_TRUE(::IsWindowVisible(dialog));
    std::string stored;
    ASSERT_TRUE(ReadStoredString("FileName", stored));
    EXPECT_EQ("", stored);

    // Browse: the file is typed into the chooser and opened.
    ClickButton(::GetDlgItem(dialog, kBrowse));
    HWND chooser = app.WaitForWindow("#32770", kChooserCaption);
    ASSERT_NE(nullptr, chooser);
    EXPECT_EQ(dialog, ::GetWindow(chooser, GW_OWNER));
    OpenInChooser(chooser, ToWide(StandInPath()));
    HWND field = ::GetDlgItem(dialog, kPathField);
    ASSERT_TRUE(WaitFor([&] { return WindowText(field) == StandInPath(); })) << WindowText(field);
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, kFileIcon)));
    EXPECT_FALSE(::IsWindow(chooser) && ::IsWindowVisible(chooser));

    ExpectOkStoresAndComparesWith(dialog, StandInPath());
}

TEST_F(StartupCheckTest, MicrosoftsPathNamingAFolderAsksAndCancelEndsTheProgram)
{
    ASSERT_TRUE(microsoft.Set(temp.Folder("windiff.exe")));
    Start(WithoutFileName());
    ExpectLeavingEndsTheProgram([](HWND dialog) { ClickButton(::GetDlgItem(dialog, IDCANCEL)); });
    std::string stored;
    EXPECT_FALSE(ReadStoredString("FileName", stored)) << stored;
}

TEST_F(StartupCheckTest, MicrosoftsPathNamingNoFileAsksAndEscEndsTheProgram)
{
    ASSERT_TRUE(microsoft.Set(temp.Path() + "\\missing\\windiff.exe"));
    Start(WithoutFileName());
    ExpectLeavingEndsTheProgram([&](HWND dialog) {
        // Esc where the keyboard focus is, as the keyboard delivers it.
        HWND focus = app.FocusWindow();
        HWND target = focus ? focus : dialog;
        ::PostMessageA(target, WM_KEYDOWN, VK_ESCAPE, 0x00010001);
        ::PostMessageA(target, WM_KEYUP, VK_ESCAPE, 0xC0010001);
    });
    std::string stored;
    EXPECT_FALSE(ReadStoredString("FileName", stored)) << stored;
}

TEST_F(StartupCheckTest, StoredFileNameOfAMissingFileAsksAndTheCloseBoxEndsTheProgram)
{
    StoredSettings settings;
    settings.fileName = temp.Path() + "\\gone\\windiff.exe";
    Start(settings);
    ExpectLeavingEndsTheProgram([](HWND dialog) { ::PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0); });
    std::string stored;
    EXPECT_TRUE(ReadStoredString("FileName", stored));
    EXPECT_EQ(settings.fileName, stored);
}

TEST_F(StartupCheckTest, ClosingTheBarFromOutsideWhileSetupAsksEndsTheProgramCleanly)
{
    Start(WithoutFileName());
    // As another program closes the window that it finds by its title.
    ExpectLeavingEndsTheProgram([&](HWND) { ::PostMessageA(app.Bar(), WM_CLOSE, 0, 0); });
    std::string stored;
    EXPECT_FALSE(ReadStoredString("FileName", stored)) << stored;
}

// Run under an English code page too (e2e_english).
class FoundProgramTextsTest : public StartupCheckTest {};

TEST_F(FoundProgramTextsTest, AFoundProgramIsOfferedWithItsIconAndNamedInTheNote)
{
    const std::string found = temp.Path() + "\\WinMergeU.exe";
    ASSERT_TRUE(::CopyFileA(StandInPath().c_str(), found.c_str(), FALSE));
    ASSERT_TRUE(SetWinMerge(found));
    Start(WithoutFileName());
    HWND dialog = app.WaitForWindow("#32770", std::string());
    ASSERT_NE(nullptr, dialog);
    EXPECT_EQ(found, WindowText(::GetDlgItem(dialog, kPathField)));
    EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(dialog, kFileIcon)));
    EXPECT_EQ(::GetACP() == 932 ? L"※「WinMerge」が見つかりました。[OK]ボタンで使用します。\n\n"
                                  L"・別のプログラムを使うときは、[参照]ボタンをクリックしてください。\n"
                                  L"・ファイル名の表示領域にドラッグアンドドロップで指定することもできます。"
                                : L"Pairmate found WinMerge: click OK to use it.\n\n- Or click Browse to choose "
                                  L"another program.\n- Or drag its file onto the file name field above.",
              WindowTextW(::GetWindow(::GetDlgItem(dialog, kBrowse), GW_HWNDNEXT)));
    ExpectOkStoresAndComparesWith(dialog, found);
}
