// The command line's arguments as the C runtime splits them, and the paths a
// running bar accepts from another program.
#include <gtest/gtest.h>

#include "app/CommandLine.h"

TEST(CommandLine, SplitAsTheCRuntimeSplits)
{
    const struct {
        const wchar_t* line;
        std::vector<std::wstring> arguments;
    } cases[] = {
        {L"pairmate.exe", {}},
        {L"\"C:\\Program Files\\pairmate.exe\"  a\tb ", {L"a", L"b"}},
        {L"p \"C:\\My Docs\\a.txt\" D:\\b", {L"C:\\My Docs\\a.txt", L"D:\\b"}},
        {L"p \"C:\\\\\" C:\\x\\", {L"C:\\", L"C:\\x\\"}},   // 2n backslashes before a quote: n
        {L"p a\\\"b \"c\\\\\\\"d\"", {L"a\"b", L"c\\\"d"}}, // 2n + 1: n and a quote
        {L"p ab\"c d\"e \"\"", {L"abc de", L""}},
        {L"p \"a\"\"b\" c", {L"a\"b c"}}, // "" inside quotes: a quote, and the quotes close
    };
    for (const auto& c : cases) EXPECT_EQ(c.arguments, SplitCommandLine(c.line)) << c.line;
}

TEST(CommandLine, ARunningBarTakesOneOrTwoWellFormedPathsOnly)
{
    auto unpack = [](ULONG_PTR mark, const std::vector<WCHAR>& units, std::vector<std::wstring>& paths) {
        COPYDATASTRUCT data = {mark, static_cast<DWORD>(units.size() * sizeof(WCHAR)),
                               const_cast<WCHAR*>(units.data())};
        return UnpackPaths(&data, paths);
    };
    std::vector<std::wstring> paths;
    EXPECT_TRUE(unpack(kPathsCopyData, PackPaths({L"C:\\a", L"D:\\表"}), paths));
    EXPECT_EQ((std::vector<std::wstring>{L"C:\\a", L"D:\\表"}), paths);
    const std::vector<WCHAR> refused[] = {
        {}, {L'\0'}, {L'a'}, {L'a', L'\0', L'\0'}, PackPaths({L"a", L"b", L"c"}),
    };
    for (const auto& units : refused) EXPECT_FALSE(unpack(kPathsCopyData, units, paths)) << units.size();
    EXPECT_FALSE(unpack(1, PackPaths({L"C:\\a"}), paths));
    EXPECT_TRUE(paths.empty());
}
