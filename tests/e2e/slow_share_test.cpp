// The bar with paths on a slow share (\\slowhost\share, every lookup sleeps
// a second: scripts/slow-share.sh) and with a comparison program slow to
// become ready: it keeps handling messages, shows each icon when its answer
// comes, and Compare and the Settings dialog give today's results. The share cases are skipped
// where the test run could not mount it.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "support/pump.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

constexpr DWORD kAnswerMs = 500; // the longest a posted message may wait
constexpr DWORD kShareMs = 60000;

class SlowShareTest : public ::testing::Test {
protected:
    void TearDown() override
    {
        if (!data.empty()) SetDelay("0");
        app.Stop();
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_READY_MS", nullptr);
    }
    // The share with a.txt and b.txt, fast until SetDelay("1").
    bool MountShare()
    {
        const char *s = std::getenv("PAIRMATE_SLOW_SHARE"), *d = std::getenv("PAIRMATE_SLOW_SHARE_DATA");
        if (!s || !d) return false;
        share = s;
        data = d;
        SetDelay("0");
        for (const char* name : {"\\a.txt", "\\b.txt"}) ::CopyFileA(local.c_str(), (data + name).c_str(), FALSE);
        return true;
    }
    void SetDelay(const char* seconds)
    {
        UniqueHandle h(::CreateFileA((data + "\\.delay").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        DWORD written = 0;
        ::WriteFile(h.Get(), seconds, static_cast<DWORD>(std::strlen(seconds)), &written, nullptr);
    }
    // The bar maximised, with both paths in their boxes.
    void Start(DWORD autoMinimize, const std::string& p1, const std::string& p2, const std::string& program = "")
    {
        StoredSettings settings;
        settings.fileName = program.empty() ? StandInPath() : program;
        settings.hasAutoMinimize = true;
        settings.autoMinimize = autoMinimize;
        ResetRegistry(settings);
        ASSERT_TRUE(app.Start(log));
        ASSERT_TRUE(app.WaitForBar());
        app.Command(kMaximize);
        ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == WorkAreaRect().left; }));
        app.SetComboText(kPath1, p1);
        app.SetComboText(kPath2, p2);
    }
    // The longest wait of a posted message until `done`.
    DWORD LongestDelayUntil(const std::function<bool()>& done)
    {
        DWORD longest = 0;
        for (const DWORD start = ::GetTickCount(); !done() && ::GetTickCount() - start < kShareMs; ::Sleep(50))
            longest = std::max(longest, PostedMessageDelayMs(app.ComboEdit(kPath2)));
        return longest;
    }
    bool Started() const { return ::GetFileAttributesA(log.c_str()) != INVALID_FILE_ATTRIBUTES; }
    bool Icon1Shown() const // the dark edge of the icon box's sunken frame
    {
        const RECT bar = WindowRect(app.Bar());
        return ScreenPixel(bar.left + 15 + 132, bar.top + 6) == RGB(128, 128, 128);
    }

    TempFolder temp;
    std::string local = temp.File("local.txt"), log = temp.Path() + "\\standin.log";
    std::string share, data;
    PairmateProcess app;
};

} // namespace

TEST_F(SlowShareTest, KeysAreTakenAtOnceAndOnlyTheNewestTextsIconShows)
{
    if (!MountShare()) GTEST_SKIP() << "no slow share in this run";
    Start(0, "", "x");
    SetDelay("1");
    // Typed key by key: each key is a new text to look up.
    const std::string path = share + "\\a.txt";
    HWND edit = app.ComboEdit(kPath1);
    DWORD longest = 0;
    for (char c : path) {
        ::PostMessageA(edit, WM_CHAR, static_cast<BYTE>(c), 1);
        longest = std::max(longest, PostedMessageDelayMs(edit));
    }
    EXPECT_EQ(path, app.ComboText(kPath1));
    EXPECT_LT(longest, kAnswerMs);
    EXPECT_TRUE(WaitFor([&] { return Icon1Shown(); }, kShareMs));

    // A missing name typed while the existing one is looked up: that answer
    // comes for a text the box no longer holds, and is dropped.
    app.SetComboText(kPath1, path + "x");
    EXPECT_TRUE(WaitFor([&] { return !Icon1Shown(); }, kShareMs));
    app.SetComboText(kPath1, path);
    app.SetComboText(kPath1, share + "\\missing.txt");
    EXPECT_FALSE(WaitFor([&] { return Icon1Shown(); }, 12000)) << "an answer for an older text";
}

TEST_F(SlowShareTest, CompareAnswersMeanwhileStartsOnceAndClosingStartsNothing)
{
    if (!MountShare()) GTEST_SKIP() << "no slow share in this run";
    const std::string a = share + "\\a.txt", b = share + "\\b.txt";
    Start(1, a, b);
    SetDelay("1");
    app.Command(kCompare);
    app.Command(kCompare);
    app.PressEnterIn(kPath1);
    EXPECT_LT(LongestDelayUntil([&] { return Started(); }), kAnswerMs);
    std::string commandLine, folder;
    ASSERT_TRUE(ReadStandInLog(log, commandLine, folder, kShareMs));
    EXPECT_NE(std::string::npos, commandLine.find("\"" + a + "\" \"" + b + "\"")) << commandLine;
    EXPECT_TRUE(WaitForValue("the histories", [] { return ReadHistories(); }, Histories({a}, {b}), kShareMs));
    EXPECT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left > WorkAreaRect().left + 100; })); // slid in
    ::DeleteFileA(log.c_str());
    EXPECT_FALSE(WaitFor([&] { return Started(); }, 3000)) << "started a second time";

    // Closed while the next Compare tests its paths: it ends, and starts nothing.
    app.Command(kCompare);
    ASSERT_LT(PostedMessageDelayMs(app.ComboEdit(kPath2)), kAnswerMs);
    ::PostMessageA(app.Bar(), WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(app.WaitForExit(kShareMs));
    EXPECT_TRUE(::GetExitCodeProcess(app.Process(), &code) && code == 0) << code;
    SetDelay("0");
    EXPECT_FALSE(WaitFor([&] { return Started(); }, 3000)) << "started after the bar was closed";
}

TEST_F(SlowShareTest, AMissingFileOnTheShareIsReportedWhileTheBarAnswers)
{
    if (!MountShare()) GTEST_SKIP() << "no slow share in this run";
    Start(0, share + "\\a.txt", share + "\\gone.txt");
    SetDelay("1");
    app.Command(kCompare);
    MessageBoxInfo box;
    EXPECT_LT(LongestDelayUntil([&] { return app.WaitForMessageBox(box, 0); }), kAnswerMs);
    ASSERT_TRUE(app.WaitForMessageBox(box, kShareMs));
    EXPECT_EQ("比較ファイル２に設定されたファイル、またはフォルダは存在しません。", box.text);
    ASSERT_TRUE(app.DismissMessageBox(box));
    EXPECT_TRUE(ReadHistory(1).empty());
}

TEST_F(SlowShareTest, TheBarAnswersWhileTheProgramBecomesReadyAndThenSlidesIn)
{
    // Local paths, and a comparison program that takes 4 s to become ready.
    const std::string a = temp.File("a.txt"), b = temp.File("b.txt");
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_READY_MS", "4000");
    Start(1, a, b);
    app.Command(kCompare);
    ASSERT_TRUE(WaitFor([&] { return Started(); }));
    // Started, not yet ready: the bar answers, the histories wait.
    EXPECT_LT(PostedMessageDelayMs(app.ComboEdit(kPath1)), kAnswerMs);
    EXPECT_TRUE(ReadHistory(1).empty());
    EXPECT_TRUE(WaitForValue("the histories", [] { return ReadHistories(); }, Histories({a}, {b})));
    EXPECT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left > WorkAreaRect().left + 100; }));
}

TEST_F(SlowShareTest, SettingsAnswerWhileTheProgramFileOnTheShareIsLookedUpAndChecked)
{
    if (!MountShare()) GTEST_SKIP() << "no slow share in this run";
    const std::string program = share + "\\a.txt";
    Start(0, "", "x", program);
    SetDelay("1");
    // OK with the file gone from the share meanwhile, then with it there.
    for (const bool gone : {true, false}) {
        SCOPED_TRACE(gone ? "file gone" : "file there");
        app.Command(kSettings);
        HWND dialog = nullptr;
        EXPECT_LT(LongestDelayUntil([&] { return (dialog = app.WaitForWindow("#32770", "設定", 0)) != nullptr; }),
                  kAnswerMs);
        ASSERT_NE(nullptr, dialog);
        EXPECT_LT(PostedMessageDelayMs(::GetDlgItem(dialog, kArguments)), kAnswerMs);
        EXPECT_EQ(program, WindowText(::GetDlgItem(dialog, kPathField)));
        EXPECT_TRUE(WaitFor([&] { return ::IsWindowVisible(::GetDlgItem(dialog, kFileIcon)) != FALSE; }, kShareMs));
        if (gone) ::DeleteFileA((data + "\\a.txt").c_str());
        DeleteStoredValue("FileName"); // so that its writing shows
        ClickButton(::GetDlgItem(dialog, IDOK));
        ClickButton(::GetDlgItem(dialog, IDOK)); // while the first waits: nothing
        MessageBoxInfo box;
        EXPECT_LT(LongestDelayUntil([&] { return !::IsWindow(dialog) || app.WaitForMessageBox(box, 0, dialog); }),
                  kAnswerMs);
        std::string stored;
        if (!gone) {
            EXPECT_TRUE(WaitForValue("the stored file name", [] {
                std::string name;
                return ReadStoredString("FileName", name) ? name : std::string();
            }, program, kShareMs));
            break;
        }
        ASSERT_TRUE(app.WaitForMessageBox(box, kShareMs, dialog));
        EXPECT_EQ("Windiffのファイル名が設定されていません。", box.text);
        ASSERT_TRUE(app.DismissMessageBox(box));
        EXPECT_FALSE(app.WaitForMessageBox(box, 3000, dialog)) << "the second OK was not ignored";
        ASSERT_TRUE(::IsWindow(dialog));
        ClickButton(::GetDlgItem(dialog, IDCANCEL));
        EXPECT_TRUE(WaitFor([&] { return !::IsWindow(dialog); }));
        EXPECT_FALSE(ReadStoredString("FileName", stored)) << "Cancel wrote " << stored;
        ::CopyFileA(local.c_str(), (data + "\\a.txt").c_str(), FALSE);
    }
}
