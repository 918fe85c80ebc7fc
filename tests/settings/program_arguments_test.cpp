// The comparison program's command line: presets by file name, the stored
// line and its placeholders, and the quoting of the two paths.
#include <gtest/gtest.h>

#include "settings/ProgramArguments.h"

#include <windows.h>

TEST(ProgramArguments, PresetsGoByTheFileNameWithoutLetterCase)
{
    const struct {
        const char* program;
        const char* preset;
        bool folders;
    } rows[] = {
        {"C:\\Program Files\\Microsoft VS Code\\Code.exe", "--diff %1 %2", false},
        {"c:\\vs\\CODE.EXE", "--diff %1 %2", false},
        {"C:\\Insiders\\Code - Insiders.exe", "--diff %1 %2", false},
        {"VSCodium.exe", "--diff %1 %2", false},
        {"C:\\TortoiseGit\\bin\\TortoiseGitMerge.exe", "/base:%1 /mine:%2", false},
        {"C:\\TortoiseSVN\\bin\\tortoisemerge.exe", "/base:%1 /mine:%2", false},
        {"C:/Sublime Merge/smerge.exe", "mergetool %1 %2", false},
        {"C:\\VS\\Common7\\IDE\\devenv.exe", "/Diff %1 %2", false},
        {"D:idea64.exe", "diff %1 %2", true},
        {"pycharm64.exe", "diff %1 %2", true},
        {"rider64.exe", "diff %1 %2", true},
        {"webstorm64.exe", "diff %1 %2", true},
        {"clion64.exe", "diff %1 %2", true},
        {"goland64.exe", "diff %1 %2", true},
        {"phpstorm64.exe", "diff %1 %2", true},
        // Everything else takes the two paths alone.
        {"C:\\Tools\\windiff.exe", "%1 %2", true},
        {"C:\\WinMerge\\WinMergeU.exe", "%1 %2", true},
        {"C:\\Code.exe\\other.exe", "%1 %2", true}, // a folder of that name is no program
        {"C:\\Tools\\Code.exe.bak", "%1 %2", true},
        {"idea.exe", "%1 %2", true},
        {"", "%1 %2", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.program);
        EXPECT_STREQ(row.preset, PresetArguments(row.program));
        EXPECT_EQ(row.folders, ComparesFolders(row.program));
    }
}

TEST(ProgramArguments, CommandLineQuotesThePathsWhereThePlaceholdersStand)
{
    const std::string winDiff = "C:\\Tools\\windiff.exe", code = "C:\\VS Code\\Code.exe";
    const struct {
        std::string program, stored, p1, p2, expected;
    } rows[] = {
        // Nothing stored: today's line, byte for byte.
        {winDiff, "", "C:\\My Docs\\a.txt", "D:\\b.txt", "\"C:\\Tools\\windiff.exe\" \"C:\\My Docs\\a.txt\" \"D:\\b.txt\""},
        // Runs of backslashes before the closing quote are doubled, others kept.
        {winDiff, "", "C:\\", "\\\\srv\\share\\dir\\\\", "\"" + winDiff + "\" \"C:\\\\\" \"\\\\srv\\share\\dir\\\\\\\\\""},
        {code, "", "C:\\a b\\x.txt", "C:\\y.txt", "\"" + code + "\" --diff \"C:\\a b\\x.txt\" \"C:\\y.txt\""},
        {"C:\\T\\TortoiseGitMerge.exe", "", "C:\\a\\", "C:\\b", "\"C:\\T\\TortoiseGitMerge.exe\" /base:\"C:\\a\\\\\" /mine:\"C:\\b\""},
        // A stored line in any order; %% is one %, a % before anything else stays.
        {winDiff, "-x %2 %1 %% %3 50% %", "a", "b", "\"" + winDiff + "\" -x \"b\" \"a\" % %3 50% %"},
        {code, "%1%2 %1", "a", "b", "\"" + code + "\" \"a\"\"b\" \"a\""},
        {code, "--new-window --diff %1 %2", "a", "b", "\"" + code + "\" --new-window --diff \"a\" \"b\""},
        // A stored line without both placeholders is not used: the preset is.
        {code, "%1 only", "a", "b", "\"" + code + "\" --diff \"a\" \"b\""},
        {code, "%%1 %%2", "a", "b", "\"" + code + "\" --diff \"a\" \"b\""},
        {winDiff, "%2", "a", "b", "\"" + winDiff + "\" \"a\" \"b\""},
        // A path in UTF-8 (the program's code page on new Windows) is handed on as it is.
        {winDiff, "", "C:\\caf\xC3\xA9\\", "C:\\\xE8\xA1\xA8", "\"" + winDiff + "\" \"C:\\caf\xC3\xA9\\\\\" \"C:\\\xE8\xA1\xA8\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.stored + " " + row.p1);
        EXPECT_EQ(row.expected, CompareCommandLine(row.program, row.stored, row.p1, row.p2));
    }
    // In Shift-JIS the trail byte 0x5C of 表 is no backslash.
    if (::GetACP() == 932)
        EXPECT_EQ("\"" + winDiff + "\" \"C:\\表\" \"C:\\表\\\\\"", CompareCommandLine(winDiff, "", "C:\\表", "C:\\表\\"));
}

TEST(ProgramArguments, ALineNeedsBothPlaceholders)
{
    for (const char* line : {"%1 %2", "%2%1", "/base:%1 /mine:%2", "%%%1 %2"}) EXPECT_TRUE(HasBothPlaceholders(line)) << line;
    for (const char* line : {"", "%1", "%2 %2", "%%1 %%2", "% 1 % 2", "%12"}) EXPECT_FALSE(HasBothPlaceholders(line)) << line;
    EXPECT_EQ("-a %1 %2", ArgumentsInForce("C:\\Code.exe", "-a %1 %2"));
    EXPECT_EQ("--diff %1 %2", ArgumentsInForce("C:\\Code.exe", "-a %1"));
}
