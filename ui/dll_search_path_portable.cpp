// The portable layer loads no DLLs, so there is no search path to change.
#include "ui/dll_search_path.h"

void leaveCurrentDirectoryOffDllSearchPath() {}
