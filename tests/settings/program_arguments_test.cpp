// The comparison program's command line: presets by file name, the stored
// line and its placeholders, and the quoting of the two paths.
#include <gtest/gtest.h>

#include "settings/ProgramArguments.h"

#include <windows.h>

#include <vector>

TEST(ProgramArguments, PresetsGoByTheFileNameWithoutLetterCase)
{
    const struct { std::vector<const char*> programs; const char* preset; bool folders; } rows[] = {
        {{"C:\\VS Code\\Code.exe", "c:\\x\\CODE.EXE", "Code - Insiders.exe", "VSCodium.exe"}, "--diff %1 %2", false},
        {{"C:\\T\\TortoiseGitMerge.exe", "C:/T/tortoisemerge.exe"}, "/base:%1 /mine:%2", false},
        {{"smerge.exe"}, "mergetool %1 %2", false}, {{"D:devenv.exe"}, "/Diff %1 %2", false},
        {{"idea64.exe", "pycharm64.exe", "rider64.exe", "webstorm64.exe", "clion64.exe", "goland64.exe", "phpstorm64.exe"},
         "diff %1 %2", true},
        {{"C:\\windiff.exe", "WinMergeU.exe", "C:\\Code.exe\\x.exe", "Code.exe.bak", "idea.exe", ""}, "%1 %2", true},
    };
    for (const auto& row : rows)
        for (const char* program : row.programs) {
            EXPECT_STREQ(row.preset, PresetArguments(program)) << program;
            EXPECT_EQ(row.folders, ComparesFolders(program)) << program;
        }
}

TEST(ProgramArguments, PathsAreQuotedWhereThePlaceholdersStandInTheLineInForce)
{
    const std::string w = "C:\\Tools\\windiff.exe";
    const struct { std::string program, stored, p1, p2, expected; } rows[] = {
        // Nothing stored: today's line, byte for byte; a run of backslashes
        // before the closing quote doubled; UTF-8 (new Windows) as it is.
        {w, "", "C:\\My Docs\\a.txt", "D:\\b.txt", "\"C:\\My Docs\\a.txt\" \"D:\\b.txt\""},
        {w, "", "C:\\", "\\\\srv\\s\\d\\\\", "\"C:\\\\\" \"\\\\srv\\s\\d\\\\\\\\\""},
        {w, "", "C:\\caf\xC3\xA9\\", "C:\\\xE8\xA1\xA8", "\"C:\\caf\xC3\xA9\\\\\" \"C:\\\xE8\xA1\xA8\""},
        // %% is one %, a % before anything else stays; without both placeholders the preset.
        {w, "-x %2 %1 %% %3 50% %", "a", "b", "-x \"b\" \"a\" % %3 50% %"},
        {w, "%1%2 %1", "a", "b", "\"a\"\"b\" \"a\""},
        {w, "%2", "a", "b", "\"a\" \"b\""},
        {w, "%%1 %%2", "a", "b", "\"a\" \"b\""},
        {"C:\\VS Code\\Code.exe", "%1", "a b", "C:\\", "--diff \"a b\" \"C:\\\\\""},
        {"T.exe", "-n %2 %1", "a", "b", "-n \"b\" \"a\""},
        {"TortoiseMerge.exe", "", "a\\", "b", "/base:\"a\\\\\" /mine:\"b\""},
    };
    for (const auto& row : rows)
        EXPECT_EQ("\"" + row.program + "\" " + row.expected, CompareCommandLine(row.program, row.stored, row.p1, row.p2))
            << row.stored;
    // In Shift-JIS the trail byte 0x5C of 表 is no backslash.
    if (::GetACP() == 932) {
        EXPECT_EQ("\"" + w + "\" \"C:\\表\" \"C:\\表\\\\\"", CompareCommandLine(w, "", "C:\\表", "C:\\表\\"));
    }
    for (const char* line : {"%1 %2", "%2%1", "%%%1 %2"}) EXPECT_TRUE(HasBothPlaceholders(line)) << line;
    for (const char* line : {"", "%1", "%2 %2", "% 1 % 2", "%12"}) EXPECT_FALSE(HasBothPlaceholders(line)) << line;
}
