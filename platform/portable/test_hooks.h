// Hooks into the portable layer for the native tests only. Nothing here
// exists in the Windows build; tests that include this header are built
// natively only.
#pragma once

#include <string>
#include <vector>

#include "types.h"

namespace corvant::testing {

// Registry store.
// Point the store at this file ("" returns to the default location).
void setRegistryStorePath(const std::string &path);
// How long a write waits for another process's lock on the store (0 restores the 10 seconds).
void setRegistryLockWait(unsigned milliseconds);
// Key paths in the hooks below are relative to HKEY_CLASSES_ROOT ("https", "http\\shell\\open"),
// or start with "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER" for that hive
// ("HKEY_CURRENT_USER\\Software\\x"), and are compared without case. A class may also be named
// as "HKEY_LOCAL_MACHINE\\Software\\Classes\\https": it is the same key.
// Make RegCreateKeyExA / RegOpenKeyExA of this key fail with ERROR_ACCESS_DENIED (opening a key
// that does not exist still finds nothing: ERROR_FILE_NOT_FOUND).
void failKeyOpen(const std::string &keyPath);
// Make this key refuse writes, as a key whose permissions allow only reading: RegCreateKeyExA /
// RegOpenKeyExA of it asking for a right that changes it (KEY_SET_VALUE, KEY_CREATE_SUB_KEY,
// DELETE, ...), and the creation of a missing key directly below it, fail with
// ERROR_ACCESS_DENIED. Opening it to read still works.
void refuseKeyWrites(const std::string &keyPath);
// Make RegSetValueExA fail with ERROR_ACCESS_DENIED for values of this key and of every key below it.
void failValueWritesBelow(const std::string &keyPath);
void clearRegistryFailures();
// Number of registry handles currently open (not yet passed to RegCloseKey).
size_t openRegistryHandleCount();
// While on, every RegCreateKeyExA, RegOpenKeyExA, RegSetValueExA, RegFlushKey and RegCloseKey
// is recorded as "<function> <full key path>[ <value name>]", e.g. "RegCloseKey http\\shell".
// Turning it on starts a fresh record. A call on HKEY_CLASSES_ROOT itself has no path, a class
// is named so whether it was reached through HKEY_CLASSES_ROOT or HKEY_LOCAL_MACHINE, keys of
// HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER are named as in the failure hooks, and the default value's empty name adds
// nothing ("RegSetValueExA http\\DefaultIcon").
void recordRegistryCalls(bool on);
std::vector<std::string> recordedRegistryCalls();

// Run-time linking: LoadLibraryA calls not yet matched by FreeLibrary.
size_t loadedLibraryCount();

// Message boxes.
struct ShownMessageBox {
    HWND owner;
    std::string text;
    std::string title;  // as passed; "" stands for a null caption
    bool titleGiven;
    unsigned style;
};
std::vector<ShownMessageBox> shownMessageBoxes();
void clearShownMessageBoxes();

}  // namespace corvant::testing
