#pragma once

// Writes every selected association for the browser in browserSettings.
// Returns true when all of it was written; otherwise the user has been shown
// why and the result is false.
bool applyAssociations();

// Shows the registry error box and returns false.
bool reportRegistryError();
