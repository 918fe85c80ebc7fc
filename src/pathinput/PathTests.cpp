#include "pathinput/PathTests.h"

PathKind GetPathKind(const std::string& path)
{
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::Missing;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

BOOL IsExistingFile(const std::string& path)
{
    return GetPathKind(path) == PathKind::File;
}

BOOL IsExistingFolder(const std::string& path)
{
    return GetPathKind(path) == PathKind::Folder;
}
