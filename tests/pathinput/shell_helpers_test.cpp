// Item-id lists of the shell itself, and the shell's answers about real
// files, folders and shortcuts.
#include "shell_fixture.h"

#include "framework/Gdi.h"

namespace {

std::string Bytes(LPCITEMIDLIST pidl, UINT size)
{
    return std::string(reinterpret_cast<const char*>(pidl), size);
}

// The icon drawn on white, as pixels.
std::vector<COLORREF> IconPixels(HICON icon)
{
    const int cx = ::GetSystemMetrics(SM_CXICON), cy = ::GetSystemMetrics(SM_CYICON);
    DibCanvas canvas(cx, cy);
    canvas.Fill(RGB(255, 255, 255));
    ::DrawIconEx(canvas.Dc(), 0, 0, icon, cx, cy, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < cy; ++y)
        for (int x = 0; x < cx; ++x) pixels.push_back(canvas.Pixel(x, y));
    return pixels;
}

} // namespace

TEST(PidlSize, HandMadeListsAndNull)
{
    std::string twoItems = HandMadeList({20, 14});
    EXPECT_EQ(36u, GetPidlSize(reinterpret_cast<LPCITEMIDLIST>(twoItems.data())));
    std::string empty = HandMadeList({});
    EXPECT_EQ(2u, GetPidlSize(reinterpret_cast<LPCITEMIDLIST>(empty.data())));
    EXPECT_EQ(0u, GetPidlSize(nullptr));

    // The bounded walk agrees on sound lists that fit, and refuses lists
    // that do not end inside the limit or have impossible item counts.
    auto list = reinterpret_cast<LPCITEMIDLIST>(twoItems.data());
    EXPECT_EQ(36u, GetPidlSizeBounded(list, 36));
    EXPECT_EQ(36u, GetPidlSizeBounded(list, 1000));
    EXPECT_EQ(0u, GetPidlSizeBounded(list, 35)); // terminator cut off
    EXPECT_EQ(0u, GetPidlSizeBounded(list, 30)); // second item runs past the limit
    EXPECT_EQ(0u, GetPidlSizeBounded(list, 1));  // not even a count
    EXPECT_EQ(2u, GetPidlSizeBounded(reinterpret_cast<LPCITEMIDLIST>(empty.data()), 2));
    EXPECT_EQ(0u, GetPidlSizeBounded(nullptr, 100));
    std::string countOfOne = HandMadeList({1});
    EXPECT_EQ(0u, GetPidlSizeBounded(reinterpret_cast<LPCITEMIDLIST>(countOfOne.data()), countOfOne.size()));
}

TEST_F(ShellFolderTest, SizesAndCombinationsOfTheShellsLists)
{
    UniquePidl folder = ParsePath(m_dir);
    UniquePidl file = ParsePath(m_file1);
    UniquePidl child = ChildPidl("Alpha.txt");
    ASSERT_TRUE(folder && file && child);

    // Our sizes are the shell's.
    EXPECT_EQ(::ILGetSize(folder.Get()), GetPidlSize(folder.Get()));
    EXPECT_EQ(::ILGetSize(file.Get()), GetPidlSize(file.Get()));
    EXPECT_EQ(::ILGetSize(child.Get()), GetPidlSize(child.Get()));
    EXPECT_GT(GetPidlSize(file.Get()), GetPidlSize(folder.Get()));

    // Folder + relative item = the item's absolute list and path.
    UniquePidl combined(CombinePidls(folder.Get(), child.Get()));
    ASSERT_TRUE(combined);
    EXPECT_EQ(GetPidlSize(folder.Get()) - 2 + GetPidlSize(child.Get()), GetPidlSize(combined.Get()));
    EXPECT_TRUE(::ILIsEqual(file.Get(), combined.Get()));
    std::string path = "unchanged";
    ASSERT_TRUE(GetPathFromPidl(combined.Get(), path));
    EXPECT_EQ(0, lstrcmpiA(m_file1.c_str(), path.c_str())) << path;

    // A missing first list gives a copy of the second; a missing second
    // list counts as empty; two missing lists give the empty list.
    UniquePidl copy(CombinePidls(nullptr, file.Get()));
    ASSERT_TRUE(copy);
    EXPECT_NE(file.Get(), copy.Get());
    EXPECT_EQ(Bytes(file.Get(), GetPidlSize(file.Get())), Bytes(copy.Get(), GetPidlSize(copy.Get())));
    UniquePidl same(CombinePidls(file.Get(), nullptr));
    ASSERT_TRUE(same);
    EXPECT_EQ(Bytes(file.Get(), GetPidlSize(file.Get())), Bytes(same.Get(), GetPidlSize(same.Get())));
    UniquePidl none(CombinePidls(nullptr, nullptr));
    ASSERT_TRUE(none);
    EXPECT_EQ(2u, GetPidlSize(none.Get()));

    // The desktop is the empty list and has a folder path; "My Computer" is
    // a virtual item without one.
    UniquePidl desktop, drives;
    ASSERT_EQ(S_OK, ::SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, desktop.Receive()));
    ASSERT_EQ(S_OK, ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.Receive()));
    EXPECT_EQ(2u, GetPidlSize(desktop.Get()));
    EXPECT_EQ(::ILGetSize(drives.Get()), GetPidlSize(drives.Get()));
    path = "unchanged";
    EXPECT_FALSE(GetPathFromPidl(drives.Get(), path));
    EXPECT_EQ("unchanged", path);
    EXPECT_FALSE(GetPathFromPidl(nullptr, path));
    EXPECT_EQ("unchanged", path);
}

TEST(PidlAlloc, ZeroFilledAndFreed)
{
    UniquePidl block(AllocPidl(64));
    ASSERT_TRUE(block);
    const auto* bytes = reinterpret_cast<const BYTE*>(block.Get());
    for (int i = 0; i < 64; ++i) ASSERT_EQ(0, bytes[i]) << i;
    EXPECT_TRUE(FreePidl(block.Release()));
}

TEST_F(ShellFolderTest, IconsAndShortcuts)
{
    int fileIndex = -1, folderIndex = -1, linkIndex = -1, missingIndex = -1;
    EXPECT_TRUE(GetSysIconIndex(m_file1, fileIndex));
    EXPECT_TRUE(GetSysIconIndex(m_sub, folderIndex));
    EXPECT_TRUE(GetSysIconIndex(m_link, linkIndex));
    EXPECT_GT(folderIndex, 0);
    EXPECT_NE(fileIndex, folderIndex);
    // A path the shell cannot find still succeeds, with index 0.
    EXPECT_TRUE(GetSysIconIndex(m_dir + "\\missing.txt", missingIndex));
    EXPECT_EQ(0, missingIndex);

    EXPECT_TRUE(IsShortcut(m_link));
    EXPECT_FALSE(IsShortcut(m_file1));
    EXPECT_FALSE(IsShortcut(m_sub));
    EXPECT_FALSE(IsShortcut(m_dir + "\\missing.lnk"));

    UniqueIcon fileIcon(GetFileIcon(m_file1));
    UniqueIcon folderIcon(GetFileIcon(m_sub));
    UniqueIcon linkIcon(GetFileIcon(m_link));
    ASSERT_TRUE(fileIcon.Get() && folderIcon.Get() && linkIcon.Get());
    EXPECT_EQ(nullptr, GetFileIcon(m_dir + "\\missing.txt"));

    ICONINFO info = {};
    ASSERT_TRUE(::GetIconInfo(linkIcon.Get(), &info));
    Bitmap color(info.hbmColor), mask(info.hbmMask);
    BITMAP bm = {};
    ::GetObjectA(mask, sizeof(bm), &bm);
    EXPECT_EQ(::GetSystemMetrics(SM_CXICON), bm.bmWidth); // the large icon

    // The shortcut shows its target's icon with the shortcut arrow; the
    // ordinary file's own icon has no arrow.
    SHFILEINFOA withArrow = {};
    ASSERT_TRUE(::SHGetFileInfoA(m_file1.c_str(), 0, &withArrow, sizeof(withArrow), SHGFI_ICON | SHGFI_LINKOVERLAY));
    UniqueIcon targetWithArrow(withArrow.hIcon);
    EXPECT_EQ(IconPixels(targetWithArrow.Get()), IconPixels(linkIcon.Get()));
    EXPECT_NE(IconPixels(targetWithArrow.Get()), IconPixels(fileIcon.Get()));
}
