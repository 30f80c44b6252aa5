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

    bool operator==(const RegistryValue &other) const { return type == other.type && bytes == other.bytes; }
};

// Key paths are relative to the root given (HKEY_CLASSES_ROOT when none is), with backslashes.
// view (KEY_WOW64_64KEY, KEY_WOW64_32KEY) picks a registry view for every key opened.
bool keyExists(HKEY root, const std::string &keyPath, REGSAM view = 0);
std::optional<RegistryValue> readValue(HKEY root, const std::string &keyPath, const std::string &valueName,
                                       REGSAM view = 0);
std::vector<std::string> subkeyNames(HKEY root, const std::string &keyPath, REGSAM view = 0);
std::vector<std::string> valueNames(HKEY root, const std::string &keyPath, REGSAM view = 0);
void deleteTree(HKEY root, const std::string &keyPath);

inline bool keyExists(const std::string &keyPath) { return keyExists(HKEY_CLASSES_ROOT, keyPath); }
inline std::optional<RegistryValue> readValue(const std::string &keyPath, const std::string &valueName) {
    return readValue(HKEY_CLASSES_ROOT, keyPath, valueName);
}
inline std::vector<std::string> subkeyNames(const std::string &keyPath) {
    return subkeyNames(HKEY_CLASSES_ROOT, keyPath);
}
inline std::vector<std::string> valueNames(const std::string &keyPath) {
    return valueNames(HKEY_CLASSES_ROOT, keyPath);
}
inline void deleteTree(const std::string &keyPath) { deleteTree(HKEY_CLASSES_ROOT, keyPath); }

// A REG_SZ value as the program writes it: the text and its terminating zero.
RegistryValue stringValue(const std::string &text);
RegistryValue dwordValue(DWORD number);

}  // namespace corvant::testing
