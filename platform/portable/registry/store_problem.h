// Why the registry store could not be used, for the terminal program to
// explain on standard error: file, line and reason for a store that does
// not parse, or the system's reason for a file or folder that cannot be
// read or written. Empty when the last use of the store succeeded.
#pragma once

const char *registryStoreProblem();
