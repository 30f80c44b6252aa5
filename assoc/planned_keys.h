// The keys an apply changes, for the check made before it writes.
#pragma once

#include "assoc/write_check.h"

// An extension key: .html or .htm.
void planExtensionKeys(KeyPlan &plan, const char *extension);
// What ClassKeyChain writes for one class, and the stale keys it removes:
// the DDE settings for a browser that serves none, or their ifexec key.
void planClassKeys(KeyPlan &plan, const char *className, bool servesDde);
