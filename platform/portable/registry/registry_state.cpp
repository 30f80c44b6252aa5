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

std::string hookKeyPath(const std::string &keyPath) {
    std::string path;
    for (char c : keyPath) path += (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    for (const std::string root : {"hkey_classes_root", "hkey_local_machine\\software\\classes"}) {
        if (path == root) return "";
        if (path.compare(0, root.size() + 1, root + "\\") == 0) return path.substr(root.size() + 1);
    }
    return path;
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
