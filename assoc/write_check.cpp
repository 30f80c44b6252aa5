#include "assoc/write_check.h"

#include "assoc/machine_classes.h"

namespace {

// Registry key names hold at most 255 characters.
constexpr DWORD keyNameSize = 256;

// Opens the key to see whether these rights are granted, and closes it again.
LONG tryOpen(const std::string &path, REGSAM rights) {
    HKEY key = nullptr;
    const LONG status = RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, rights | machineView, &key);
    if (status == ERROR_SUCCESS) RegCloseKey(key);
    return status;
}

bool writable(std::string path) {
    LONG status = tryOpen(path, KEY_SET_VALUE);
    // A key still to be created needs the right to create it in the nearest
    // parent that exists; HKEY_LOCAL_MACHINE\Software always does.
    while (status == ERROR_FILE_NOT_FOUND) {
        const std::string::size_type separator = path.rfind('\\');
        if (separator == std::string::npos) return false;
        path.erase(separator);
        status = tryOpen(path, KEY_CREATE_SUB_KEY);
    }
    return status == ERROR_SUCCESS;
}

// Each key of the tree is deleted on its own, so each must grant DELETE.
bool removable(const std::string &path, unsigned depth = 0) {
    HKEY key = nullptr;
    const LONG status =
        RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_ENUMERATE_SUB_KEYS | DELETE | machineView, &key);
    if (status == ERROR_FILE_NOT_FOUND) return true;
    if (status != ERROR_SUCCESS) return false;
    // The registry nests at most 512 keys deep.
    bool granted = depth < 512;
    char subkey[keyNameSize];
    for (DWORD index = 0; granted; ++index) {
        DWORD length = keyNameSize;
        const LONG listed = RegEnumKeyExA(key, index, subkey, &length, nullptr, nullptr, nullptr, nullptr);
        if (listed == ERROR_NO_MORE_ITEMS) break;
        granted = listed == ERROR_SUCCESS && removable(path + "\\" + subkey, depth + 1);
    }
    RegCloseKey(key);
    return granted;
}

}  // namespace

bool everyPlannedKeyWritable(const KeyPlan &plan) {
    for (const PlannedKey &planned : plan) {
        const bool granted = planned.change == PlannedKey::removed ? removable(planned.path) : writable(planned.path);
        if (!granted) return false;
    }
    return true;
}
