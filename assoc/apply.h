#pragma once

#include "assoc/browser_settings.h"
#include "assoc/write_check.h"

// Writes every selected association for the browser in browserSettings.
// Returns true when all of it was written; otherwise the user has been shown
// why and the result is false.
bool applyAssociations();

// Every key below HKEY_LOCAL_MACHINE that an apply with these settings
// changes, which it checks before it writes anything.
KeyPlan plannedKeys(const BrowserSettings &settings);

// Shows the registry error box and returns false.
bool reportRegistryError();
