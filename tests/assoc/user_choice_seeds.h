// Seeds the per-user choices that Windows keeps below HKEY_CURRENT_USER, at
// the places Windows itself reads, and puts everything back when it goes out
// of scope: keys it created are removed, values it replaced are restored.
// Natively the registry is the test's own store. Under Wine it is the tests'
// scratch prefix, where Wine itself sets the choices of http, https and ftp to
// the protocols' own classes.
#pragma once

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/support/registry_reader.h"

namespace corvant::testing {

// The names that can carry a choice, in the order in which the apply writes them.
inline const char *const choosableNames[] = {".html", ".htm", "http", "https", "ftp", "gopher"};

inline std::string userChoiceKey(const std::string &name) {
    const std::string below = name[0] == '.' ? "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\"
                                             : "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\";
    return below + name + "\\UserChoice";
}

class UserChoiceSeeds {
public:
    UserChoiceSeeds() = default;
    UserChoiceSeeds(const UserChoiceSeeds &) = delete;
    UserChoiceSeeds &operator=(const UserChoiceSeeds &) = delete;
    ~UserChoiceSeeds() { removeAll(); }

    // True when every choice that exists sends its name to the class written
    // for it (as Wine's own do), so that the tests start without an override.
    static bool noneOverrides() {
        for (const char *name : choosableNames) {
            const std::string key = userChoiceKey(name);
            if (!keyExists(HKEY_CURRENT_USER, key)) continue;
            const std::string ownClass = name[0] == '.' ? "htmlfile" : name;
            const auto progId = readValue(HKEY_CURRENT_USER, key, "ProgId");
            if (progId && !(*progId == stringValue(ownClass))) return false;
        }
        return true;
    }

    // Creates the key (a path below HKEY_CURRENT_USER) if need be and sets one
    // of its values to these exact bytes.
    void seedValue(const std::string &keyPath, const char *valueName, DWORD type, const std::string &bytes) {
        if (keyExists(HKEY_CURRENT_USER, keyPath)) {
            const auto previous = readValue(HKEY_CURRENT_USER, keyPath, valueName);
            // A value that was not there could not be taken away again.
            ASSERT_TRUE(previous.has_value()) << keyPath << " exists without " << valueName;
            replaced_.push_back({keyPath, valueName, *previous});
        } else {
            rememberFirstNewKey(keyPath);
        }
        HKEY handle = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                  KEY_SET_VALUE, nullptr, &handle, nullptr),
                  ERROR_SUCCESS)
            << keyPath;
        const LONG status = RegSetValueExA(handle, valueName, 0, type, reinterpret_cast<const BYTE *>(bytes.data()),
                                           static_cast<DWORD>(bytes.size()));
        RegCloseKey(handle);
        ASSERT_EQ(status, ERROR_SUCCESS) << keyPath;
    }

    // Sets "ProgId" of the name's choice to these exact bytes.
    void set(const std::string &name, DWORD type, const std::string &bytes) {
        seedValue(userChoiceKey(name), "ProgId", type, bytes);
    }

    void setProgId(const std::string &name, const std::string &progId) {
        set(name, REG_SZ, progId + std::string(1, '\0'));
    }

    void removeAll() {
        // The earliest record of a value holds what was there before the test.
        for (auto value = replaced_.rbegin(); value != replaced_.rend(); ++value) restore(*value);
        replaced_.clear();
        for (auto key = created_.rbegin(); key != created_.rend(); ++key) deleteTree(HKEY_CURRENT_USER, *key);
        created_.clear();
    }

private:
    struct ReplacedValue {
        std::string keyPath;
        std::string valueName;
        RegistryValue previous;
    };

    static void restore(const ReplacedValue &value) {
        HKEY handle = nullptr;
        ASSERT_EQ(RegOpenKeyExA(HKEY_CURRENT_USER, value.keyPath.c_str(), 0, KEY_SET_VALUE, &handle), ERROR_SUCCESS)
            << value.keyPath;
        EXPECT_EQ(RegSetValueExA(handle, value.valueName.c_str(), 0, value.previous.type,
                                 reinterpret_cast<const BYTE *>(value.previous.bytes.data()),
                                 static_cast<DWORD>(value.previous.bytes.size())),
                  ERROR_SUCCESS)
            << value.keyPath;
        RegCloseKey(handle);
    }

    // The outermost key on the way that does not exist yet: removing it
    // removes everything seeding adds, and nothing that was there before.
    void rememberFirstNewKey(const std::string &key) {
        for (std::size_t end = key.find('\\');; end = key.find('\\', end + 1)) {
            const std::string prefix = key.substr(0, end);
            if (!keyExists(HKEY_CURRENT_USER, prefix)) {
                created_.push_back(prefix);
                return;
            }
            if (end == std::string::npos) return;
        }
    }

    std::vector<std::string> created_;
    std::vector<ReplacedValue> replaced_;
};

}  // namespace corvant::testing
