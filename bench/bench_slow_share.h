// The bar's responsiveness with paths on a slow share: see bench_slow_share.cpp.
#pragma once

#include "settings/PathHistory.h"

#include <string>
#include <vector>

// The user's WinDiff file name and both histories, put back as they were
// when the object goes.
class SavedPairmateState {
public:
    SavedPairmateState();
    ~SavedPairmateState();
    SavedPairmateState(const SavedPairmateState&) = delete;
    SavedPairmateState& operator=(const SavedPairmateState&) = delete;

private:
    std::string m_fileName;
    bool m_hadFileName = false;
    PathHistory m_history1, m_history2;
    std::vector<std::string> m_saved1, m_saved2;
};

// `programs`: the pairmate.exe files to time (full paths), one after
// another, each with `standIn` as its WinDiff.
void BenchSlowShare(const std::vector<std::string>& programs, const std::string& standIn);
