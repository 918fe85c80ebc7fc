// The command line a comparison program is started with: the program's
// quoted file name, then its arguments, a line in which %1 and %2 stand for
// the two paths to compare and %% for a single %. Programs that need other
// arguments than the two paths have a preset, chosen by their file name.
// Plain functions: no window, no registry.
#pragma once

#include <string>

// "%1 %2": the two paths alone, as WinDiff and most programs take them.
extern const char kPlainArguments[];

// The preset arguments of the program `program` (a full file name or a bare
// one), by its file name without regard to letter case; kPlainArguments for
// any program the table does not know.
const char* PresetArguments(const std::string& program);

// Whether `program` compares two folders as well as two files. Only
// programs the table marks as comparing files only give false.
bool ComparesFolders(const std::string& program);

// Whether `line` holds both %1 and %2 (a %% is a literal %, so "%%1" holds
// no %1).
bool HasBothPlaceholders(const std::string& line);

// The arguments in force for `program`: the stored line when it holds both
// placeholders, else the program's preset.
std::string ArgumentsInForce(const std::string& program, const std::string& stored);

// A path in double quotes, read back whole by programs that split their
// command line with the C runtime (runs of backslashes before the closing
// quote doubled; a double-byte character's trail byte 0x5C is no backslash).
std::string QuotedArgument(const std::string& path);

// The whole command line that compares `path1` with `path2`: the quoted
// program file name, a space, and the arguments in force (ArgumentsInForce
// of `stored`) with %1 and %2 replaced by the quoted paths and %% by %.
// A % before anything else stays as it is.
std::string CompareCommandLine(const std::string& program, const std::string& stored, const std::string& path1,
                               const std::string& path2);
