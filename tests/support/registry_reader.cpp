#include "tests/support/registry_reader.h"

namespace corvant::testing {

namespace {

struct OpenedKey {
    HKEY handle = nullptr;
    OpenedKey(HKEY root, const std::string &keyPath, REGSAM view = 0) {
        if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ | view, &handle) != ERROR_SUCCESS) handle = nullptr;
    }
    ~OpenedKey() {
        if (handle) RegCloseKey(handle);
    }
    OpenedKey(const OpenedKey &) = delete;
    OpenedKey &operator=(const OpenedKey &) = delete;
};

}  // namespace

bool keyExists(HKEY root, const std::string &keyPath, REGSAM view) {
    return OpenedKey(root, keyPath, view).handle != nullptr;
}

std::optional<RegistryValue> readValue(HKEY root, const std::string &keyPath, const std::string &valueName,
                                       REGSAM view) {
    OpenedKey key(root, keyPath, view);
    if (!key.handle) return std::nullopt;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.handle, valueName.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
        return std::nullopt;
    RegistryValue value;
    value.type = type;
    value.bytes.resize(size);
    if (RegQueryValueExA(key.handle, valueName.c_str(), nullptr, &type, reinterpret_cast<BYTE *>(value.bytes.data()),
                         &size) != ERROR_SUCCESS)
        return std::nullopt;
    value.bytes.resize(size);
    return value;
}

std::vector<std::string> subkeyNames(HKEY root, const std::string &keyPath, REGSAM view) {
    std::vector<std::string> names;
    OpenedKey key(root, keyPath, view);
    if (!key.handle) return names;
    for (DWORD index = 0;; ++index) {
        char name[256];
        DWORD length = sizeof name;
        if (RegEnumKeyExA(key.handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

std::vector<std::string> valueNames(HKEY root, const std::string &keyPath, REGSAM view) {
    std::vector<std::string> names;
    OpenedKey key(root, keyPath, view);
    if (!key.handle) return names;
    for (DWORD index = 0;; ++index) {
        char name[16384];
        DWORD length = sizeof name;
        if (RegEnumValueA(key.handle, index, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        names.emplace_back(name, length);
    }
    return names;
}

void deleteTree(HKEY root, const std::string &keyPath) { RegDeleteTreeA(root, keyPath.c_str()); }

RegistryValue stringValue(const std::string &text) { return RegistryValue{REG_SZ, text + std::string(1, '\0')}; }

RegistryValue dwordValue(DWORD number) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((number >> shift) & 0xff));
    return RegistryValue{REG_DWORD, bytes};
}

}  // namespace corvant::testing
