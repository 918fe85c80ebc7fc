#include <gtest/gtest.h>

#include "ScratchRegistry.h"
#include "app/CompareChecks.h"
#include "pathinput/PathTests.h"
#include "res/resource.h"
#include "support/import_hook.h"

#include <vector>

TEST(PathTests, FilesAndFoldersAreToldApart)
{
    TempFolder temp;
    const std::string file = temp.MakeFile("a.txt");
    const std::string hidden = temp.MakeFile("hidden.txt");
    ::SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY);
    const std::string folder = temp.MakeFolder("表ソ");

    struct Case {
        std::string path;
        BOOL file;
        BOOL folder;
    };
    const Case cases[] = {
        {file, TRUE, FALSE},
        {hidden, TRUE, FALSE},
        {folder, FALSE, TRUE},
        {folder + "\\", FALSE, TRUE},
        {temp.Path() + "\\missing", FALSE, FALSE},
        {"", FALSE, FALSE},
        {"C:\\", FALSE, TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(c.file, IsExistingFile(c.path));
        EXPECT_EQ(c.folder, IsExistingFolder(c.path));
    }
}

namespace {

// The paths Compare's checks look at, in order.
std::vector<std::string>* g_lookedAt = nullptr;
const ImportHook* g_attributesHook = nullptr;

DWORD WINAPI RecordedGetFileAttributesA(LPCSTR path)
{
    g_lookedAt->push_back(path);
    return g_attributesHook->Original<DWORD(WINAPI*)(LPCSTR)>()(path);
}

} // namespace

TEST(PathTests, CompareChecksStopAtTheFirstFailureAndLookAtEachPathOnce)
{
    TempFolder temp;
    const std::string program = temp.MakeFile("windiff.exe"), a = temp.MakeFile("a.txt"),
                      b = temp.MakeFile("b.txt"), d = temp.MakeFolder("d"), e = temp.MakeFolder("e"),
                      missing = temp.Path() + "\\missing";
    struct Case {
        std::string program, p1, p2;
        UINT failure;
        std::vector<std::string> lookedAt;
    };
    const Case cases[] = {
        {"", "", missing, IDS_NO_WINDIFF_NAME, {}},
        {missing, a, b, IDS_WINDIFF_MISSING, {missing}},
        {d, a, b, IDS_WINDIFF_MISSING, {d}},
        {program, "", missing, IDS_PATH1_EMPTY, {program}},
        {program, missing, missing, IDS_PATH1_MISSING, {program, missing}},
        {program, a, "", IDS_PATH2_EMPTY, {program, a}},
        {program, d, missing, IDS_PATH2_MISSING, {program, d, missing}},
        {program, a, d, IDS_KINDS_DIFFER, {program, a, d}},
        {program, d, a, IDS_KINDS_DIFFER, {program, d, a}},
        {program, a, b, 0, {program, a, b}},
        {program, d, e, 0, {program, d, e}},
        {program, a, a, 0, {program, a, a}},
    };
    ImportHook hook("kernel32.dll", "GetFileAttributesA", reinterpret_cast<const void*>(&RecordedGetFileAttributesA));
    ASSERT_TRUE(hook.Installed());
    g_attributesHook = &hook;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.p1 + " | " + c.p2);
        std::vector<std::string> lookedAt;
        g_lookedAt = &lookedAt;
        EXPECT_EQ(c.failure, FirstCompareFailure(c.program, c.p1, c.p2));
        EXPECT_EQ(c.lookedAt, lookedAt);
    }
    g_attributesHook = nullptr;
    g_lookedAt = nullptr;
}
