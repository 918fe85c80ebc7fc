#include <gtest/gtest.h>

#include "ScratchRegistry.h"
#include "settings/PathHistory.h"
#include "settings/Registry.h"
#include "settings/TextCompare.h"

namespace {

const char kScratch[] = "Software\\PairmateTests";
const char kList[] = "Software\\PairmateTests\\History";

using List = std::vector<std::string>;

class PathHistoryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, kScratch);
        ASSERT_TRUE(CreateRegistryPath(HKEY_CURRENT_USER, kList));
    }
    List Loaded() const
    {
        List out;
        EXPECT_EQ(1, m_history.Load(out));
        return out;
    }
    std::string Stored(DWORD index) const
    {
        std::string text;
        ReadRegString(HKEY_CURRENT_USER, kList, PathHistory::DataValueName(index).c_str(), text);
        return text;
    }
    DWORD StoredSize() const
    {
        DWORD size = 0;
        EXPECT_EQ(1, ReadRegDword(HKEY_CURRENT_USER, kList, "Size", &size));
        return size;
    }
    void PutData(DWORD index, const char* text) const
    {
        ASSERT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kList, PathHistory::DataValueName(index).c_str(), text));
    }

    RegistryKeySnapshot m_restore{HKEY_CURRENT_USER, kScratch};
    PathHistory m_history{HKEY_CURRENT_USER, kList};
};

} // namespace

TEST(PathHistoryNames, DataValuesAreNumberedFromOneWithAtLeastEightDigits)
{
    EXPECT_EQ("Data00000001", PathHistory::DataValueName(1));
    EXPECT_EQ("Data00000010", PathHistory::DataValueName(10));
    EXPECT_EQ("Data99999999", PathHistory::DataValueName(99999999));
    EXPECT_EQ("Data100000000", PathHistory::DataValueName(100000000));
}

TEST_F(PathHistoryTest, AddToAnEmptyListStoresOneEntry)
{
    EXPECT_TRUE(Loaded().empty()); // no "Size" yet
    EXPECT_EQ(1, m_history.Add("C:\\a"));
    EXPECT_EQ(1u, StoredSize());
    EXPECT_EQ("C:\\a", Stored(1));
    EXPECT_EQ(List({"C:\\a"}), Loaded());
}

TEST_F(PathHistoryTest, AddMovesThePathToTheTopDroppingEveryCaseInsensitiveCopy)
{
    m_history.Save({"A", "B", "C"});
    m_history.Add("B");
    EXPECT_EQ(List({"B", "A", "C"}), Loaded());
    m_history.Add("D");
    EXPECT_EQ(List({"D", "B", "A", "C"}), Loaded());
    m_history.Add("c");
    EXPECT_EQ(List({"c", "D", "B", "A"}), Loaded());
    EXPECT_EQ("c", Stored(1));

    // Every copy goes, not just the first; a trailing backslash is another path.
    m_history.Save({"C:\\a", "x", "c:\\A", "C:\\a\\"});
    m_history.Add("C:\\A");
    EXPECT_EQ(List({"C:\\A", "x", "C:\\a\\"}), Loaded());
}

TEST_F(PathHistoryTest, AddComparesShiftJisTextCharacterByCharacter)
{
    // Full-width letters are letters: ａ and Ａ are the same path.
    m_history.Save({"C:\\表\\ソフト\\ａｂｃ.txt", "C:\\other"});
    m_history.Add("c:\\表\\ソフト\\ＡＢＣ.TXT");
    EXPECT_EQ(List({"c:\\表\\ソフト\\ＡＢＣ.TXT", "C:\\other"}), Loaded());

    // "ア" is 83 41 and "ヂ" 83 61: trail bytes that read as 'A' and 'a'.
    // "ソ" (83 5C) and "ゾ" (83 5D): a backslash trail byte and its neighbour.
    m_history.Save({"C:\\ア", "C:\\ソ", "C:\\表"});
    m_history.Add("C:\\ヂ");
    m_history.Add("C:\\ゾ");
    m_history.Add("c:\\表\\");
    EXPECT_EQ(List({"c:\\表\\", "C:\\ゾ", "C:\\ヂ", "C:\\ア", "C:\\ソ", "C:\\表"}), Loaded());

    // Half-width and full-width forms of a letter are different characters.
    EXPECT_FALSE(IsSameTextNoCase("A", "Ａ"));
    EXPECT_FALSE(IsSameTextNoCase("ｿ", "ソ"));
    EXPECT_TRUE(IsSameTextNoCase("ｿｰｽ\\a", "ｿｰｽ\\A"));
    // Bytes that are no valid Shift-JIS text are compared as they are.
    EXPECT_TRUE(IsSameTextNoCase("a\x85", "A\x85"));
    EXPECT_FALSE(IsSameTextNoCase("\x85\x41", "\x85\x61"));
    EXPECT_FALSE(IsSameTextNoCase("a\x85", "a"));
}

TEST_F(PathHistoryTest, LoadSkipsGapsAndEmptyEntriesAndAddClosesThemUp)
{
    ASSERT_EQ(1, WriteRegDword(HKEY_CURRENT_USER, kList, "Size", 4));
    PutData(1, "one");
    PutData(3, "three");
    PutData(4, "");
    PutData(5, "beyond the size");
    EXPECT_EQ(List({"one", "three"}), Loaded());

    m_history.Add("new");
    EXPECT_EQ(3u, StoredSize());
    EXPECT_EQ("new", Stored(1));
    EXPECT_EQ("one", Stored(2));
    EXPECT_EQ("three", Stored(3));
    EXPECT_EQ("", Stored(4));               // left as it was
    EXPECT_EQ("beyond the size", Stored(5)); // never read, never deleted
}

TEST_F(PathHistoryTest, ClearKeepsTheDataValuesButLoadIgnoresThem)
{
    m_history.Save({"A", "B", "C"});
    EXPECT_EQ(1, m_history.Clear());
    EXPECT_EQ(0u, StoredSize());
    EXPECT_TRUE(Loaded().empty());
    EXPECT_EQ("B", Stored(2));

    m_history.Add("X");
    EXPECT_EQ(List({"X"}), Loaded());
    EXPECT_EQ("B", Stored(2));
    EXPECT_EQ("C", Stored(3));
}

TEST_F(PathHistoryTest, MissingKeyOrUnreadableSizeGivesAnEmptyListAndWritesNothing)
{
    PathHistory missing(HKEY_CURRENT_USER, "Software\\PairmateTests\\NoSuchKey");
    List out;
    EXPECT_EQ(1, missing.Load(out));
    EXPECT_EQ(1, missing.Add("C:\\a"));
    EXPECT_EQ(1, missing.Save({"x"}));
    EXPECT_EQ(1, missing.Clear());
    EXPECT_TRUE(out.empty());
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\PairmateTests\\NoSuchKey"));

    PutData(1, "one");
    const BYTE eight[8] = {1};
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kList, "Size", REG_BINARY, eight, sizeof(eight)));
    EXPECT_TRUE(Loaded().empty());
}

TEST_F(PathHistoryTest, HugeSizeLoadsOnlyTheValuesThatExistInIndexOrder)
{
    // A damaged "Size" with a handful of values must not mean billions of
    // look-ups. Names match without regard to case, as the registry's do;
    // names that no index is formatted to are not entries.
    ASSERT_EQ(1, WriteRegDword(HKEY_CURRENT_USER, kList, "Size", 0xFFFFFFFF));
    PutData(7, "seven");
    PutData(2, "two");
    PutData(100000000, "nine digits");
    PutData(0x80000001, "beyond 2^31");
    PutData(3, "");
    ASSERT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kList, "data00000005", "five"));
    ASSERT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kList, "Data000000004", "not a name we write"));
    ASSERT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kList, "Data00000000", "index zero"));
    ASSERT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kList, "Data 0000006", "not a name we write"));
    ASSERT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kList, "Other", "unrelated"));
    EXPECT_EQ(List({"two", "five", "seven", "nine digits", "beyond 2^31"}), Loaded());

    // The same values under a size that leaves some out.
    ASSERT_EQ(1, WriteRegDword(HKEY_CURRENT_USER, kList, "Size", 0x7FFFFFFF));
    EXPECT_EQ(List({"two", "five", "seven", "nine digits"}), Loaded());
    ASSERT_EQ(1, WriteRegDword(HKEY_CURRENT_USER, kList, "Size", 6));
    EXPECT_EQ(List({"two", "five"}), Loaded());

    m_history.Add("new");
    EXPECT_EQ(3u, StoredSize());
    EXPECT_EQ(List({"new", "two", "five"}), Loaded());
}
