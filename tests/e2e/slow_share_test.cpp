// The bar with paths on a slow share (\\slowhost\share, where every lookup
// sleeps: scripts/slow-share.sh) and with a comparison program slow to
// become ready: it keeps taking keys and messages, shows each icon when its
// answer comes, and Compare gives today's results. Skipped where the test
// run could not mount the share.
#include <gtest/gtest.h>

#include "e2e/PairmateProcess.h"
#include "e2e/WaitForValue.h"
#include "support/pump.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

// Longer than any wait of the bar for its own thread; a lookup on the share
// takes several seconds.
constexpr DWORD kAnswerMs = 500;
constexpr DWORD kShareMs = 60000;

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

void SetShareDelay(const std::string& data, const char* seconds)
{
    const std::string file = data + "\\.delay";
    HANDLE h = ::CreateFileA(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    DWORD written = 0;
    ::WriteFile(h, seconds, static_cast<DWORD>(std::strlen(seconds)), &written, nullptr);
    ::CloseHandle(h);
}

class SlowShareTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        share = Env("PAIRMATE_SLOW_SHARE");
        data = Env("PAIRMATE_SLOW_SHARE_DATA");
        if (share.empty() || data.empty()) GTEST_SKIP() << "no slow share in this run (see scripts/slow-share.sh)";
        SetShareDelay(data, "0");
        ::DeleteFileA((data + "\\a.txt").c_str());
        ::DeleteFileA((data + "\\b.txt").c_str());
        ::CopyFileA(local.c_str(), (data + "\\a.txt").c_str(), FALSE);
        ::CopyFileA(local.c_str(), (data + "\\b.txt").c_str(), FALSE);
    }
    void TearDown() override
    {
        if (!data.empty()) SetShareDelay(data, "0");
        app.Stop();
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_READY_MS", nullptr);
    }
    void Start(DWORD autoMinimize = 0)
    {
        StoredSettings settings;
        settings.fileName = StandInPath();
        settings.hasAutoMinimize = true;
        settings.autoMinimize = autoMinimize;
        ResetRegistry(settings);
        ASSERT_TRUE(app.Start(log));
        ASSERT_TRUE(app.WaitForBar());
        app.Command(kMaximize);
        ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == WorkAreaRect().left; }));
    }
    // The longest wait of a posted message while `done` is not yet true.
    DWORD LongestDelayUntil(const std::function<bool()>& done, DWORD timeoutMs = kShareMs)
    {
        DWORD longest = 0;
        const DWORD start = ::GetTickCount();
        while (!done() && ::GetTickCount() - start < timeoutMs) {
            longest = std::max(longest, PostedMessageDelayMs(app.ComboEdit(kPath2)));
            ::Sleep(50);
        }
        return longest;
    }
    // Whether icon box 1 shows an icon (its sunken frame's dark edge).
    bool Icon1Shown() const
    {
        const RECT bar = WindowRect(app.Bar());
        return ScreenPixel(bar.left + 15 + 132, bar.top + 6) == RGB(128, 128, 128);
    }
    void ExpectStartedOnceWith(const std::string& p1, const std::string& p2)
    {
        std::string commandLine, folder;
        ASSERT_TRUE(ReadStandInLog(log, commandLine, folder, kShareMs));
        EXPECT_NE(std::string::npos, commandLine.find("\"" + p1 + "\" \"" + p2 + "\"")) << commandLine;
        EXPECT_TRUE(WaitForValue("the histories", [] { return ReadHistories(); },
                                 Histories({p1}, {p2}), kShareMs));
        // A second start would write the record again.
        ::DeleteFileA(log.c_str());
        EXPECT_FALSE(WaitFor([&] { return ::GetFileAttributesA(log.c_str()) != INVALID_FILE_ATTRIBUTES; }, 3000));
    }

    TempFolder temp;
    std::string local = temp.File("local.txt");
    std::string log = temp.Path() + "\\standin.log";
    std::string share, data;
    PairmateProcess app;
};

} // namespace

TEST_F(SlowShareTest, KeysAreTakenAtOnceAndOnlyTheNewestTextsIconShows)
{
    Start();
    SetShareDelay(data, "1");
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
    EXPECT_TRUE(WaitFor([&] { return Icon1Shown(); }, kShareMs)) << "the icon of " << path;

    // A missing name typed while the lookup of an existing one runs: that
    // answer comes for a text the box no longer holds, and is dropped.
    app.SetComboText(kPath1, path + "x");
    EXPECT_TRUE(WaitFor([&] { return !Icon1Shown(); }, kShareMs));
    app.SetComboText(kPath1, path);
    app.SetComboText(kPath1, share + "\\missing.txt");
    EXPECT_FALSE(WaitFor([&] { return Icon1Shown(); }, 12000)) << "an answer for an older text";
}

TEST_F(SlowShareTest, CompareAnswersMeanwhileAndStartsOnce)
{
    Start(1);
    const std::string a = share + "\\a.txt", b = share + "\\b.txt";
    app.SetComboText(kPath1, a);
    app.SetComboText(kPath2, b);
    SetShareDelay(data, "1");
    app.Command(kCompare);
    app.Command(kCompare);
    app.PressEnterIn(kPath1);
    EXPECT_LT(LongestDelayUntil([&] { return ::GetFileAttributesA(log.c_str()) != INVALID_FILE_ATTRIBUTES; }),
              kAnswerMs);
    ExpectStartedOnceWith(a, b);
    // Auto-minimise: only the handle stays in view.
    EXPECT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left > WorkAreaRect().left + 100; }));
}

TEST_F(SlowShareTest, AMissingFileOnTheShareIsReportedWhileTheBarAnswers)
{
    Start();
    app.SetComboText(kPath1, share + "\\a.txt");
    app.SetComboText(kPath2, share + "\\gone.txt");
    SetShareDelay(data, "1");
    app.Command(kCompare);
    MessageBoxInfo box;
    EXPECT_LT(LongestDelayUntil([&] { return app.WaitForMessageBox(box, 0); }), kAnswerMs);
    ASSERT_TRUE(app.WaitForMessageBox(box, kShareMs));
    EXPECT_EQ("比較ファイル２に設定されたファイル、またはフォルダは存在しません。", box.text);
    ASSERT_TRUE(app.DismissMessageBox(box));
    EXPECT_TRUE(ReadHistory(1).empty());
}

TEST_F(SlowShareTest, ClosingTheBarDuringACompareEndsItAndStartsNothing)
{
    Start();
    app.SetComboText(kPath1, share + "\\a.txt");
    app.SetComboText(kPath2, share + "\\b.txt");
    SetShareDelay(data, "1");
    app.Command(kCompare);
    ASSERT_LT(PostedMessageDelayMs(app.ComboEdit(kPath2)), kAnswerMs);
    ::PostMessageA(app.Bar(), WM_CLOSE, 0, 0);
    DWORD code = 1;
    EXPECT_TRUE(app.WaitForExit(kShareMs));
    EXPECT_TRUE(::GetExitCodeProcess(app.Process(), &code) && code == 0) << code;
    SetShareDelay(data, "0");
    EXPECT_FALSE(WaitFor([&] { return ::GetFileAttributesA(log.c_str()) != INVALID_FILE_ATTRIBUTES; }, 3000));
    EXPECT_TRUE(ReadHistory(1).empty());
}

TEST(SlowProgramTest, TheBarAnswersWhileTheProgramBecomesReadyAndThenSlidesIn)
{
    // Local paths, and a comparison program that takes 4 s to become ready.
    TempFolder temp;
    const std::string a = temp.File("a.txt"), b = temp.File("b.txt"), log = temp.Path() + "\\standin.log";
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_READY_MS", "4000");
    StoredSettings settings;
    settings.fileName = StandInPath();
    ResetRegistry(settings);
    PairmateProcess app;
    ASSERT_TRUE(app.Start(log));
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_READY_MS", nullptr);
    ASSERT_TRUE(app.WaitForBar());
    app.Command(kMaximize);
    ASSERT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left == WorkAreaRect().left; }));
    app.SetComboText(kPath1, a);
    app.SetComboText(kPath2, b);
    app.Command(kCompare);
    std::string commandLine, folder;
    ASSERT_TRUE(ReadStandInLog(log, commandLine, folder));
    // Started, not yet ready: the bar answers, the histories wait.
    EXPECT_LT(PostedMessageDelayMs(app.ComboEdit(kPath1)), kAnswerMs);
    EXPECT_TRUE(ReadHistory(1).empty());
    EXPECT_TRUE(WaitForValue("the histories", [] { return ReadHistories(); }, Histories({a}, {b})));
    EXPECT_TRUE(WaitFor([&] { return WindowRect(app.Bar()).left > WorkAreaRect().left + 100; }));
}
