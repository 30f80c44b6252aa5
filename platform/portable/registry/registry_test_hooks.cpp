#include "platform/portable/registry/registry_state.h"
#include "platform/portable/test_hooks.h"

namespace corvant::testing {

using registry::hookKeyPath;
using registry::RegistryState;
using registry::registryState;

void setRegistryStorePath(const std::string &path) {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    state.store.setPath(path);
}

void setRegistryLockWait(unsigned milliseconds) {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    state.store.setLockWait(milliseconds ? std::chrono::milliseconds(milliseconds)
                                         : registry::StoreFile::defaultLockWait);
}

void failKeyOpen(const std::string &keyPath) {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    state.failingKeys.push_back(hookKeyPath(keyPath));
}

void failValueWritesBelow(const std::string &keyPath) {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    state.failingValueKeys.push_back(hookKeyPath(keyPath));
}

void refuseKeyWrites(const std::string &keyPath) {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    state.writeRefusingKeys.push_back(hookKeyPath(keyPath));
}

void clearRegistryFailures() {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    state.failingKeys.clear();
    state.failingValueKeys.clear();
    state.writeRefusingKeys.clear();
}

size_t openRegistryHandleCount() {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    return state.handles.size();
}

void recordRegistryCalls(bool on) {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    state.recording = on;
    if (on) state.recordedCalls.clear();
}

std::vector<std::string> recordedRegistryCalls() {
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    return state.recordedCalls;
}

}  // namespace corvant::testing
