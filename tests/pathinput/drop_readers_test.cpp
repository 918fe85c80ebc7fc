// The drop readers fed with the shell's own data objects, with text, and with
// crafted blocks that lie about their contents.
#include "shell_fixture.h"
#include "support/test_data_object.h"

namespace {

CLIPFORMAT IdListFormat()
{
    return static_cast<CLIPFORMAT>(::RegisterClipboardFormatA("Shell IDList Array"));
}

void PutUint(std::string& block, size_t at, UINT value)
{
    if (block.size() < at + sizeof(value)) block.resize(at + sizeof(value));
    memcpy(&block[at], &value, sizeof(value));
}

// A "Shell IDList Array" block: count, offsets, then the lists; `pad` bytes
// are put before each list so that the lists need not be aligned.
std::string IdListBlock(const std::vector<std::string>& lists, size_t pad = 0)
{
    const UINT count = static_cast<UINT>(lists.size() - 1);
    std::string block;
    PutUint(block, 0, count);
    size_t at = sizeof(UINT) * (lists.size() + 1);
    block.resize(at);
    for (size_t i = 0; i < lists.size(); ++i) {
        block.append(pad, '\x7f');
        PutUint(block, sizeof(UINT) * (i + 1), static_cast<UINT>(block.size()));
        block += lists[i];
    }
    return block;
}

std::string ListBytes(LPCITEMIDLIST pidl)
{
    return std::string(reinterpret_cast<const char*>(pidl), GetPidlSize(pidl));
}

} // namespace

TEST_F(ShellFolderTest, ShellDataObjectWithOneOrTwoItems)
{
    ComPtr<IDataObject> one = ShellDataObject({"Alpha.txt"});
    ASSERT_TRUE(one);
    std::string path;
    EXPECT_TRUE(GetDroppedItemPath(one.Get(), path));
    EXPECT_EQ(0, lstrcmpiA(m_file1.c_str(), path.c_str())) << path;

    ComPtr<IDataObject> folder = ShellDataObject({"Sub Folder"});
    ASSERT_TRUE(folder);
    path.clear();
    EXPECT_TRUE(GetDroppedItemPath(folder.Get(), path));
    EXPECT_EQ(0, lstrcmpiA(m_sub.c_str(), path.c_str())) << path;

    ComPtr<IDataObject> two = ShellDataObject({"Alpha.txt", "beta.txt"});
    ASSERT_TRUE(two);
    path = "unchanged";
    EXPECT_FALSE(GetDroppedItemPath(two.Get(), path));
    EXPECT_EQ("unchanged", path);

    // The shell offers no plain text for files.
    std::string text = "unchanged";
    EXPECT_FALSE(GetDroppedPlainText(one.Get(), text));
    EXPECT_EQ("unchanged", text);
}

TEST(DropReaders, VirtualItemGivesNoPath)
{
    // "My Computer" dragged from the desktop: one item, no file-system path.
    ComPtr<IShellFolder> desktop;
    ASSERT_EQ(S_OK, ::SHGetDesktopFolder(desktop.Receive()));
    UniquePidl drives;
    ASSERT_EQ(S_OK, ::SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, drives.Receive()));
    LPCITEMIDLIST child = drives.Get();
    ComPtr<IDataObject> data;
    ASSERT_EQ(S_OK, desktop->GetUIObjectOf(nullptr, 1, &child, IID_IDataObject, nullptr,
                                           reinterpret_cast<void**>(data.Receive())));
    std::string path;
    EXPECT_TRUE(GetDroppedItemPath(data.Get(), path));
    EXPECT_EQ("", path);
}

TEST(DropReaders, PlainText)
{
    TestDataObject lines;
    lines.OfferText("first line\r\n  second line  ");
    std::string text;
    EXPECT_TRUE(GetDroppedPlainText(&lines, text));
    EXPECT_EQ("first line\r\n  second line  ", text);
    std::string path = "unchanged";
    EXPECT_FALSE(GetDroppedItemPath(&lines, path));
    EXPECT_EQ("unchanged", path);

    TestDataObject japanese;
    japanese.OfferText("C:\\データ\\表.txt");
    EXPECT_TRUE(GetDroppedPlainText(&japanese, text));
    EXPECT_EQ("C:\\データ\\表.txt", text);

    // Stops at the first NUL.
    TestDataObject embedded;
    embedded.Offer(CF_TEXT, std::string("abc\0def\0", 8));
    EXPECT_TRUE(GetDroppedPlainText(&embedded, text));
    EXPECT_EQ("abc", text);

    TestDataObject emptyText;
    emptyText.OfferText("");
    text = "unchanged";
    EXPECT_TRUE(GetDroppedPlainText(&emptyText, text));
    EXPECT_EQ("", text);

    // The readers borrow the object: no reference is kept or taken away.
    EXPECT_EQ(1, lines.Refs());
    EXPECT_EQ(1, embedded.Refs());
}

TEST(DropReaders, UnicodeTextFirstAndOnlyTextsThatPassTheCodePageUnchanged)
{
    // The ANSI text of a source in another code page is not this program's:
    // the Unicode one wins. A text that would change on its way into the
    // code page (here 932) is refused, not handed on as another path.
    const struct {
        const char* what;
        std::wstring unicode;
        std::string ansi;
        bool taken;
        std::string text;
    } rows[] = {
        {"the Unicode text before the ANSI one", L"C:\\表\\ユニ.txt", "C:\\ansi.txt", true, "C:\\表\\ユニ.txt"},
        {"a character the code page lacks", L"C:\\café", "C:\\cafe", false, ""},
        {"a lone surrogate", std::wstring(L"C:\\x") + wchar_t(0xDC00), "", false, ""},
        {"a lead byte without its trail byte", L"", "C:\\\x81", false, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        TestDataObject data;
        if (!row.unicode.empty()) data.OfferUnicodeText(row.unicode);
        if (!row.ansi.empty()) data.OfferText(row.ansi);
        std::string text = "unchanged";
        EXPECT_EQ(row.taken, GetDroppedPlainText(&data, text) != FALSE);
        EXPECT_EQ(row.taken ? row.text : "unchanged", text);
    }
}

TEST(DropReaders, NothingOfferedOrNothingDelivered)
{
    std::string text = "unchanged";
    TestDataObject nothing;
    EXPECT_FALSE(GetDroppedPlainText(&nothing, text));
    EXPECT_FALSE(GetDroppedItemPath(&nothing, text));
    EXPECT_FALSE(GetDroppedPlainText(nullptr, text));
    EXPECT_FALSE(GetDroppedItemPath(nullptr, text));

    // Offered but failing to deliver.
    TestDataObject failing;
    failing.Offer(CF_TEXT, std::string("text", 5), TestDataObject::Delivery::Fail);
    failing.Offer(IdListFormat(), IdListBlock({HandMadeList({}), HandMadeList({20})}),
                  TestDataObject::Delivery::Fail);
    EXPECT_FALSE(GetDroppedPlainText(&failing, text));
    EXPECT_FALSE(GetDroppedItemPath(&failing, text));

    // Delivered in a stream although global memory was asked for (the
    // Unicode text, then the plain one): each stream goes back.
    TestDataObject stream;
    stream.Offer(CF_UNICODETEXT, std::string("t\0\0\0", 4), TestDataObject::Delivery::Stream);
    stream.Offer(CF_TEXT, std::string("text", 5), TestDataObject::Delivery::Stream);
    stream.Offer(IdListFormat(), IdListBlock({HandMadeList({}), HandMadeList({20})}),
                 TestDataObject::Delivery::Stream);
    EXPECT_FALSE(GetDroppedPlainText(&stream, text));
    EXPECT_FALSE(GetDroppedItemPath(&stream, text));
    EXPECT_EQ("unchanged", text);
    EXPECT_EQ(0, stream.StreamRefsOut());
}

TEST(DropReaders, TextWithoutTerminatorIsReadWithinTheBlock)
{
    // A block of non-zero bytes with no NUL anywhere: the text ends where
    // the block ends.
    TestDataObject data;
    data.Offer(CF_TEXT, std::string(37, 'x'), TestDataObject::Delivery::Shrunk);
    std::string text;
    ASSERT_TRUE(GetDroppedPlainText(&data, text));
    EXPECT_EQ(std::string(37, 'x'), text);

    TestDataObject empty;
    empty.Offer(CF_TEXT, std::string());
    text = "unchanged";
    EXPECT_FALSE(GetDroppedPlainText(&empty, text)); // nothing to lock
    EXPECT_EQ("unchanged", text);
}

TEST_F(ShellFolderTest, CraftedIdListBlocks)
{
    UniquePidl parent = ParsePath(m_dir);
    UniquePidl child = ChildPidl("beta.txt");
    ASSERT_TRUE(parent && child);
    const std::string parentList = ListBytes(parent.Get());
    const std::string childList = ListBytes(child.Get());

    auto read = [](const std::string& block, std::string& path) {
        TestDataObject data;
        data.Offer(IdListFormat(), block, TestDataObject::Delivery::Shrunk);
        return GetDroppedItemPath(&data, path);
    };

    // Sound blocks built the same way are read, aligned or not: the crafted
    // ones below fail for their faults alone.
    for (size_t pad : {0, 1, 3}) {
        std::string path;
        EXPECT_TRUE(read(IdListBlock({parentList, childList}, pad), path)) << pad;
        EXPECT_EQ(0, lstrcmpiA(m_file2.c_str(), path.c_str())) << path;
    }
    const std::string sound = IdListBlock({parentList, childList});

    std::string path = "unchanged";
    // Counts other than one.
    std::string block = sound;
    PutUint(block, 0, 0);
    EXPECT_FALSE(read(block, path));
    PutUint(block, 0, 0xFFFFFFFFu);
    EXPECT_FALSE(read(block, path));
    PutUint(block, 0, 0x40000000u);
    EXPECT_FALSE(read(block, path));

    // Too short for its own header.
    EXPECT_FALSE(read(sound.substr(0, 3), path));
    EXPECT_FALSE(read(sound.substr(0, 8), path));
    EXPECT_FALSE(read(sound.substr(0, 11), path));

    // Offsets at, past or far past the end of the block.
    for (UINT bad : {static_cast<UINT>(sound.size()), static_cast<UINT>(sound.size() - 1),
                     static_cast<UINT>(sound.size() + 100), 0xFFFFFFF0u}) {
        block = sound;
        PutUint(block, 4, bad);
        EXPECT_FALSE(read(block, path)) << "parent offset " << bad;
        block = sound;
        PutUint(block, 8, bad);
        EXPECT_FALSE(read(block, path)) << "item offset " << bad;
    }

    // The item's list without its terminator at the end of the block.
    block = sound.substr(0, sound.size() - 2);
    EXPECT_FALSE(read(block, path));
    // An item whose count runs past the end of the block.
    block = IdListBlock({parentList, HandMadeList({20})});
    block.resize(block.size() - 12);
    EXPECT_FALSE(read(block, path));
    // An item whose count is smaller than the count itself.
    EXPECT_FALSE(read(IdListBlock({parentList, HandMadeList({1})}), path));
    // A block with no zero byte at all: the first count (0x4141) runs past.
    block = sound.substr(0, 12) + std::string(400, 'A');
    EXPECT_FALSE(read(block, path));
    // Lists of well-formed 4-byte items that never end.
    std::string endless;
    for (int i = 0; i < 100; ++i) endless += std::string("\x04\x00zz", 4);
    block = sound.substr(0, 4);
    PutUint(block, 4, 12);
    PutUint(block, 8, 12);
    EXPECT_FALSE(read(block + endless, path));

    EXPECT_EQ("unchanged", path);
}
