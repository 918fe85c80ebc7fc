// Comparison programs other than WinDiff that take two paths on their command
// line as WinDiff does, found where their installers record them: offered in
// the Initial-setup dialog when no usable windiff.exe is known.
#pragma once

#include <string>

struct FoundDiffProgram {
    std::string name; // as the user knows it ("WinMerge"), the same in every language
    std::string path; // full file name of its executable
};

// Looks for the known programs in a fixed order (WinMerge, Beyond Compare 5,
// 4 and 3, KDiff3, P4Merge, DiffMerge), each in the current user's registry
// first and then in the local machine's (in both registry views where
// Windows has two), and takes the first entry that names an existing file.
// Entries that do not (another value type, empty, too long, relative, a
// folder, a missing file) are passed over silently. Reads only; returns 1
// when a program was found, else 0 with `out` unchanged.
int FindDiffProgram(FoundDiffProgram& out);
