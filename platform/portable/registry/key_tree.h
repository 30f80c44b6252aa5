// The registry's keys and values in memory, as read from and written to the
// store file. Names compare without regard to (ASCII) case and keep the
// spelling they were created with.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/portable/types.h"

namespace corvant::registry {

bool sameName(std::string_view a, std::string_view b);
// Order of subkeys as the registry enumerates them (case folded to lower).
bool nameBefore(std::string_view a, std::string_view b);

struct Value {
    std::string name;  // "" is the key's default value
    DWORD type = 0;
    std::string data;  // exact bytes
};

struct Key {
    std::string name;
    std::vector<Value> values;                  // in creation order
    std::vector<std::unique_ptr<Key>> subkeys;  // in enumeration order

    Key *findSubkey(std::string_view subkeyName) const;
    // Returns the existing subkey of that name, or a new one.
    Key &obtainSubkey(std::string_view subkeyName);
    bool removeSubkey(std::string_view subkeyName);

    const Value *findValue(std::string_view valueName) const;
    // Replaces the data of an existing value in place, or appends a new one.
    void setValue(std::string_view valueName, DWORD type, std::string data);
};

}  // namespace corvant::registry
