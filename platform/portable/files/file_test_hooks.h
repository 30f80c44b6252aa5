// Hooks into the portable file-system functions for the native tests only.
// Nothing here exists in the Windows build.
#pragma once

#include <cstddef>
#include <string>

namespace corvant::testing {

// SetCurrentDirectoryA("\\"), the root of the drive, goes to this folder
// instead of "/" ("" restores "/").
void setDriveRoot(const std::string &folder);
// GetWindowsDirectoryA answers this folder ("" restores "/etc").
void setWindowsDirectory(const std::string &folder);
// While on, GetWindowsDirectoryA fails with ERROR_PATH_NOT_FOUND.
void failWindowsDirectory(bool fail);
// How many times a directory's entries have been read from the file system
// (a listing answered again without reading does not count).
size_t directoryReadCount();

}  // namespace corvant::testing
