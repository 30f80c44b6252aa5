// The name that a program gives itself in its version resource.
#pragma once

#include <string>

// FileDescription, else ProductName, in the first language that the
// resource lists; "" when the file has neither, or only ones that cannot be
// shown as a name (too long, or with control characters).
std::string versionResourceName(const char *executablePath);
