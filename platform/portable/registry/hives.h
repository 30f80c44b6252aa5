// The store's roots. HKEY_LOCAL_MACHINE holds the machine's keys, and its
// Software\Classes is what HKEY_CLASSES_ROOT shows: one set of keys seen
// through both (as in Wine; the merged view that Windows gives
// HKEY_CLASSES_ROOT is not modelled). That key's contents are kept as a
// root of their own, classesRoot, so that paths below HKEY_CLASSES_ROOT stay
// short and each class is one unit of the store's text. HKEY_CURRENT_USER
// holds per-user settings, which the program mostly reads and which tests
// and users seed.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/portable/registry/key_tree.h"

namespace corvant::registry {

enum class Hive { classesRoot, localMachine, currentUser };

// In the order the store file lists them.
inline constexpr Hive allHives[] = {Hive::classesRoot, Hive::localMachine, Hive::currentUser};

// The hive's name as it appears on the store's key lines. The classes are
// written below HKEY_LOCAL_MACHINE, where regedit imports them on Windows
// too (an import into HKEY_CLASSES_ROOT may land in the user's classes).
constexpr std::string_view hiveName(Hive hive) {
    switch (hive) {
    case Hive::classesRoot: return "HKEY_LOCAL_MACHINE\\Software\\Classes";
    case Hive::localMachine: return "HKEY_LOCAL_MACHINE";
    case Hive::currentUser: break;
    }
    return "HKEY_CURRENT_USER";
}

// The key of HKEY_LOCAL_MACHINE that always exists and holds the classes.
inline constexpr std::string_view softwareKeyName = "Software";
inline constexpr std::string_view classesKeyName = "Classes";

// HKEY_LOCAL_MACHINE\Software, whose subkeys include Classes.
inline bool isSoftwareKey(Hive hive, const std::vector<std::string> &path) {
    return hive == Hive::localMachine && path.size() == 1 && sameName(path[0], softwareKeyName);
}

// A path below localMachine that reaches into Software\Classes becomes the
// same path below classesRoot.
inline void resolveClassesAlias(Hive &hive, std::vector<std::string> &path) {
    if (hive != Hive::localMachine || path.size() < 2 || !sameName(path[0], softwareKeyName) ||
        !sameName(path[1], classesKeyName))
        return;
    hive = Hive::classesRoot;
    path.erase(path.begin(), path.begin() + 2);
}

// HKEY_LOCAL_MACHINE itself, its Software key and the classes root: keys
// that hold the classes and cannot be deleted.
inline bool holdsClassesRoot(Hive hive, const std::vector<std::string> &path) {
    if (hive == Hive::classesRoot) return path.empty();
    return hive == Hive::localMachine && (path.empty() || isSoftwareKey(hive, path));
}

struct Hives {
    Key classesRoot;
    Key localMachine;
    Key currentUser;

    // Every tree starts with HKEY_LOCAL_MACHINE\Software.
    Hives() { localMachine.obtainSubkey(softwareKeyName); }
    Hives(Hives &&) = default;
    Hives &operator=(Hives &&) = default;

    Key &operator[](Hive hive) { return const_cast<Key &>(static_cast<const Hives &>(*this)[hive]); }
    const Key &operator[](Hive hive) const {
        switch (hive) {
        case Hive::classesRoot: return classesRoot;
        case Hive::localMachine: return localMachine;
        case Hive::currentUser: break;
        }
        return currentUser;
    }
};

}  // namespace corvant::registry
