// Removal of what another browser's registration left under a verb that
// Corvant takes over, so that it cannot outlive the new command.
#pragma once

#include "platform/win32.h"

// Deletes the subkey name of parent (a key in the machine's view) with everything below it. True when it
// is gone, also when it was never there.
bool removeKeyTree(HKEY parent, const char *name);

// Deletes one value. True when it is gone, also when it was never there.
bool removeValue(HKEY key, const char *valueName);
