#pragma once

#include "platform/portable/types.h"

namespace corvant::files {

// The Win32 error code closest to a POSIX errno value.
DWORD win32ErrorFromErrno(int error);

// Sets the last error from errno and answers false, for failure returns.
bool failWithErrno(int error);

}  // namespace corvant::files
