// Paths on the command line, as Explorer's Send To and scripts pass them: to
// a first copy of the program and to the bar that runs already, which takes
// them once it is back from any dialog.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "framework/CodePage.h"

namespace {

class CommandLineTest : public ::testing::Test {
protected:
    TempFolder temp;
    std::string log = temp.Path() + "\\standin.log";
    PairmateProcess app;

    void SetUp() override
    {
        StoredSettings settings;
        settings.fileName = StandInPath();
        ResetRegistry(settings);
    }
    // The arguments WinDiff was started with, once it was.
    std::vector<std::string> WinDiffArguments()
    {
        std::string commandLine, folder;
        std::vector<std::string> arguments;
        ReadStandInLog(log, commandLine, folder, arguments);
        return arguments;
    }
    // A second start with `arguments`, which hands them to the running bar
    // and ends.
    void StartAgain(const std::string& arguments)
    {
        PairmateProcess second;
        ASSERT_TRUE(second.Start(log, std::string(), ToWide(arguments)));
        EXPECT_TRUE(second.WaitForExit(kStartMs));
        EXPECT_FALSE(second.WaitForBar(0));
    }
};

} // namespace

TEST_F(CommandLineTest, TwoPathsCompareAtOnceAndMoreThanTwoAreRefused)
{
    // Relative paths are the caller's; a Shift-JIS name ending in the byte
    // 0x5C (表) and spaces arrive as they are.
    const std::string file1 = temp.File("one.txt"), file2 = temp.Folder("表 ソ") + "\\two file.txt";
    temp.File("表 ソ\\two file.txt");
    const struct {
        std::string arguments;
        std::vector<std::string> compared; // none: refused
    } rows[] = {
        {"\"" + file1 + "\" \"" + file2 + "\"", {file1, file2}},
        {"one.txt \"表 ソ\\two file.txt\"", {file1, file2}},
        {"a b c", {}},
        {"/x \"" + file1 + "\"", {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.arguments);
        ::DeleteFileA(log.c_str());
        ASSERT_TRUE(app.Start(log, std::string(), ToWide(row.arguments), temp.Path()));
        if (row.compared.empty()) {
            MessageBoxInfo box;
            ASSERT_TRUE(app.WaitForMessageBox(box)) << "the program " << (app.WaitForExit(0) ? "has ended" : "runs");
            EXPECT_EQ("Pairmate", box.caption);
            EXPECT_EQ("Pairmateに指定できるパスは、１つまたは２つです。", box.text);
            ASSERT_TRUE(app.DismissMessageBox(box));
            EXPECT_TRUE(app.WaitForExit(kWaitMs));
            EXPECT_FALSE(app.WaitForBar(0));
            EXPECT_EQ(::GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES);
        } else {
            ASSERT_TRUE(app.WaitForBar());
            EXPECT_EQ(row.compared, WinDiffArguments());
            EXPECT_TRUE(WaitForValue("both histories", ReadHistories, Histories{{file1}, {file2}}));
        }
        app.Stop();
    }

    // Paths of nothing: Compare says so; the bar closed meanwhile (as an
    // installer closes it) ends the program cleanly, the message box with it.
    ASSERT_TRUE(app.Start(log, std::string(), L"X:\\missing1 X:\\missing2"));
    MessageBoxInfo box;
    ASSERT_TRUE(app.WaitForBar() && app.WaitForMessageBox(box));
    EXPECT_EQ("比較ファイル１に設定されたファイル、またはフォルダは存在しません。", box.text);
    ::PostMessageA(app.Bar(), WM_CLOSE, 0, 0);
    ASSERT_TRUE(app.WaitForExit(kWaitMs));
    DWORD code = 1;
    EXPECT_TRUE(::GetExitCodeProcess(app.Process(), &code) && code == 0) << code;
}

TEST_F(CommandLineTest, OnePathWaitsInTheSlidOutBarForTheNextAndARunningBarTakesPathsAfterItsDialog)
{
    const std::string file1 = temp.File("one.txt"), file2 = temp.File("two.txt");
    ASSERT_TRUE(app.Start(log, std::string(), ToWide("\"" + file1 + "\"")));
    ASSERT_TRUE(app.WaitForBar());
    ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == WorkAreaRect().left; }));
    EXPECT_EQ(file1, app.ComboText(kPath1));
    EXPECT_TRUE(WaitForValue("the focus", [&] { return app.FocusWindow(); }, app.ComboEdit(kPath2)));

    StartAgain("\"" + file2 + "\"");
    EXPECT_EQ((std::vector<std::string>{file1, file2}), WinDiffArguments());

    // The Settings dialog is open: the paths wait until it has closed.
    ::DeleteFileA(log.c_str());
    app.Command(32771);
    HWND dialog = app.WaitForWindow("#32770", "設定");
    ASSERT_NE(nullptr, dialog);
    StartAgain("\"" + file2 + "\" \"" + file1 + "\"");
    auto dialogs = [&] {
        size_t shown = 0;
        for (HWND hwnd : app.Windows()) shown += WindowClass(hwnd) == "#32770" && ::IsWindowVisible(hwnd);
        return shown;
    };
    EXPECT_FALSE(WaitFor([&] { return dialogs() > 1; }, 1000)) << "no second dialog on top";
    EXPECT_EQ(::GetFileAttributesA(log.c_str()), INVALID_FILE_ATTRIBUTES);
    ClickButton(::GetDlgItem(dialog, IDCANCEL));
    EXPECT_EQ((std::vector<std::string>{file2, file1}), WinDiffArguments());
}
