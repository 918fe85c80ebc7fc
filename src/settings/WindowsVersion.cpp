#include "settings/WindowsVersion.h"

BOOL IsWindowsXPOrLaterVersion(DWORD platformId, DWORD major, DWORD minor)
{
    return platformId == VER_PLATFORM_WIN32_NT && (major > 5 || (major == 5 && minor >= 1));
}

BOOL IsWindowsXPOrLater()
{
    // Asked on every call; a failed call leaves the record zeroed (FALSE).
    OSVERSIONINFOA info = {};
    info.dwOSVersionInfoSize = sizeof(info);
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
    ::GetVersionExA(&info);
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
    return IsWindowsXPOrLaterVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion);
}
