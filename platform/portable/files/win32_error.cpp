#include "platform/portable/files/win32_error.h"

#include <cerrno>

#include "platform/portable/files.h"

namespace corvant::files {

DWORD win32ErrorFromErrno(int error) {
    switch (error) {
    case 0: return ERROR_SUCCESS;
    case ENOENT: return ERROR_FILE_NOT_FOUND;
    case ENOTDIR: return ERROR_DIRECTORY;
    case EACCES:
    case EPERM: return ERROR_ACCESS_DENIED;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EMFILE:
    case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case ELOOP: return ERROR_CANT_RESOLVE_FILENAME;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case ERANGE: return ERROR_INSUFFICIENT_BUFFER;
    default: return ERROR_READ_FAULT;
    }
}

bool failWithErrno(int error) {
    SetLastError(win32ErrorFromErrno(error));
    return false;
}

}  // namespace corvant::files
