#include "assoc/machine_classes.h"

// The portable registry has one view.
LONG deleteMachineKey(HKEY parent, const char *name) { return RegDeleteKeyA(parent, name); }
