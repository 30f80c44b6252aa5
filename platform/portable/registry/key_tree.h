// The registry's keys and values in memory, as read from and written to the
// store file. Names compare without regard to (ASCII) case and keep the
// spelling they were created with. Finding a subkey or a value by name takes
// logarithmic time.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/portable/types.h"

namespace corvant::registry {

bool sameName(std::string_view a, std::string_view b);
// Order of subkeys as the registry enumerates them (case folded to lower).
bool nameBefore(std::string_view a, std::string_view b);

struct NameOrder {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const { return nameBefore(a, b); }
};

struct Value {
    std::string name;  // "" is the key's default value
    DWORD type = 0;
    std::string data;  // exact bytes
};

class Key {
public:
    std::string name;
    // This key's text in the store file, with everything under it, as last
    // written, so that a write formats only what changed; empty when not
    // known. Kept for keys directly below a hive only: whoever changes such
    // a key, or anything under it, clears it.
    mutable std::string writtenText;

    const std::vector<Value> &values() const { return values_; }                   // in creation order
    const std::vector<std::unique_ptr<Key>> &subkeys() const { return subkeys_; }  // in enumeration order

    Key *findSubkey(std::string_view subkeyName) const;
    // Returns the existing subkey of that name, or a new one.
    Key &obtainSubkey(std::string_view subkeyName);
    bool removeSubkey(std::string_view subkeyName);

    const Value *findValue(std::string_view valueName) const;
    // Replaces the data of an existing value in place, or appends a new one.
    void setValue(std::string_view valueName, DWORD type, std::string data);
    bool removeValue(std::string_view valueName);

    // Drops every value and subkey.
    void clear();

    // For building a tree in bulk: appends a subkey whose name no subkey has
    // yet, without keeping the order. Until restoreSubkeyOrder is called, the
    // subkeys may be neither looked up nor enumerated.
    Key &appendSubkeyUnordered(std::string_view subkeyName);
    void restoreSubkeyOrder();

private:
    // Up to this many values are searched one by one; more get an index.
    static constexpr size_t fewValues = 8;

    Value *valueNamed(std::string_view valueName);

    std::vector<Value> values_;
    std::map<std::string, size_t, NameOrder> valueIndex_;  // name to position in values_, when there are many
    std::vector<std::unique_ptr<Key>> subkeys_;
};

}  // namespace corvant::registry
