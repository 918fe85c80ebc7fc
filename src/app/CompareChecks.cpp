#include "app/CompareChecks.h"

#include "app/RunProcess.h"
#include "pathinput/PathTests.h"
#include "res/resource.h"
#include "settings/ProgramArguments.h"

UINT FirstCompareFailure(const std::string& program, const std::string& path1, const std::string& path2)
{
    if (program.empty()) return IDS_NO_WINDIFF_NAME;
    if (GetPathKind(program) != PathKind::File) return IDS_WINDIFF_MISSING;
    if (path1.empty()) return IDS_PATH1_EMPTY;
    const PathKind kind1 = GetPathKind(path1);
    if (kind1 == PathKind::Missing) return IDS_PATH1_MISSING;
    if (path2.empty()) return IDS_PATH2_EMPTY;
    const PathKind kind2 = GetPathKind(path2);
    if (kind2 == PathKind::Missing) return IDS_PATH2_MISSING;
    // Both files, or both folders.
    if (kind1 != kind2) return IDS_KINDS_DIFFER;
    if (!ComparesFolders(program) && kind1 == PathKind::Folder) return IDS_FILES_ONLY;
    return 0;
}

UINT RunCompare(const CompareRequest& request, HANDLE stopEvent)
{
    if (const UINT failure = FirstCompareFailure(request.program, request.path1, request.path2)) return failure;
    if (stopEvent && ::WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0) return kCompareStopped;
    if (!RunProcess(request.commandLine.c_str(), nullptr, nullptr, 0, nullptr, stopEvent))
        return IDS_START_FAILED;
    return 0;
}
