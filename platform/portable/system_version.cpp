// GetVersionExA (kernel32). The terminal edition reports Windows 10 (22H2):
// its shell requests are those of Windows 10, where a page of the system's
// settings is an ms-settings: address handed to the shell (here, to the
// desktop's opener). It has no Control Panel and no COM, which the requests
// of older versions need.
#include <cstring>

#include "platform/portable/system_version.h"

BOOL WINAPI GetVersionExA(LPOSVERSIONINFOA info) {
    if (!info) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // As on Windows, a caller must say which structure it passes.
    if (info->dwOSVersionInfoSize != sizeof(OSVERSIONINFOA)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    info->dwMajorVersion = 10;
    info->dwMinorVersion = 0;
    info->dwBuildNumber = 19045;
    info->dwPlatformId = VER_PLATFORM_WIN32_NT;
    std::memset(info->szCSDVersion, 0, sizeof info->szCSDVersion);
    return TRUE;
}
