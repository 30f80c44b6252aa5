// The portable layer loads no DLLs, so there is no search path to change
// and no system library to load.
#include "ui/dll_search_path.h"

void restrictDllSearchToSystemFolder() {}

HMODULE loadSystemLibrary(const char *) { return nullptr; }
