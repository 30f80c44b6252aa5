// What the registry functions share within one process: the store, the open
// handles and the test hooks, all behind one mutex.
#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "platform/portable/registry.h"
#include "platform/portable/registry/store_file.h"

namespace corvant::registry {

struct OpenKey {
    Hive hive = Hive::classesRoot;
    std::vector<std::string> path;  // names below the hive, as spelt in the store
    REGSAM access = 0;
};

struct RegistryState {
    std::mutex mutex;
    StoreFile store;
    std::map<std::uintptr_t, OpenKey> handles;
    std::uintptr_t nextHandle = 0x1000;

    // Test hooks; lower-cased key paths as keyPathText gives them.
    std::vector<std::string> failingKeys;
    std::vector<std::string> failingValueKeys;
    std::vector<std::string> writeRefusingKeys;
    bool recording = false;
    std::vector<std::string> recordedCalls;
};

RegistryState &registryState();

std::string joinKeyPath(const std::vector<std::string> &path);
// How the test hooks name a key: its path below HKEY_CLASSES_ROOT ("http\\shell"),
// however it was reached, or below HKEY_LOCAL_MACHINE or HKEY_CURRENT_USER
// with that hive's name in front ("HKEY_CURRENT_USER\\Software"); a hive
// itself is "", "HKEY_LOCAL_MACHINE" or "HKEY_CURRENT_USER".
std::string keyPathText(Hive hive, const std::vector<std::string> &path);
// A key path as a test names it, in the form keyPathText gives, lower-cased:
// a leading "HKEY_CLASSES_ROOT\\" or "HKEY_LOCAL_MACHINE\\Software\\Classes\\" is dropped.
std::string hookKeyPath(const std::string &keyPath);

}  // namespace corvant::registry
