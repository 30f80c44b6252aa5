#include "assoc/stale_entries.h"

#include "assoc/machine_classes.h"

namespace {

// Registry key names hold at most 255 characters.
constexpr DWORD keyNameSize = 256;

bool isGone(LONG status) { return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND; }

}  // namespace

// RegDeleteKeyA deletes only a key without subkeys (RegDeleteTreeA came
// with Vista), so the subkeys go first, deepest first.
bool removeKeyTree(HKEY parent, const char *name) {
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(parent, name, 0, KEY_ENUMERATE_SUB_KEYS | machineView, &key);
    if (opened == ERROR_FILE_NOT_FOUND) return true;
    if (opened != ERROR_SUCCESS) return false;
    bool emptied = true;
    char subkey[keyNameSize];
    for (;;) {
        DWORD length = keyNameSize;
        const LONG status = RegEnumKeyExA(key, 0, subkey, &length, nullptr, nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) break;
        if (status != ERROR_SUCCESS || !removeKeyTree(key, subkey)) {
            emptied = false;
            break;
        }
    }
    RegCloseKey(key);
    return emptied && isGone(deleteMachineKey(parent, name));
}

bool removeValue(HKEY key, const char *valueName) { return isGone(RegDeleteValueA(key, valueName)); }
