#include "assoc/machine_classes.h"

std::string machineClassPath(const char *name) { return std::string("Software\\Classes\\") + name; }

LONG createMachineKey(const std::string &pathBelowMachine, HKEY &key) {
    return createMachineSubkey(HKEY_LOCAL_MACHINE, pathBelowMachine.c_str(), key);
}

LONG createMachineSubkey(HKEY parent, const char *name, HKEY &key) {
    const LONG status = RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE | machineView,
                                        nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) key = nullptr;
    return status;
}
