#include "tests/support/registry_reader.h"
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {

namespace {

// The registration with Default Programs, in the 64-bit view that the
// program writes.
void removeRegistration() {
    HKEY registered = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "Software\\RegisteredApplications", 0, KEY_SET_VALUE | KEY_WOW64_64KEY,
                      &registered) == ERROR_SUCCESS) {
        RegDeleteValueA(registered, "Corvant");
        RegCloseKey(registered);
    }
    for (const char *key :
         {"Software\\Corvant\\Capabilities\\URLAssociations", "Software\\Corvant\\Capabilities\\FileAssociations",
          "Software\\Corvant\\Capabilities", "Software\\Corvant"})
        RegDeleteKeyExA(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY, 0);
}

}  // namespace

void isolateRegistry(const std::string &) {
    for (const char *key : programKeys) deleteTree(key);
    removeRegistration();
}

void releaseRegistry() {
    for (const char *key : programKeys) deleteTree(key);
    removeRegistration();
}

}  // namespace corvant::testing
