// Comparison programs other than WinDiff, found where their installers
// record them: offered in the Initial-setup dialog when no usable windiff.exe
// is known, and in Settings.
#pragma once

#include <string>
#include <vector>

struct FoundDiffProgram {
    std::string name; // as the user knows it ("WinMerge"), the same in every language
    std::string path; // full file name of its executable
};

// Looks for the known programs in a fixed order (WinMerge, Beyond Compare 5,
// 4 and 3, KDiff3, P4Merge, DiffMerge, Meld, Visual Studio Code,
// TortoiseGitMerge), each in the current user's registry first and then in
// the local machine's (in both registry views where Windows has two; some
// installers write only one of these places), and takes the first entry that
// names an existing file, a program that compares folders before one that
// compares files only.
// Entries that do not (another value type, empty, too long, relative, a
// folder, a missing file) are passed over silently. Reads only; returns 1
// when a program was found, else 0 with `out` unchanged.
int FindDiffProgram(FoundDiffProgram& out);

// Every program of that table found, each once (where it is first found),
// those that compare folders before those that compare files only.
std::vector<FoundDiffProgram> FindDiffPrograms();
