// The store's roots. HKEY_CLASSES_ROOT holds what the program writes;
// HKEY_CURRENT_USER holds per-user settings, which the program only reads
// and which tests and users seed.
#pragma once

#include <string_view>

#include "platform/portable/registry/key_tree.h"

namespace corvant::registry {

enum class Hive { classesRoot, currentUser };

// In the order the store file lists them.
inline constexpr Hive allHives[] = {Hive::classesRoot, Hive::currentUser};

// The hive's name as it appears on the store's key lines.
constexpr std::string_view hiveName(Hive hive) {
    return hive == Hive::classesRoot ? "HKEY_CLASSES_ROOT" : "HKEY_CURRENT_USER";
}

struct Hives {
    Key classesRoot;
    Key currentUser;

    Key &operator[](Hive hive) { return hive == Hive::classesRoot ? classesRoot : currentUser; }
    const Key &operator[](Hive hive) const { return hive == Hive::classesRoot ? classesRoot : currentUser; }
};

}  // namespace corvant::registry
