#include "assoc/machine_classes.h"

// RegDeleteKeyA cannot name a registry view. RegDeleteKeyExA can, but 32-bit
// Windows XP lacks it, so it is looked up (and never imported); where it is
// missing there is only one view, and RegDeleteKeyA deletes from it.
LONG deleteMachineKey(HKEY parent, const char *name) {
    typedef LONG(WINAPI * DeleteKeyExFunction)(HKEY, LPCSTR, REGSAM, DWORD);
    HMODULE advapi = GetModuleHandleA("advapi32.dll");
    const auto deleteKeyEx = advapi ? reinterpret_cast<DeleteKeyExFunction>(
                                          reinterpret_cast<void (*)()>(GetProcAddress(advapi, "RegDeleteKeyExA")))
                                    : nullptr;
    return deleteKeyEx ? deleteKeyEx(parent, name, machineView, 0) : RegDeleteKeyA(parent, name);
}
