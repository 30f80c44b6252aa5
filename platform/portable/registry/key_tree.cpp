#include "platform/portable/registry/key_tree.h"

#include <algorithm>

namespace corvant::registry {

namespace {

unsigned char folded(char c) {
    unsigned char u = static_cast<unsigned char>(c);
    return (u >= 'A' && u <= 'Z') ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

}  // namespace

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (folded(a[i]) != folded(b[i])) return false;
    return true;
}

bool nameBefore(std::string_view a, std::string_view b) {
    size_t common = std::min(a.size(), b.size());
    for (size_t i = 0; i < common; ++i) {
        unsigned char x = folded(a[i]), y = folded(b[i]);
        if (x != y) return x < y;
    }
    return a.size() < b.size();
}

Key *Key::findSubkey(std::string_view subkeyName) const {
    for (const auto &subkey : subkeys)
        if (sameName(subkey->name, subkeyName)) return subkey.get();
    return nullptr;
}

Key &Key::obtainSubkey(std::string_view subkeyName) {
    if (Key *existing = findSubkey(subkeyName)) return *existing;
    auto position = std::find_if(subkeys.begin(), subkeys.end(), [&](const std::unique_ptr<Key> &k) {
        return nameBefore(subkeyName, k->name);
    });
    auto created = std::make_unique<Key>();
    created->name = std::string(subkeyName);
    return **subkeys.insert(position, std::move(created));
}

bool Key::removeSubkey(std::string_view subkeyName) {
    auto found = std::find_if(subkeys.begin(), subkeys.end(), [&](const std::unique_ptr<Key> &k) {
        return sameName(k->name, subkeyName);
    });
    if (found == subkeys.end()) return false;
    subkeys.erase(found);
    return true;
}

const Value *Key::findValue(std::string_view valueName) const {
    for (const Value &value : values)
        if (sameName(value.name, valueName)) return &value;
    return nullptr;
}

void Key::setValue(std::string_view valueName, DWORD type, std::string data) {
    for (Value &value : values) {
        if (sameName(value.name, valueName)) {
            value.type = type;
            value.data = std::move(data);
            return;
        }
    }
    values.push_back(Value{std::string(valueName), type, std::move(data)});
}

}  // namespace corvant::registry
