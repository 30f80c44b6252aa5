#pragma once

#include "platform/win32.h"

// Limits where DLLs loaded by name are looked for to the system folder, as
// the first thing the program does. Corvant runs with administrator rights,
// is often started from a Downloads folder that other programs write to, and
// its current directory moves into folders the user can write to (the
// file-open dialog, the Auto find walk); the dialogs and the common controls
// load DLLs (uxtheme.dll, shell extensions) by name on demand.
void restrictDllSearchToSystemFolder();
