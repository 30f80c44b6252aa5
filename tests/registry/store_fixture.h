// Native-only: a test's own store file, and plain file helpers to look at it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "platform/portable/registry/store_problem.h"
#include "platform/portable/test_hooks.h"
#include "tests/registry/registry_test_key.h"

namespace corvant::testing {

inline std::string fileText(const std::string &file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeFileText(const std::string &file, const std::string &text) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << text;
}

class StoreTest : public RegistryTest {
protected:
    std::string storeFile() const { return sandbox_.folder() + "/registry.reg"; }
    // Drops what this process remembers of the store, so the next call reads the file.
    void rereadStore() { setRegistryStorePath(storeFile()); }
    std::vector<std::string> folderEntries() const {
        std::vector<std::string> names;
        for (const auto &entry : std::filesystem::directory_iterator(sandbox_.folder()))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

}  // namespace corvant::testing
