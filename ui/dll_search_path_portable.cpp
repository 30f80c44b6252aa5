// The portable layer loads no DLLs from a search path, so there is none
// to change.
#include "ui/dll_search_path.h"

void restrictDllSearchToSystemFolder() {}
