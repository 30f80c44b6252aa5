#include "platform/portable/registry/registry_state.h"

#include "platform/portable/registry/store_problem.h"

namespace corvant::registry {

RegistryState &registryState() {
    static RegistryState state;
    return state;
}

std::string joinKeyPath(const std::vector<std::string> &path) {
    std::string joined;
    for (const std::string &name : path) {
        if (!joined.empty()) joined += '\\';
        joined += name;
    }
    return joined;
}

std::string keyPathText(Hive hive, const std::vector<std::string> &path) {
    std::string joined = joinKeyPath(path);
    if (hive == Hive::classesRoot) return joined;
    std::string text(hiveName(hive));
    if (!joined.empty()) text += "\\" + joined;
    return text;
}

}  // namespace corvant::registry

const char *registryStoreProblem() {
    using namespace corvant::registry;
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    // Kept in a static buffer so the pointer stays valid after the lock is released.
    static std::string copy;
    copy = state.store.problem();
    return copy.c_str();
}
