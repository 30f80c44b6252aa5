#include "tests/support/registry_reader.h"
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {

void isolateRegistry(const std::string &) {
    for (const char *key : programKeys) deleteTree(key);
}

void releaseRegistry() {
    for (const char *key : programKeys) deleteTree(key);
}

}  // namespace corvant::testing
