#include "platform/portable/test_hooks.h"
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {

void isolateRegistry(const std::string &folder) {
    setRegistryStorePath(folder + "/registry.reg");
    clearRegistryFailures();
    recordRegistryCalls(false);
    clearShownMessageBoxes();
}

void releaseRegistry() {
    clearRegistryFailures();
    recordRegistryCalls(false);
    setRegistryStorePath("");
}

}  // namespace corvant::testing
