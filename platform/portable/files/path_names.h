// How the program's Windows-style paths name files on a POSIX file system.
#pragma once

#include <string>

namespace corvant::files {

// Backslashes become slashes; nothing else changes.
std::string toPosixPath(const char *path);

// File names compare without regard to the case of the letters a to z, as on
// Windows: each component of path that does not exist as written is replaced
// by the entry of its directory that differs from it only in case (the first
// in byte order when there are several). False with errno set when a
// component has no such entry.
bool resolveWithoutCase(const std::string &path, std::string &resolved);

}  // namespace corvant::files
