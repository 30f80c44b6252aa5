// One directory enumeration, closed when it goes out of scope.
#pragma once

#include "platform/win32.h"

class FindHandle {
public:
    // Starts enumerating the current directory's entries that match pattern;
    // the first entry, if any, is left in data.
    FindHandle(const char *pattern, WIN32_FIND_DATAA &data);
    ~FindHandle();
    FindHandle(const FindHandle &) = delete;
    FindHandle &operator=(const FindHandle &) = delete;

    // False when the enumeration could not be started.
    bool started() const { return handle_ != INVALID_HANDLE_VALUE; }
    // Moves to the next entry; false when there is none.
    bool next(WIN32_FIND_DATAA &data);

private:
    HANDLE handle_;
};
