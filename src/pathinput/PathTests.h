// Whether a path names an existing file or an existing folder. The path is
// used exactly as given (no trimming or normalisation). Each test asks the
// file system once; on a slow disk or share that may take seconds, so the
// bar asks them on its worker (app/PathWorker.h).
#pragma once

#include <windows.h>

#include <string>

enum class PathKind { Missing, File, Folder };

// What the path names, from one look at its attributes.
PathKind GetPathKind(const std::string& path);
BOOL IsExistingFile(const std::string& path);
BOOL IsExistingFolder(const std::string& path);
