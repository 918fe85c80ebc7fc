#include <gtest/gtest.h>

#include "ScratchRegistry.h"
#include "app/RunProcess.h"
#include "support/pump.h"

namespace {

// The stand-in writes its command line and its current folder to the file
// named by PAIRMATE_STANDIN_LOG; children inherit our environment.
class RunProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_log = m_temp.Path() + "\\standin.log";
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", m_log.c_str());
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", "3000");
    }
    void TearDown() override
    {
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_LOG", nullptr);
        ::SetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", nullptr);
    }
    // The two lines the stand-in wrote, once it has written them.
    std::pair<std::string, std::string> Received()
    {
        std::vector<std::string> lines = WaitForLines(m_log);
        ::DeleteFileA(m_log.c_str());
        if (lines.size() < 2) return {};
        return {lines[0], lines[1]};
    }
    static std::string CurrentFolder()
    {
        char folder[MAX_PATH];
        ::GetCurrentDirectoryA(MAX_PATH, folder);
        return folder;
    }

    TempFolder m_temp;
    std::string m_log;
    const std::string m_standIn = std::string(PAIRMATE_BIN_DIR) + "\\fake_windiff.exe";
};

std::string SystemProgram(const char* name)
{
    char folder[MAX_PATH];
    ::GetSystemDirectoryA(folder, MAX_PATH);
    return std::string(folder) + "\\" + name;
}

} // namespace

TEST_F(RunProcessTest, ProgramIsQuotedAndArgumentsFollowAfterOneSpace)
{
    // A program folder with a space and Shift-JIS names whose trail bytes
    // include a backslash, as WinDiff's command line gets it.
    const std::string folder = m_temp.MakeFolder("ソフト 表");
    const std::string program = folder + "\\windiff.exe";
    ASSERT_TRUE(::CopyFileA(m_standIn.c_str(), program.c_str(), FALSE));
    const std::string arguments = "\"C:\\My Docs\\a.txt\" \"D:\\表.txt\"";
    ASSERT_TRUE(RunProcess(program.c_str(), arguments.c_str()));
    const auto received = Received();
    EXPECT_EQ("\"" + program + "\" " + arguments, received.first);
    EXPECT_EQ(CurrentFolder(), received.second);

    ASSERT_TRUE(RunProcess(m_standIn.c_str(), "a b", nullptr, 0, nullptr));
    EXPECT_EQ("\"" + m_standIn + "\" a b", Received().first);

    // An empty argument text still adds the space; NULL adds nothing.
    ASSERT_TRUE(RunProcess(m_standIn.c_str(), ""));
    EXPECT_EQ("\"" + m_standIn + "\" ", Received().first);
    ASSERT_TRUE(RunProcess(m_standIn.c_str(), nullptr));
    EXPECT_EQ("\"" + m_standIn + "\"", Received().first);

    // A program text that begins with a quote is the whole command as given.
    const std::string complete = "\"" + m_standIn + "\"  x \"y z\"";
    ASSERT_TRUE(RunProcess(complete.c_str(), nullptr));
    EXPECT_EQ(complete, Received().first);
}

TEST_F(RunProcessTest, FolderArgumentBecomesTheCurrentFolder)
{
    const std::string folder = m_temp.MakeFolder("work ソ");
    ASSERT_TRUE(RunProcess(m_standIn.c_str(), "x", folder.c_str(), 0, nullptr));
    EXPECT_EQ(folder, Received().second);

    EXPECT_FALSE(RunProcess(m_standIn.c_str(), "x", (m_temp.Path() + "\\missing").c_str(), 0, nullptr));
}

TEST_F(RunProcessTest, WaitFlagOneWaitsForTheEndAndGivesTheExitCode)
{
    const std::string cmd = SystemProgram("cmd.exe");
    DWORD code = 12345;
    ASSERT_TRUE(RunProcess(cmd.c_str(), "/c exit 7", nullptr, 1, &code));
    EXPECT_EQ(7u, code);
    EXPECT_TRUE(RunProcess(cmd.c_str(), "/c exit 7", nullptr, 1, nullptr));

    // Only exactly 1 waits: the code is left alone otherwise.
    code = 12345;
    ASSERT_TRUE(RunProcess(cmd.c_str(), "/c exit 7", nullptr, 2, &code));
    EXPECT_EQ(12345u, code);

    // The stand-in ends by itself after its time-out.
    ::SetEnvironmentVariableA("PAIRMATE_STANDIN_TIMEOUT_MS", "100");
    code = 12345;
    ASSERT_TRUE(RunProcess(m_standIn.c_str(), "w", nullptr, 1, &code));
    EXPECT_EQ(0u, code);
    EXPECT_EQ("\"" + m_standIn + "\" w", Received().first);
}

TEST_F(RunProcessTest, FilesThatAreNoProgramsFailWithoutLeavingHandles)
{
    const std::string text = m_temp.MakeFile("notes.txt", "not a program");
    const std::string missing = m_temp.Path() + "\\missing.exe";
    DWORD before = 0;
    DWORD after = 0;
    ::GetProcessHandleCount(::GetCurrentProcess(), &before);
    EXPECT_FALSE(RunProcess(text.c_str(), nullptr));
    EXPECT_FALSE(RunProcess(text.c_str(), "a", nullptr, 1, nullptr));
    EXPECT_FALSE(RunProcess(missing.c_str(), "a"));
    EXPECT_FALSE(RunProcess(m_temp.Path().c_str(), nullptr)); // a folder
    EXPECT_FALSE(RunProcess(nullptr, "a"));
    ::GetProcessHandleCount(::GetCurrentProcess(), &after);
    EXPECT_EQ(before, after);
}
