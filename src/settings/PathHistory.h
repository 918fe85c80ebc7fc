// A recent-path list of one compare slot, kept only in the registry: the
// REG_DWORD "Size" holds the number of entries N, and the REG_SZ values
// "Data00000001" .. "Data" + N (eight digits at least) hold the entries, most
// recent first. Nothing is kept in memory between operations; every
// operation returns 1, whatever the registry calls gave.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

class PathHistory {
public:
    PathHistory(HKEY root, std::string subKey);

    // Appends the stored entries, in stored order, to `out`. Missing and
    // empty entries are skipped; a missing "Size" gives nothing.
    int Load(std::vector<std::string>& out) const;
    // Stores `entries` as the whole list. Values above the new size stay.
    int Save(const std::vector<std::string>& entries) const;
    // Moves `path` to the top of the list, dropping every entry equal to it
    // apart from letter case.
    int Add(const std::string& path) const;
    // Makes the list empty (only "Size" is written).
    int Clear() const;

    // The name of the value that holds entry `index` (counted from 1).
    static std::string DataValueName(DWORD index);

    HKEY m_hRootKey;
    std::string m_strSubKey;

private:
    static std::vector<DWORD> ListedIndexes(HKEY key, DWORD size);
};
