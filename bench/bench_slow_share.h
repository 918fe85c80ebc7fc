// The bar's responsiveness with paths on a slow share: see bench_slow_share.cpp.
#pragma once

#include <string>
#include <vector>

// `programs`: the pairmate.exe files to time (full paths), one after
// another, each with `standIn` as its WinDiff.
void BenchSlowShare(const std::vector<std::string>& programs, const std::string& standIn);
