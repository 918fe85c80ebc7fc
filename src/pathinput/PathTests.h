// Whether a path names an existing file or an existing folder. The path is
// used exactly as given (no trimming or normalisation).
#pragma once

#include <windows.h>

#include <string>

BOOL IsExistingFile(const std::string& path);
BOOL IsExistingFolder(const std::string& path);
