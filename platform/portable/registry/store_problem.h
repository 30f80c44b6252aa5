// Why the registry store could not be used, for the terminal program to
// explain on standard error: file, line and reason for a store that does
// not parse, or the system's reason for a file or folder that cannot be
// read or written. A reading problem is kept until the file reads well again,
// a writing problem until a write succeeds; empty when there is none.
#pragma once

const char *registryStoreProblem();
