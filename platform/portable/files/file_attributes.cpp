// GetFileAttributesA: whether a path names a folder or a file, with names
// compared without regard to case as on Windows. Anything else (a FIFO, a
// socket, a device) is refused as Wine refuses it on a Unix drive, with
// ERROR_INVALID_PARAMETER: it holds no program, and opening a FIFO to look
// at it could wait for ever.
#include <sys/stat.h>

#include <cerrno>
#include <string>

#include "platform/portable/files.h"
#include "platform/portable/files/path_names.h"
#include "platform/portable/files/win32_error.h"

DWORD WINAPI GetFileAttributesA(LPCSTR path) {
    if (path == nullptr || path[0] == '\0') {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    std::string resolved;
    struct stat status;
    if (!corvant::files::resolveWithoutCase(corvant::files::toPosixPath(path), resolved) ||
        stat(resolved.c_str(), &status) != 0) {
        corvant::files::failWithErrno(errno);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (!S_ISDIR(status.st_mode) && !S_ISREG(status.st_mode)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = S_ISDIR(status.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : 0;
    if ((status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= FILE_ATTRIBUTE_READONLY;
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}
