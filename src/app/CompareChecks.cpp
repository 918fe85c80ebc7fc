#include "app/CompareChecks.h"

#include "app/RunProcess.h"
#include "pathinput/PathTests.h"
#include "res/resource.h"

namespace {

// A path in double quotes, read back whole by programs that split their
// command line with the C runtime. There a run of backslashes right before a
// quote escapes it ("C:\" would arrive as C:"), so such a run is doubled. A
// trail byte 0x5C of a double-byte character is no backslash and stays as it
// is. Other backslashes and the path itself are left alone.
std::string QuotedArgument(const std::string& path)
{
    size_t trailingBackslashes = 0;
    for (size_t i = 0; i < path.size(); ++i) {
        if (::IsDBCSLeadByte(static_cast<BYTE>(path[i])) && i + 1 < path.size()) {
            ++i;
            trailingBackslashes = 0;
        } else {
            trailingBackslashes = path[i] == '\\' ? trailingBackslashes + 1 : 0;
        }
    }
    return "\"" + path + std::string(trailingBackslashes, '\\') + "\"";
}

} // namespace

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
    return 0;
}

UINT RunCompare(const CompareRequest& request, HANDLE stopEvent)
{
    if (const UINT failure = FirstCompareFailure(request.program, request.path1, request.path2)) return failure;
    if (stopEvent && ::WaitForSingleObject(stopEvent, 0) == WAIT_OBJECT_0) return kCompareStopped;
    if (!RunProcess(request.program.c_str(), request.arguments.c_str(), nullptr, 0, nullptr, stopEvent))
        return IDS_START_FAILED;
    return 0;
}

std::string CompareArguments(const std::string& path1, const std::string& path2)
{
    return QuotedArgument(path1) + " " + QuotedArgument(path2);
}
