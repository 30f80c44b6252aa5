// A scratch key of the registry tests' own, empty at the start and removed
// at the end of each test, in the store sandbox (natively) or in Wine's
// registry (cross build).
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/win32.h"
#include "tests/support/registry_reader.h"
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {

inline constexpr const char *scratchKey = "CorvantRegistryTest";
// The tests' own key below HKEY_CURRENT_USER.
inline constexpr const char *userScratchKey = "Software\\CorvantRegistryTest";

// Closes the handle when it goes out of scope.
struct KeyHandle {
    HKEY key = nullptr;
    KeyHandle() = default;
    KeyHandle(const KeyHandle &) = delete;
    KeyHandle &operator=(const KeyHandle &) = delete;
    ~KeyHandle() {
        if (key) RegCloseKey(key);
    }
    HKEY *out() { return &key; }
    operator HKEY() const { return key; }
};

class RegistryTest : public ::testing::Test {
protected:
    void SetUp() override {
        deleteTree(scratchKey);
        deleteTree(HKEY_CURRENT_USER, userScratchKey);
    }
    void TearDown() override {
        deleteTree(scratchKey);
        deleteTree(HKEY_CURRENT_USER, userScratchKey);
    }

    static LONG create(HKEY parent, const char *subKey, HKEY *result, REGSAM access = KEY_ALL_ACCESS,
                       DWORD *disposition = nullptr) {
        return RegCreateKeyExA(parent, subKey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, result,
                               disposition);
    }
    static LONG open(HKEY parent, const char *subKey, HKEY *result, REGSAM access = KEY_ALL_ACCESS) {
        return RegOpenKeyExA(parent, subKey, 0, access, result);
    }
    // Sets exactly these bytes. A byte that is not zero follows them, since
    // RegSetValueExA counts a string's terminating zero when the length given
    // leaves it out.
    static LONG setBytes(HKEY key, const char *name, DWORD type, const std::string &bytes) {
        const std::string guarded = bytes + '\x01';
        return RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE *>(guarded.data()),
                              static_cast<DWORD>(bytes.size()));
    }
    static std::string path(const std::string &below) { return std::string(scratchKey) + "\\" + below; }
    static std::string userPath(const std::string &below) { return std::string(userScratchKey) + "\\" + below; }

    RegistrySandbox sandbox_;
};

}  // namespace corvant::testing
