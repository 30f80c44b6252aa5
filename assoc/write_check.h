// Before an apply writes anything, it makes sure that it can write all of it:
// a key locked by policy, or a standard user's missing rights, then stop the
// apply before its first write rather than halfway through.
#pragma once

#include <string>
#include <vector>

struct PlannedKey {
    std::string path;  // below HKEY_LOCAL_MACHINE, in the machine's view
    // Written: opened or created for setting values (and removing them).
    // Removed: deleted with everything below it, where it exists.
    enum Change { written, removed } change = written;
};

using KeyPlan = std::vector<PlannedKey>;

// True when every written key that exists opens for setting values, or else
// its nearest existing parent opens for creating subkeys, and every removed
// key that exists opens, with everything below it, for deletion. Changes
// nothing.
bool everyPlannedKeyWritable(const KeyPlan &plan);
