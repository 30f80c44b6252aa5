// Reads the registry back through the Win32 API, so that the same checks
// run against the portable store and against Windows' (or Wine's) registry.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"

namespace corvant::testing {

struct RegistryValue {
    DWORD type = REG_NONE;
    std::string bytes;  // exact data, terminating zero included for REG_SZ

    bool operator==(const RegistryValue &other) const {
        return type == other.type && bytes == other.bytes;
    }
};

// Key paths are relative to HKEY_CLASSES_ROOT, with backslashes.
bool keyExists(const std::string &keyPath);
std::optional<RegistryValue> readValue(const std::string &keyPath, const std::string &valueName);
std::vector<std::string> subkeyNames(const std::string &keyPath);
std::vector<std::string> valueNames(const std::string &keyPath);
void deleteTree(const std::string &keyPath);

// A REG_SZ value as the program writes it: the text and its terminating zero.
RegistryValue stringValue(const std::string &text);
RegistryValue dwordValue(DWORD number);

}  // namespace corvant::testing
