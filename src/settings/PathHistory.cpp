#include "settings/PathHistory.h"

#include "framework/Handles.h"
#include "settings/Registry.h"
#include "settings/TextCompare.h"

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace {

const char kSizeValue[] = "Size";
const char kDataPrefix[] = "Data";

// The index whose value name is `name` (the prefix matched without regard to
// case, as the registry matches value names), or 0 when the name is not one
// that DataValueName gives.
DWORD ParseDataValueName(const char* name)
{
    static const char kUpperPrefix[] = "DATA";
    for (int i = 0; i < 4; ++i) {
        const char c = name[i];
        if (((c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c) != kUpperPrefix[i]) return 0;
    }
    const char* digits = name + 4;
    const char* p = digits;
    if (*p == '-') ++p;
    if (*p < '0' || *p > '9') return 0;
    char* end = nullptr;
    const long long number = std::strtoll(digits, &end, 10);
    if (*end != '\0' || number < LONG_MIN || number > LONG_MAX || number == 0) return 0;
    const DWORD index = static_cast<DWORD>(static_cast<long>(number));
    // Only the exact spelling counts (no extra leading zeros, for example).
    if (PathHistory::DataValueName(index).compare(4, std::string::npos, digits) != 0) return 0;
    return index;
}

// An entry that exists although its text could not be read: one whose text
// the code page cannot hold (not an empty one). `raw` receives it as stored.
bool IsHiddenEntry(HKEY key, const std::string& name, RegRawValue& raw)
{
    return ReadRegRawValue(key, name.c_str(), raw) && raw.size >= sizeof(WCHAR) &&
           (raw.data[0] != 0 || raw.data[1] != 0);
}

} // namespace

PathHistory::PathHistory(HKEY root, std::string subKey) : m_hRootKey(root), m_strSubKey(std::move(subKey)) {}

std::string PathHistory::DataValueName(DWORD index)
{
    // The index as a signed number of at least eight places, zero-padded
    // after the sign ("Data00000012", "Data-0000003").
    const long number = static_cast<long>(index);
    unsigned long magnitude = number < 0 ? 0UL - static_cast<unsigned long>(number) : static_cast<unsigned long>(number);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + magnitude % 10));
        magnitude /= 10;
    } while (magnitude != 0);
    const size_t width = number < 0 ? 7 : 8;
    if (digits.size() < width) digits.insert(0, width - digits.size(), '0');
    return std::string(kDataPrefix) + (number < 0 ? "-" : "") + digits;
}

// The indexes 1..size whose "Data" values may hold an entry, in increasing
// order. A sound list has no more entries than its key has values, and is
// read index by index. A larger "Size" (a damaged or hostile value such as
// 0xFFFFFFFF) would mean billions of look-ups: then the key's value names are
// listed once and only the indexes that really exist are read.
std::vector<DWORD> PathHistory::ListedIndexes(HKEY key, DWORD size)
{
    std::vector<DWORD> indexes;
    DWORD valueCount = 0;
    DWORD maxNameLength = 0;
    if (::RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &valueCount, &maxNameLength,
                           nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        return indexes;

    if (size <= valueCount) {
        indexes.reserve(size);
        for (DWORD i = 1; i <= size && i != 0; ++i) indexes.push_back(i);
        return indexes;
    }

    std::vector<char> name(static_cast<size_t>(maxNameLength) + 1);
    for (DWORD n = 0;; ++n) {
        DWORD nameLength = static_cast<DWORD>(name.size());
        const LONG rc = ::RegEnumValueA(key, n, name.data(), &nameLength, nullptr, nullptr, nullptr, nullptr);
        if (rc == ERROR_MORE_DATA) {
            // A name longer than the key reported (names with double-byte
            // characters can be): not one of ours.
            continue;
        }
        if (rc != ERROR_SUCCESS) break;
        const DWORD index = ParseDataValueName(name.data());
        if (index != 0 && index <= size) indexes.push_back(index);
    }
    std::sort(indexes.begin(), indexes.end());
    indexes.erase(std::unique(indexes.begin(), indexes.end()), indexes.end());
    return indexes;
}

// Load and Save open the key once and do all their reads or writes through
// that handle: the same values are read and written, in the same order, as
// with one registry operation per value, at a fraction of the cost.
void PathHistory::LoadEntries(std::vector<Entry>& out, bool withHidden) const
{
    RegKey key;
    if (key.Open(m_hRootKey, m_strSubKey.c_str(), KEY_READ) != ERROR_SUCCESS) return;
    DWORD size = 0;
    if (!ReadRegDwordValue(key.Get(), kSizeValue, &size) || size == 0) return;

    for (DWORD index : ListedIndexes(key.Get(), size)) {
        const std::string name = DataValueName(index);
        Entry entry;
        entry.shown = ReadRegStringValue(key.Get(), name.c_str(), entry.text) != 0;
        if (entry.shown ? !entry.text.empty() : withHidden && IsHiddenEntry(key.Get(), name, entry.raw))
            out.push_back(std::move(entry));
    }
}

void PathHistory::SaveEntries(const std::vector<Entry>& entries) const
{
    // The key is never created here: a missing key means nothing is written.
    RegKey key;
    if (key.Open(m_hRootKey, m_strSubKey.c_str(), KEY_SET_VALUE) != ERROR_SUCCESS) return;
    WriteRegDwordValue(key.Get(), kSizeValue, static_cast<DWORD>(entries.size()));
    DWORD index = 1;
    for (const Entry& entry : entries) {
        // A failed write does not stop the others.
        const std::string name = DataValueName(index++);
        if (entry.shown)
            WriteRegStringValue(key.Get(), name.c_str(), entry.text.c_str());
        else
            WriteRegRawValue(key.Get(), name.c_str(), entry.raw);
    }
}

int PathHistory::Load(std::vector<std::string>& out) const
{
    std::vector<Entry> entries;
    LoadEntries(entries, false);
    for (Entry& entry : entries) out.push_back(std::move(entry.text));
    return 1;
}

int PathHistory::Save(const std::vector<std::string>& texts) const
{
    std::vector<Entry> entries;
    for (const std::string& text : texts) entries.push_back({text, {}, true});
    SaveEntries(entries);
    return 1;
}

int PathHistory::Add(const std::string& path) const
{
    std::vector<Entry> stored;
    LoadEntries(stored, true);

    std::vector<Entry> entries;
    entries.reserve(stored.size() + 1);
    entries.push_back({path, {}, true});
    const CaseFoldedText added(path);
    for (Entry& entry : stored) {
        if (!entry.shown || !added.Equals(CaseFoldedText(entry.text))) entries.push_back(std::move(entry));
    }
    SaveEntries(entries);
    return 1;
}

int PathHistory::Clear() const
{
    WriteRegDword(m_hRootKey, m_strSubKey.c_str(), kSizeValue, 0);
    return 1;
}
