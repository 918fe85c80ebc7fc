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
std::vector<std::string> g_lookedAt;
const ImportHook* g_attributesHook = nullptr;

DWORD WINAPI RecordedGetFileAttributesA(LPCSTR path)
{
    g_lookedAt.push_back(path);
    return g_attributesHook->Original<DWORD(WINAPI*)(LPCSTR)>()(path);
}

} // namespace

TEST(PathTests, CompareChecksStopAtTheFirstFailureAndLookAtEachPathOnce)
{
    TempFolder temp;
    const std::string w = temp.MakeFile("windiff.exe"), a = temp.MakeFile("a.txt"), b = temp.MakeFile("b.txt"),
                      d = temp.MakeFolder("d"), e = temp.MakeFolder("e"), none = temp.Path() + "\\missing",
                      code = temp.MakeFile("Code.exe"); // compares files only
    const struct {
        std::string program, p1, p2;
        UINT failure;
        std::vector<std::string> lookedAt;
    } cases[] = {
        {"", "", none, IDS_NO_WINDIFF_NAME, {}},         {none, a, b, IDS_WINDIFF_MISSING, {none}},
        {d, a, b, IDS_WINDIFF_MISSING, {d}},             {w, "", none, IDS_PATH1_EMPTY, {w}},
        {w, none, none, IDS_PATH1_MISSING, {w, none}},   {w, a, "", IDS_PATH2_EMPTY, {w, a}},
        {w, d, none, IDS_PATH2_MISSING, {w, d, none}},   {w, a, d, IDS_KINDS_DIFFER, {w, a, d}},
        {w, d, a, IDS_KINDS_DIFFER, {w, d, a}},          {w, a, b, 0, {w, a, b}},
        {w, d, e, 0, {w, d, e}},                         {w, a, a, 0, {w, a, a}},
        {code, d, e, IDS_FILES_ONLY, {code, d, e}},      {code, a, b, 0, {code, a, b}},
    };
    ImportHook hook("kernel32.dll", "GetFileAttributesA", reinterpret_cast<const void*>(&RecordedGetFileAttributesA));
    ASSERT_TRUE(hook.Installed());
    g_attributesHook = &hook;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.p1 + " | " + c.p2);
        g_lookedAt.clear();
        EXPECT_EQ(c.failure, FirstCompareFailure(c.program, c.p1, c.p2));
        EXPECT_EQ(c.lookedAt, g_lookedAt);
    }
    g_attributesHook = nullptr;
}
