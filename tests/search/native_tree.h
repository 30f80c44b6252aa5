// Native helpers for trees that the ordinary file functions cannot build or
// remove: paths longer than the system's path limit, and folders this
// process must not be able to read.
#pragma once

#include <string>

#include "tests/support/permission_bypass.h"

namespace corvant::testing {

// Creates the folder name in the current directory and moves into it.
void makeFolderAndEnter(const std::string &name);
// Creates an empty file in the current directory.
void makeFileHere(const std::string &name);
// Removes the folder name below the current directory with everything in
// it, however deep, and leaves the current directory where it was.
void removeTreeHere(const std::string &name);

}  // namespace corvant::testing
