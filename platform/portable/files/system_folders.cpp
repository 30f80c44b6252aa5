#include "platform/portable/files/system_folders.h"

#include <string>

#include "platform/portable/files/directory_listing.h"
#include "platform/portable/files/file_test_hooks.h"

namespace {

std::string driveRootFolder = "/";
std::string windowsFolder = "/etc";
bool windowsFolderFails = false;

}  // namespace

namespace corvant::files {

const char *driveRoot() { return driveRootFolder.c_str(); }

const char *windowsDirectory() { return windowsFolderFails ? nullptr : windowsFolder.c_str(); }

}  // namespace corvant::files

namespace corvant::testing {

void setDriveRoot(const std::string &folder) { driveRootFolder = folder.empty() ? "/" : folder; }

void setWindowsDirectory(const std::string &folder) { windowsFolder = folder.empty() ? "/etc" : folder; }

void failWindowsDirectory(bool fail) { windowsFolderFails = fail; }

size_t directoryReadCount() { return corvant::files::directoryReads(); }

}  // namespace corvant::testing
