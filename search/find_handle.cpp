#include "search/find_handle.h"

FindHandle::FindHandle(const char *pattern, WIN32_FIND_DATAA &data) : handle_(FindFirstFileA(pattern, &data)) {}

FindHandle::~FindHandle() {
    if (started()) FindClose(handle_);
}

bool FindHandle::next(WIN32_FIND_DATAA &data) { return started() && FindNextFileA(handle_, &data) != FALSE; }
