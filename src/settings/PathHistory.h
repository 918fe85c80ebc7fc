// A recent-path list of one compare slot, kept only in the registry: the
// REG_DWORD "Size" holds the number of entries N, and the REG_SZ values
// "Data00000001" .. "Data" + N (eight digits at least) hold the entries, most
// recent first. Nothing is kept in memory between operations; every
// operation returns 1, whatever the registry calls gave.
//
// An entry whose text the ANSI code page cannot hold exactly (a path written
// on a system with another code page) is not shown, and never lost: Add keeps
// it as it is stored, in its place among the others.
#pragma once

#include "settings/Registry.h"

#include <windows.h>

#include <string>
#include <vector>

class PathHistory {
public:
    PathHistory(HKEY root, std::string subKey);

    // Appends the stored entries, in stored order, to `out`. Missing and
    // empty entries, and those the code page cannot hold, are skipped; a
    // missing "Size" gives nothing.
    int Load(std::vector<std::string>& out) const;
    // Stores `entries` as the whole list. Values above the new size stay.
    int Save(const std::vector<std::string>& entries) const;
    // Moves `path` to the top of the list, dropping every entry equal to it
    // apart from letter case; entries that Load skips for the code page stay.
    int Add(const std::string& path) const;
    // Makes the list empty (only "Size" is written).
    int Clear() const;

    // The name of the value that holds entry `index` (counted from 1).
    static std::string DataValueName(DWORD index);

    HKEY m_hRootKey;
    std::string m_strSubKey;

private:
    // A stored entry: its text, or, where the code page cannot hold it, the
    // value as stored.
    struct Entry {
        std::string text;
        RegRawValue raw;
        bool shown;
    };
    void LoadEntries(std::vector<Entry>& out, bool withHidden) const;
    void SaveEntries(const std::vector<Entry>& entries) const;
    static std::vector<DWORD> ListedIndexes(HKEY key, DWORD size);
};
