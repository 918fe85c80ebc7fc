#include <gtest/gtest.h>

#include "ScratchRegistry.h"
#include "framework/Handles.h"
#include "settings/DiffPrograms.h"
#include "settings/Registry.h"
#include "settings/Settings.h"
#include "settings/WindowsVersion.h"

#include <commctrl.h>

#include <cstring>
#include <list>

namespace {

const char kScratch[] = "Software\\PairmateTests";
const char kWork[] = "Software\\PairmateTests\\Registry";

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, kScratch);
        ASSERT_TRUE(CreateRegistryPath(HKEY_CURRENT_USER, kWork));
    }
    RegistryKeySnapshot m_restore{HKEY_CURRENT_USER, kScratch};
};

DWORD StoredType(const char* name, DWORD* size)
{
    RegKey key;
    DWORD type = REG_NONE;
    if (key.Open(HKEY_CURRENT_USER, kWork, KEY_READ) == ERROR_SUCCESS)
        ::RegQueryValueExA(key.Get(), name, nullptr, &type, nullptr, size);
    return type;
}

} // namespace

TEST_F(RegistryTest, CreateRegKeyCreatesOneLevelBelowAnExistingKey)
{
    EXPECT_EQ(1, CreateRegKey(HKEY_CURRENT_USER, kWork, "Child"));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, std::string(kWork) + "\\Child"));

    // An existing child is simply opened; its values stay.
    ASSERT_EQ(1, WriteRegDword(HKEY_CURRENT_USER, "Software\\PairmateTests\\Registry\\Child", "Kept", 5));
    EXPECT_EQ(1, CreateRegKey(HKEY_CURRENT_USER, kWork, "Child"));
    DWORD kept = 0;
    EXPECT_EQ(1, ReadRegDword(HKEY_CURRENT_USER, "Software\\PairmateTests\\Registry\\Child", "Kept", &kept));
    EXPECT_EQ(5u, kept);

    // The parent path must exist: nothing is created when it does not.
    EXPECT_EQ(0, CreateRegKey(HKEY_CURRENT_USER, "Software\\PairmateTests\\Missing", "Child"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\PairmateTests\\Missing"));
}

TEST_F(RegistryTest, WritesStoreTheDocumentedTypesAndNeverCreateKeys)
{
    EXPECT_EQ(1, WriteRegDword(HKEY_CURRENT_USER, kWork, "Number", 0x12345678));
    DWORD size = 0;
    EXPECT_EQ(static_cast<DWORD>(REG_DWORD), StoredType("Number", &size));
    EXPECT_EQ(4u, size);

    const char text[] = "C:\\表\\ソフト\\windiff.exe";
    EXPECT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kWork, "Text", text));
    EXPECT_EQ(static_cast<DWORD>(REG_SZ), StoredType("Text", &size));
    EXPECT_EQ(std::strlen(text) + 1, size);
    std::string read;
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kWork, "Text", read));
    EXPECT_EQ(text, read);

    EXPECT_EQ(0, WriteRegDword(HKEY_CURRENT_USER, "Software\\PairmateTests\\Missing", "Number", 1));
    EXPECT_EQ(0, WriteRegString(HKEY_CURRENT_USER, "Software\\PairmateTests\\Missing", "Text", "x"));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, "Software\\PairmateTests\\Missing"));
}

TEST_F(RegistryTest, ReadRegDwordTakesAnyTypeUpToFourBytes)
{
    DWORD value = 0xDEADBEEF;
    EXPECT_EQ(0, ReadRegDword(HKEY_CURRENT_USER, kWork, "Absent", &value));
    EXPECT_EQ(0u, value);

    const BYTE one[] = {7};
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kWork, "OneByte", REG_BINARY, one, sizeof(one)));
    value = 0xDEADBEEF;
    EXPECT_EQ(1, ReadRegDword(HKEY_CURRENT_USER, kWork, "OneByte", &value));
    EXPECT_EQ(7u, value);

    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kWork, "Text", REG_SZ, "1", 2));
    EXPECT_EQ(1, ReadRegDword(HKEY_CURRENT_USER, kWork, "Text", &value));
    EXPECT_EQ(0x31u, value);

    const BYTE eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kWork, "Long", REG_BINARY, eight, sizeof(eight)));
    value = 0xDEADBEEF;
    EXPECT_EQ(0, ReadRegDword(HKEY_CURRENT_USER, kWork, "Long", &value));
    EXPECT_EQ(0u, value);
}

TEST_F(RegistryTest, ReadRegStringTakesWhateverBytesAreStored)
{
    std::string text = "old";
    EXPECT_EQ(0, ReadRegString(HKEY_CURRENT_USER, kWork, "Absent", text));
    EXPECT_EQ("", text);
    text = "old";
    EXPECT_EQ(0, ReadRegString(HKEY_CURRENT_USER, "Software\\PairmateTests\\Missing", "Absent", text));
    EXPECT_EQ("", text);

    // Stored without its terminating NUL.
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kWork, "Unterminated", REG_SZ, "C:\\ソ", 5));
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kWork, "Unterminated", text));
    EXPECT_EQ("C:\\ソ", text);

    const char expand[] = "%SystemRoot%\\windiff.exe";
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kWork, "Expand", REG_EXPAND_SZ, expand, sizeof(expand)));
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kWork, "Expand", text));
    EXPECT_EQ(expand, text);

    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kWork, "Binary", REG_BINARY, "ab\0cd", 5));
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kWork, "Binary", text));
    EXPECT_EQ("ab", text);

    // Longer than a path, with and without the terminating NUL.
    const std::string longText = std::string(3000, 'x') + "表";
    for (DWORD size : {static_cast<DWORD>(longText.size() + 1), static_cast<DWORD>(longText.size())}) {
        ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kWork, "Long", REG_SZ, longText.c_str(), size));
        EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kWork, "Long", text));
        EXPECT_EQ(longText, text);
    }

    text = "old";
    ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kWork, "Empty", REG_SZ, "", 0));
    EXPECT_EQ(1, ReadRegString(HKEY_CURRENT_USER, kWork, "Empty", text));
    EXPECT_EQ("", text);
}

// Microsoft's shared-tools key and the program's own key, restored afterwards.
class SettingsLoadTest : public ::testing::Test {
protected:
    static constexpr const char* kSharedTools = "SOFTWARE\\Microsoft\\Shared Tools";
    static constexpr const char* kWinDiffKey = "SOFTWARE\\Microsoft\\Shared Tools\\windiff.exe";

    void SetUp() override
    {
        DeleteRegistryTree(HKEY_CURRENT_USER, "Software\\Velmora");
        DeleteRegistryTree(HKEY_LOCAL_MACHINE, kWinDiffKey);
        m_windiff = m_temp.MakeFile("windiff.exe");
        m_folder = m_temp.MakeFolder("folder");
    }
    void RegisterWinDiff(const std::string& path)
    {
        ASSERT_TRUE(CreateRegistryPath(HKEY_LOCAL_MACHINE, kWinDiffKey));
        ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, kWinDiffKey, "Path", REG_SZ, path.c_str(),
                                static_cast<DWORD>(path.size() + 1)));
    }
    void Load()
    {
        m_path = "previous";
        m_autoMinimize = 5;
        LoadPairmateSettings(m_path, m_autoMinimize);
    }

    RegistryKeySnapshot m_restoreUser{HKEY_CURRENT_USER, "Software\\Velmora"};
    RegistryKeySnapshot m_restoreMachine{HKEY_LOCAL_MACHINE, kSharedTools};
    TempFolder m_temp;
    std::string m_windiff;
    std::string m_folder;
    std::string m_path;
    BOOL m_autoMinimize = 0;
};

TEST_F(SettingsLoadTest, FirstStartCreatesTheKeysAndFindsMicrosoftsWinDiff)
{
    RegisterWinDiff(m_windiff);
    Load();
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kRegHistory1Key));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, kRegHistory2Key));
    EXPECT_EQ(m_windiff, m_path);
    EXPECT_EQ(TRUE, m_autoMinimize);
    // What was found is looked up again next time, not stored.
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRegPairmateKey, kRegAutoMinimized));
}

TEST_F(SettingsLoadTest, MicrosoftsPathMustNameAnExistingFile)
{
    for (const std::string& registered : {m_folder, m_temp.Path() + "\\missing.exe", std::string()}) {
        SCOPED_TRACE(registered);
        RegisterWinDiff(registered);
        Load();
        EXPECT_EQ("", m_path);
        std::string out = "unchanged";
        EXPECT_EQ(0, FindWinDiffPath(out));
        EXPECT_EQ("unchanged", out);
    }
    DeleteRegistryTree(HKEY_LOCAL_MACHINE, kWinDiffKey);
    std::string out = "unchanged";
    EXPECT_EQ(0, FindWinDiffPath(out));
    EXPECT_EQ("unchanged", out);

    RegisterWinDiff(m_windiff);
    EXPECT_EQ(1, FindWinDiffPath(out));
    EXPECT_EQ(m_windiff, out);
}

TEST_F(SettingsLoadTest, StoredFileNameWinsWhateverItHolds)
{
    RegisterWinDiff(m_windiff);
    Load(); // creates the keys
    const std::string missing = m_temp.Path() + "\\gone\\windiff.exe";
    for (const std::string& stored : {std::string(), missing}) {
        ASSERT_EQ(1, WriteRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, stored.c_str()));
        Load();
        EXPECT_EQ(stored, m_path);
    }
}

TEST_F(SettingsLoadTest, AutoMinimizedIsOnUnlessAReadableValueIsZero)
{
    Load(); // creates the keys
    EXPECT_EQ(TRUE, m_autoMinimize);
    struct Case {
        DWORD type;
        std::vector<BYTE> data;
        BOOL expected;
    };
    const Case cases[] = {
        {REG_DWORD, {0, 0, 0, 0}, FALSE},
        {REG_DWORD, {1, 0, 0, 0}, TRUE},
        {REG_DWORD, {7, 0, 0, 0}, TRUE},          // any non-zero value is on, held as 1
        {REG_BINARY, {0}, FALSE},                 // shorter data lands in the low bytes
        {REG_BINARY, {0, 0, 0, 0, 0, 0, 0, 0}, TRUE}, // too long: unreadable, the default
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.data.size());
        ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kRegPairmateKey, kRegAutoMinimized, c.type, c.data.data(),
                                static_cast<DWORD>(c.data.size())));
        Load();
        EXPECT_EQ(c.expected, m_autoMinimize);
    }
}

TEST_F(SettingsLoadTest, HotKeyIsCtrlAltPUnlessAStoredDwordTheHotKeyControlCanGive)
{
    Load(); // creates the keys
    EXPECT_EQ(MAKEWORD('P', HOTKEYF_CONTROL | HOTKEYF_ALT), LoadHotKeySetting());
    const struct { DWORD type; std::vector<BYTE> data; WORD expected; } cases[] = {
        {REG_DWORD, {0, 0, 0, 0}, 0},                          // none
        {REG_DWORD, {'Q', HOTKEYF_SHIFT | HOTKEYF_EXT, 0, 0}, 0x0951},
        {REG_DWORD, {'Q', 0x16, 0, 0}, kDefaultHotKey},        // a bit above HOTKEYF_EXT
        {REG_DWORD, {'Q', 0x06, 1, 0}, kDefaultHotKey},        // bits above the control's word
        {REG_DWORD, {0, 0x06, 0, 0}, kDefaultHotKey},          // modifiers without a key
        {REG_DWORD, {'Q', 0x06}, kDefaultHotKey},              // too short
        {REG_BINARY, {'Q', 0x06, 0, 0}, kDefaultHotKey},       // another type
        {REG_SZ, {'1', '2', 0}, kDefaultHotKey},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "type " << c.type << ", " << c.data.size() << " bytes");
        ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kRegPairmateKey, kRegHotKey, c.type, c.data.data(),
                                static_cast<DWORD>(c.data.size())));
        EXPECT_EQ(c.expected, LoadHotKeySetting());
    }
}

TEST_F(SettingsLoadTest, ArgumentsAreAStoredSzOnlyAndAPresetIsNeverStored)
{
    Load(); // creates the program's key
    for (DWORD type : {REG_SZ, REG_EXPAND_SZ, REG_BINARY}) {
        ASSERT_TRUE(SetRawValue(HKEY_CURRENT_USER, kRegPairmateKey, kRegArguments, type, "-a %1 %2", 9));
        EXPECT_EQ(type == REG_SZ ? "-a %1 %2" : "", LoadArgumentsSetting()) << type;
    }
    // Stored where it differs from the program's preset; removed where equal.
    EXPECT_EQ("%1 %2", SaveArgumentsSetting("C:\\Code.exe", "%1 %2"));
    EXPECT_EQ("", SaveArgumentsSetting("C:\\code.exe", "--diff %1 %2"));
    EXPECT_FALSE(ValueExists(HKEY_CURRENT_USER, kRegPairmateKey, kRegArguments));
    EXPECT_EQ("", SaveArgumentsSetting("C:\\windiff.exe", "%1 %2")); // removing nothing is no failure
}

// The comparison programs' keys for the current user and in both views of
// the local machine's (one on 32-bit Windows), emptied and restored after.
class DiffProgramsTest : public ::testing::Test {
protected:
    struct Program { std::string name, key; const char* value; const char* fileInFolder; };
    const Program kPrograms[7] = {{"WinMerge", "Thingamahoochie\\WinMerge", "Executable", nullptr},
        {"Beyond Compare 5", "Scooter Software\\Beyond Compare 5", "ExePath", nullptr},
        {"Beyond Compare 4", "Scooter Software\\Beyond Compare 4", "ExePath", nullptr},
        {"Beyond Compare 3", "Scooter Software\\Beyond Compare 3", "ExePath", nullptr},
        {"KDiff3", "KDiff3", nullptr, "kdiff3.exe"}, {"P4Merge", "Perforce\\Environment", "P4INSTROOT", "p4merge.exe"},
        {"DiffMerge", "SourceGear\\SourceGear DiffMerge", "Location", nullptr}};
    using Place = std::pair<HKEY, REGSAM>;
    const Place kUser{HKEY_CURRENT_USER, 0}, k64{HKEY_LOCAL_MACHINE, KEY_WOW64_64KEY}, k32{HKEY_LOCAL_MACHINE, KEY_WOW64_32KEY};
    // Visual Studio Code's uninstall entries and where each is written: the
    // user's (x64, x86, Arm64), the machine's (x64, Arm64, x86).
    const std::string kUninstall = "Microsoft\\Windows\\CurrentVersion\\Uninstall\\";
    const std::pair<std::string, Place> kCode[6] = {
        {"{771FD6B0-FA20-440A-A002-3B3BAC16DC50}_is1", kUser}, {"{D628A17A-9713-46BF-8D57-E671B46A741E}_is1", kUser},
        {"{D9E514E7-1A56-452D-9337-2990C0DC4310}_is1", kUser}, {"{EA457B21-F73E-494C-ACAB-524FDE069978}_is1", k64},
        {"{A5270FC5-65AD-483E-AC30-2C276B63D0AC}_is1", k64},   {"{F8A2A208-72B3-4D61-95FC-8A65D340689B}_is1", k32}};

    static void Write(Place at, const Program& p, const std::string& data, DWORD type = REG_SZ)
    {
        ASSERT_TRUE(SetRawValue(at.first, "Software\\" + p.key, p.value, type, data.c_str(),
                                static_cast<DWORD>(data.size() + 1), at.second));
    }
    // Installs `p` in a folder of its own; returns what finding it gives.
    std::string Install(Place at, const Program& p)
    {
        const std::string name = std::to_string(++m_installed), folder = m_temp.MakeFolder(name);
        const std::string file = m_temp.MakeFile(name + "\\" + (p.fileInFolder ? p.fileInFolder : "x.exe"));
        Write(at, p, p.fileInFolder ? folder : file);
        return p.name + " " + file;
    }
    static std::string Found()
    {
        FoundDiffProgram found{"unchanged", ""};
        return FindDiffProgram(found) ? found.name + " " + found.path : found.name;
    }

    void SetUp() override
    {
        std::vector<std::string> vendors = {"Thingamahoochie", "Scooter Software", "KDiff3", "Perforce", "SourceGear", "Meld", "TortoiseGit"};
        for (const auto& code : kCode) vendors.push_back(kUninstall + code.first);
        for (const std::string& vendor : vendors)
            for (std::string root : {"HKCU\\Software\\", "HKLM\\Software\\", "HKLM\\Software\\Wow6432Node\\"}) {
                const HKEY hive = root[2] == 'C' ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
                m_restore.emplace_back(hive, root.substr(5) + vendor);
                DeleteRegistryTree(hive, root.substr(5) + vendor);
            }
    }
    std::list<RegistryKeySnapshot> m_restore;
    TempFolder m_temp;
    int m_installed = 0;
};

TEST_F(DiffProgramsTest, EachIsFoundInTheTablesOrderTheUsersFirstThenTheSixtyFourBitView)
{
    const std::pair<int, Place> order[] = {{0, kUser}, {0, k64}, {0, k32}, {1, k32}, {2, k64}, {3, kUser},
                                           {4, k32}, {5, k64}, {6, kUser}};
    std::string found[9];
    for (int i = 8; i >= 0; --i) found[i] = Install(order[i].second, kPrograms[order[i].first]);
    // Where Windows has one view only, WinMerge's two entries there are one.
    std::string seen;
    RegKey view;
    view.Open(HKEY_LOCAL_MACHINE, "Software\\Thingamahoochie\\WinMerge", KEY_READ | KEY_WOW64_32KEY);
    const bool twoViews = ReadRegStringValue(view.Get(), "Executable", seen) && "WinMerge " + seen == found[2];
    for (int i = 0; i < 9; ++i) {
        if (i == 2 && !twoViews) continue;
        EXPECT_EQ(found[i], Found());
        Write(order[i].second, kPrograms[order[i].first], ""); // passed over from now on
    }
    EXPECT_EQ("unchanged", Found());
}

TEST_F(DiffProgramsTest, MeldCodeAndTortoiseGitMergeComeAfterTheOthersInTheirInstallersPlaces)
{
    const Program meld{"Meld", "Meld", "Executable", nullptr}, tgm{"TortoiseGitMerge", "TortoiseGit", "TMergePath", nullptr};
    auto code = [&](const std::string& guid) { return Program{"Visual Studio Code", kUninstall + guid, "InstallLocation", "Code.exe"}; };
    // Not read where their installers do not write them.
    Install(kUser, meld);
    Install(kUser, tgm);
    Install(k64, code(kCode[0].first));
    EXPECT_TRUE(FindDiffPrograms().empty());
    // All found, in the table's order; a folder ending in a backslash is taken.
    const std::string found[] = {Install(k32, meld), Install(kUser, code(kCode[1].first)), Install(k64, tgm)};
    const std::string winMerge = Install(k64, kPrograms[0]);
    Write(kUser, code(kCode[1].first), m_temp.Path() + "\\" + std::to_string(m_installed - 2) + "\\");
    std::vector<std::string> all;
    for (const FoundDiffProgram& f : FindDiffPrograms()) all.push_back(f.name + " " + f.path);
    EXPECT_EQ((std::vector<std::string>{winMerge, found[0], found[1], found[2]}), all);
    for (const auto& gone : {std::make_pair(kUser, code(kCode[1].first)), std::make_pair(k64, kPrograms[0]), std::make_pair(k32, meld)})
        Write(gone.first, gone.second, "");
    // Each of Code's entries alone in its own place (TortoiseGitMerge comes after it).
    for (const auto& entry : kCode) {
        const std::string installed = Install(entry.second, code(entry.first));
        EXPECT_EQ(installed, Found()) << entry.first;
        Write(entry.second, code(entry.first), "");
    }
}

TEST_F(DiffProgramsTest, BadEntriesArePassedOverSilently)
{
    const std::string next = Install(k32, kPrograms[6]), exe = m_temp.MakeFile("bad.exe");
    const std::string folder = m_temp.MakeFolder("kdiff3"), missing = m_temp.Path() + "\\missing.exe";
    m_temp.MakeFile("kdiff3\\kdiff3.exe");
    char previous[MAX_PATH] = {};
    ::GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(::SetCurrentDirectoryA(m_temp.Path().c_str())); // where relative names would be found
    const struct { int program; DWORD type; std::string data; } cases[] = {{0, REG_EXPAND_SZ, exe},
        {0, REG_BINARY, exe}, {0, REG_SZ, ""}, {0, REG_SZ, "C:\\" + std::string(3000, 'x') + ".exe"},
        {0, REG_SZ, "bad.exe"}, {0, REG_SZ, exe.substr(2)}, {0, REG_SZ, folder}, {0, REG_SZ, missing},
        {4, REG_SZ, "kdiff3"}, {4, REG_SZ, exe}, {4, REG_SZ, "C:\\" + std::string(250, 'x')}};
    for (const auto& c : cases) {
        Write(kUser, kPrograms[c.program], c.data, c.type);
        EXPECT_EQ(next, Found()) << c.data.substr(0, 80);
    }
    ::SetCurrentDirectoryA(previous);
}

TEST(WindowsVersion, XPIsTheFirstNTVersionThatCounts)
{
    EXPECT_FALSE(IsWindowsXPOrLaterVersion(VER_PLATFORM_WIN32_NT, 5, 0));
    EXPECT_TRUE(IsWindowsXPOrLaterVersion(VER_PLATFORM_WIN32_NT, 5, 1));
    EXPECT_TRUE(IsWindowsXPOrLaterVersion(VER_PLATFORM_WIN32_NT, 5, 2));
    EXPECT_TRUE(IsWindowsXPOrLaterVersion(VER_PLATFORM_WIN32_NT, 6, 0));
    EXPECT_FALSE(IsWindowsXPOrLaterVersion(VER_PLATFORM_WIN32_NT, 4, 90));
    EXPECT_FALSE(IsWindowsXPOrLaterVersion(VER_PLATFORM_WIN32_WINDOWS, 6, 0));
    EXPECT_FALSE(IsWindowsXPOrLaterVersion(0, 0, 0)); // a record left zeroed
    // Wine reports Windows 7.
    EXPECT_TRUE(IsWindowsXPOrLater());
}
