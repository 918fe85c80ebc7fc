#include "settings/Settings.h"

#include "framework/Handles.h"
#include "settings/ProgramArguments.h"
#include "settings/Registry.h"

#include <cstring>

const char kRegPairmateKey[] = "Software\\Velmora\\Pairmate";
const char kRegHistory1Key[] = "Software\\Velmora\\Pairmate\\File1";
const char kRegHistory2Key[] = "Software\\Velmora\\Pairmate\\File2";
const char kRegFileName[] = "FileName";
const char kRegAutoMinimized[] = "AutoMinimized";
const char kRegHotKey[] = "HotKey";
const char kRegArguments[] = "Arguments";
const char kRegMonitor[] = "Monitor";

void LoadPairmateSettings(std::string& winDiffPath, BOOL& autoMinimize)
{
    // The keys are created on every start, one level at a time; writes
    // later on never create keys themselves.
    CreateRegKey(HKEY_CURRENT_USER, "Software", "Velmora");
    CreateRegKey(HKEY_CURRENT_USER, "Software\\Velmora", "Pairmate");
    CreateRegKey(HKEY_CURRENT_USER, kRegPairmateKey, "File1");
    CreateRegKey(HKEY_CURRENT_USER, kRegPairmateKey, "File2");

    DWORD stored = 0;
    if (ReadRegDword(HKEY_CURRENT_USER, kRegPairmateKey, kRegAutoMinimized, &stored))
        autoMinimize = stored != 0 ? TRUE : FALSE;
    else
        autoMinimize = TRUE;

    // A file name found through Microsoft's key is not stored: it is looked
    // up again at every start until the user confirms one.
    if (!ReadRegString(HKEY_CURRENT_USER, kRegPairmateKey, kRegFileName, winDiffPath)) {
        winDiffPath.clear();
        FindWinDiffPath(winDiffPath);
    }
}

bool IsHotKeyValue(DWORD value)
{
    // A modifier alone is no key; HOTKEYF_SHIFT, _CONTROL, _ALT and _EXT are
    // the only bits above the virtual key.
    return value == 0 || ((value & ~0x0FFFu) == 0 && LOBYTE(value) != 0);
}

WORD LoadHotKeySetting()
{
    RegKey key;
    RegRawValue raw;
    if (key.Open(HKEY_CURRENT_USER, kRegPairmateKey, KEY_READ) != ERROR_SUCCESS ||
        !ReadRegRawValue(key.Get(), kRegHotKey, raw) || raw.type != REG_DWORD || raw.size != sizeof(DWORD))
        return kDefaultHotKey;
    DWORD value = 0;
    std::memcpy(&value, raw.data.get(), sizeof(value));
    return IsHotKeyValue(value) ? static_cast<WORD>(value) : kDefaultHotKey;
}

std::string LoadArgumentsSetting()
{
    RegKey key;
    std::string line;
    if (key.Open(HKEY_CURRENT_USER, kRegPairmateKey, KEY_QUERY_VALUE) != ERROR_SUCCESS ||
        !ReadRegSzValue(key.Get(), kRegArguments, line))
        line.clear();
    return line;
}

std::string SaveArgumentsSetting(const std::string& program, const std::string& line)
{
    RegKey key;
    if (key.Open(HKEY_CURRENT_USER, kRegPairmateKey, KEY_SET_VALUE) != ERROR_SUCCESS) return LoadArgumentsSetting();
    if (line == PresetArguments(program)) {
        ::RegDeleteValueA(key.Get(), kRegArguments);
        return LoadArgumentsSetting();
    }
    return WriteRegStringValue(key.Get(), kRegArguments, line.c_str()) ? line : LoadArgumentsSetting();
}
