// Where the Windows notions of a drive root and a Windows directory lead.
#pragma once

namespace corvant::files {

// "/" unless a test has put the drive root elsewhere.
const char *driveRoot();
// A directory on the root file system ("/etc"); null when a test makes it fail.
const char *windowsDirectory();

}  // namespace corvant::files
