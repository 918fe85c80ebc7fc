#include <gtest/gtest.h>

#include "ScratchRegistry.h"
#include "pathinput/PathTests.h"

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
