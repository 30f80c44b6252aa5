// advapi32's registry functions over the store file, with Windows' return
// codes and edge behaviour (as Wine shows it).
#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/portable/registry.h"
#include "platform/portable/registry/key_names.h"
#include "platform/portable/registry/registry_state.h"

using namespace corvant::registry;

namespace {

using Guard = std::lock_guard<std::mutex>;

const REGSAM fullAccess = KEY_ALL_ACCESS;

std::uintptr_t handleValue(HKEY key) { return reinterpret_cast<std::uintptr_t>(key); }

std::uint32_t low32(HKEY key) { return static_cast<std::uint32_t>(handleValue(key)); }

// Windows looks only at the low 32 bits of a predefined key, so one that was
// zero-extended to 64 bits, or has anything else in the upper half, is the
// same key.
std::optional<Hive> predefinedHive(HKEY key) {
    if (low32(key) == low32(HKEY_CLASSES_ROOT)) return Hive::classesRoot;
    if (low32(key) == low32(HKEY_CURRENT_USER)) return Hive::currentUser;
    if (low32(key) == low32(HKEY_LOCAL_MACHINE)) return Hive::localMachine;
    return std::nullopt;
}

bool isHive(HKEY key) { return predefinedHive(key).has_value(); }

LONG resolve(RegistryState &state, HKEY key, OpenKey &out) {
    if (std::optional<Hive> hive = predefinedHive(key)) {
        out = OpenKey{*hive, {}, fullAccess};
        return ERROR_SUCCESS;
    }
    auto found = state.handles.find(handleValue(key));
    if (found == state.handles.end()) return ERROR_INVALID_HANDLE;
    out = found->second;
    return ERROR_SUCCESS;
}

// Follows the path from the hive; nullptr when some key on it does not exist.
Key *findKey(const Key &root, const std::vector<std::string> &path, size_t count = SIZE_MAX) {
    const Key *key = &root;
    count = std::min(count, path.size());
    for (size_t i = 0; i < count && key; ++i) key = key->findSubkey(path[i]);
    return const_cast<Key *>(key);
}

std::vector<std::string> spellingOf(const Key &root, const std::vector<std::string> &path) {
    std::vector<std::string> spelt;
    const Key *key = &root;
    for (const std::string &name : path) {
        key = key ? key->findSubkey(name) : nullptr;
        spelt.push_back(key ? key->name : name);
    }
    return spelt;
}

std::string lowered(std::string text) {
    for (char &c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool listed(const std::vector<std::string> &paths, Hive hive, const std::vector<std::string> &path) {
    return std::find(paths.begin(), paths.end(), lowered(keyPathText(hive, path))) != paths.end();
}

// The failure hook applies to the key opened and to every key created on the way.
bool openMadeToFail(RegistryState &state, Hive hive, const Key &root, const std::vector<std::string> &target) {
    if (state.failingKeys.empty()) return false;
    if (listed(state.failingKeys, hive, target)) return true;
    std::vector<std::string> prefix;
    for (const std::string &name : target) {
        prefix.push_back(name);
        if (!findKey(root, prefix) && listed(state.failingKeys, hive, prefix)) return true;
    }
    return false;
}

// Rights that change a key or what lies under it.
const REGSAM writeRights = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK | DELETE | WRITE_DAC | WRITE_OWNER;

// A key that refuses writes refuses a handle asking for write rights, and
// the creation of a missing key directly below it.
bool writeMadeToFail(RegistryState &state, Hive hive, const Key &root, const std::vector<std::string> &target,
                     REGSAM desired) {
    if (state.writeRefusingKeys.empty()) return false;
    std::vector<std::string> existing = target;
    while (!existing.empty() && !findKey(root, existing)) existing.pop_back();
    if (existing.size() < target.size()) return listed(state.writeRefusingKeys, hive, existing);
    return (desired & writeRights) && listed(state.writeRefusingKeys, hive, target);
}

bool valueWriteMadeToFail(RegistryState &state, const OpenKey &open) {
    std::vector<std::string> prefix;
    if (listed(state.failingValueKeys, open.hive, prefix)) return true;
    for (const std::string &name : open.path) {
        prefix.push_back(name);
        if (listed(state.failingValueKeys, open.hive, prefix)) return true;
    }
    return false;
}

void record(RegistryState &state, const char *function, const std::string &path, const char *valueName = nullptr) {
    if (!state.recording) return;
    std::string call = function;
    if (!path.empty()) call += " " + path;
    if (valueName && valueName[0]) call += std::string(" ") + valueName;
    state.recordedCalls.push_back(call);
}

std::string describe(RegistryState &state, HKEY key) {
    OpenKey open;
    if (resolve(state, key, open) != ERROR_SUCCESS) return "<invalid handle>";
    return keyPathText(open.hive, open.path);
}

HKEY newHandle(RegistryState &state, Hive hive, std::vector<std::string> path, REGSAM access) {
    std::uintptr_t value = state.nextHandle;
    state.nextHandle += 4;
    state.handles[value] = OpenKey{hive, std::move(path), access};
    return reinterpret_cast<HKEY>(value);
}

bool isStringType(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// Copies value data as RegQueryValueExA does into room bytes at data (which
// may be null): a string without its terminator gets one if there is room.
LONG copyData(const Value &value, LPBYTE data, DWORD room) {
    DWORD needed = static_cast<DWORD>(value.data.size());
    if (!data) return ERROR_SUCCESS;
    if (needed > room) return ERROR_MORE_DATA;
    if (needed) std::memcpy(data, value.data.data(), needed);
    if (isStringType(value.type) && needed > 0 && needed < room && data[needed - 1] != 0) data[needed] = 0;
    return ERROR_SUCCESS;
}

// The type and the needed size always come back, the size last: a caller
// may pass one variable for both.
void reportTypeAndSize(const Value &value, LPDWORD type, LPDWORD dataSize) {
    if (type) *type = value.type;
    if (dataSize) *dataSize = static_cast<DWORD>(value.data.size());
}

// Opens (and with create, creates) subKey below key.
LONG openKey(const char *function, HKEY key, LPCSTR subKey, REGSAM desired, bool create, PHKEY result,
             LPDWORD disposition) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    // A failure leaves no handle behind, unless there was no key to start from.
    if (result && key) *result = nullptr;
    // Opening a predefined key itself gives that key back, not a new handle.
    if (!create && result && (!subKey || !subKey[0]) && isHive(key)) {
        *result = key;
        record(state, function, keyPathText(*predefinedHive(key), {}));
        return ERROR_SUCCESS;
    }
    OpenKey parent;
    std::vector<std::string> names;
    std::vector<std::string> target;
    LONG status = resolve(state, key, parent);
    Hive hive = parent.hive;
    if (status == ERROR_SUCCESS && !result) status = ERROR_INVALID_PARAMETER;
    // Only HKEY_CLASSES_ROOT lets a path start with a backslash.
    if (status == ERROR_SUCCESS)
        status = splitSubkeyPath(subKey, create ? PathUse::create : PathUse::open,
                                 predefinedHive(key) == Hive::classesRoot, names);
    if (status == ERROR_SUCCESS) status = state.store.refresh();
    if (status == ERROR_SUCCESS) {
        target = parent.path;
        target.insert(target.end(), names.begin(), names.end());
        resolveClassesAlias(hive, target);
        const Key &root = state.store.tree()[hive];
        if (target.size() > maxKeyDepth)
            status = ERROR_INVALID_PARAMETER;
        else if (!findKey(state.store.tree()[parent.hive], parent.path))
            status = ERROR_KEY_DELETED;
        // A key that does not exist has no permissions of its own: opening it
        // finds nothing, whatever the hooks say.
        else if (!create && !findKey(root, target))
            status = ERROR_FILE_NOT_FOUND;
        else if (openMadeToFail(state, hive, root, target) ||
                 writeMadeToFail(state, hive, root, target, create ? desired | KEY_CREATE_SUB_KEY : desired))
            status = ERROR_ACCESS_DENIED;
        else if (findKey(root, target)) {
            if (disposition) *disposition = REG_OPENED_EXISTING_KEY;
        } else {
            status = state.store.modify(hive, target, [&](Hives &tree) {
                if (!findKey(tree[parent.hive], parent.path)) return ERROR_KEY_DELETED;
                Key *created = &tree[hive];
                for (const std::string &name : target) created = &created->obtainSubkey(name);
                return ERROR_SUCCESS;
            });
            if (status == ERROR_SUCCESS && disposition) *disposition = REG_CREATED_NEW_KEY;
        }
    }
    if (status == ERROR_SUCCESS) {
        target = spellingOf(state.store.tree()[hive], target);
        *result = newHandle(state, hive, target, desired);
        record(state, function, keyPathText(hive, target));
    } else {
        if (target.empty()) {
            target = parent.path;
            if (subKey && subKey[0]) target.push_back(subKey);
        }
        record(state, function, keyPathText(hive, target));
    }
    return status;
}

// Looks the handle's key up in a fresh copy of the store.
LONG currentKey(RegistryState &state, HKEY key, REGSAM needed, OpenKey &open, const Key *&found) {
    LONG status = resolve(state, key, open);
    if (status != ERROR_SUCCESS) return status;
    status = state.store.refresh();
    if (status != ERROR_SUCCESS) return status;
    found = findKey(state.store.tree()[open.hive], open.path);
    if (!found) return ERROR_KEY_DELETED;
    if ((open.access & needed) != needed) return ERROR_ACCESS_DENIED;
    return ERROR_SUCCESS;
}

// The index-th subkey as RegEnumKeyExA lists them; HKEY_LOCAL_MACHINE\Software
// lists Classes, whose keys are kept apart, in its place among the others.
const std::string *subkeyAt(const OpenKey &open, const Key &key, DWORD index) {
    static const std::string classes(classesKeyName);
    const auto &subkeys = key.subkeys();
    size_t position = index;
    if (isSoftwareKey(open.hive, open.path)) {
        const size_t classesAt = static_cast<size_t>(
            std::partition_point(subkeys.begin(), subkeys.end(),
                                 [](const std::unique_ptr<Key> &subkey) { return nameBefore(subkey->name, classes); }) -
            subkeys.begin());
        if (position == classesAt) return &classes;
        if (position > classesAt) --position;
    }
    return position < subkeys.size() ? &subkeys[position]->name : nullptr;
}

}  // namespace

LONG WINAPI RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM desired, LPSECURITY_ATTRIBUTES,
                            PHKEY result, LPDWORD disposition) {
    return openKey("RegCreateKeyExA", key, subKey, desired, true, result, disposition);
}

LONG WINAPI RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM desired, PHKEY result) {
    return openKey("RegOpenKeyExA", key, subKey, desired, false, result, nullptr);
}

LONG WINAPI RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE *data, DWORD dataSize) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    const char *name = valueName ? valueName : "";
    record(state, "RegSetValueExA", describe(state, key), name);
    OpenKey open;
    LONG status = resolve(state, key, open);
    if (status != ERROR_SUCCESS) return status;
    if (!(open.access & KEY_SET_VALUE)) return ERROR_ACCESS_DENIED;
    if (!validValueName(name)) return ERROR_INVALID_PARAMETER;
    if (!data && dataSize) return ERROR_NOACCESS;
    if (valueWriteMadeToFail(state, open)) return ERROR_ACCESS_DENIED;
    // A string whose length left out its terminating zero gets it counted
    // when the zero is there after it, as Windows does.
    if (data && dataSize && isStringType(type) && data[dataSize - 1] != 0 && data[dataSize] == 0) ++dataSize;
    std::string bytes(reinterpret_cast<const char *>(data), data ? dataSize : 0);
    return state.store.modify(open.hive, open.path, [&](Hives &tree) {
        Key *found = findKey(tree[open.hive], open.path);
        if (!found) return ERROR_KEY_DELETED;
        found->setValue(name, type, std::move(bytes));
        return ERROR_SUCCESS;
    });
}

LONG WINAPI RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                             LPDWORD dataSize) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    if (reserved || (data && !dataSize)) return ERROR_INVALID_PARAMETER;
    OpenKey open;
    if (resolve(state, key, open) != ERROR_SUCCESS) return ERROR_INVALID_HANDLE;
    const DWORD room = dataSize ? *dataSize : 0;
    // Asked for the size only, the caller learns 0 unless the value is found.
    if (!data && dataSize) *dataSize = 0;
    const Key *found = nullptr;
    LONG status = currentKey(state, key, KEY_QUERY_VALUE, open, found);
    if (status != ERROR_SUCCESS) return status;
    const Value *value = found->findValue(valueName ? valueName : "");
    if (!value) return ERROR_FILE_NOT_FOUND;
    status = copyData(*value, data, room);
    reportTypeAndSize(*value, type, dataSize);
    return status;
}

LONG WINAPI RegEnumKeyExA(HKEY key, DWORD index, LPSTR name, LPDWORD nameLength, LPDWORD reserved, LPSTR keyClass,
                          LPDWORD classLength, PFILETIME lastWriteTime) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    OpenKey open;
    const Key *found = nullptr;
    LONG status = currentKey(state, key, KEY_ENUMERATE_SUB_KEYS, open, found);
    if (status != ERROR_SUCCESS) return status;
    if (!name || !nameLength || reserved) return ERROR_INVALID_PARAMETER;
    const std::string *listedName = subkeyAt(open, *found, index);
    if (!listedName) return ERROR_NO_MORE_ITEMS;
    const std::string &subkeyName = *listedName;
    if (subkeyName.size() + 1 > *nameLength) return ERROR_MORE_DATA;
    std::memcpy(name, subkeyName.c_str(), subkeyName.size() + 1);
    *nameLength = static_cast<DWORD>(subkeyName.size());
    // Keys have no class here, and no recorded time.
    if (keyClass && classLength && *classLength > 0) keyClass[0] = '\0';
    if (classLength) *classLength = 0;
    if (lastWriteTime) *lastWriteTime = FILETIME{0, 0};
    return ERROR_SUCCESS;
}

LONG WINAPI RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameLength, LPDWORD reserved,
                          LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    OpenKey open;
    const Key *found = nullptr;
    LONG status = currentKey(state, key, KEY_QUERY_VALUE, open, found);
    if (status != ERROR_SUCCESS) return status;
    if (!valueName || !valueNameLength || reserved || (data && !dataSize)) return ERROR_INVALID_PARAMETER;
    if (index >= found->values().size()) return ERROR_NO_MORE_ITEMS;
    const Value &value = found->values()[index];
    // The data first: a name too long for its buffer still lets data that fits through.
    status = copyData(value, data, dataSize ? *dataSize : 0);
    if (status == ERROR_SUCCESS) {
        if (value.name.size() + 1 > *valueNameLength) {
            // As much of the name as fits, ended; the length stays as given.
            status = ERROR_MORE_DATA;
            if (*valueNameLength > 0) {
                const size_t kept = *valueNameLength - 1;
                std::memcpy(valueName, value.name.data(), kept);
                valueName[kept] = '\0';
            }
        } else {
            std::memcpy(valueName, value.name.c_str(), value.name.size() + 1);
            *valueNameLength = static_cast<DWORD>(value.name.size());
        }
    }
    reportTypeAndSize(value, type, dataSize);
    return status;
}

LONG WINAPI RegDeleteTreeA(HKEY key, LPCSTR subKey) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    OpenKey open;
    LONG status = resolve(state, key, open);
    if (status != ERROR_SUCCESS) return status;
    std::vector<std::string> names;
    status = splitSubkeyPath(subKey, PathUse::open, predefinedHive(key) == Hive::classesRoot, names);
    if (status != ERROR_SUCCESS) return status;
    status = state.store.refresh();
    if (status != ERROR_SUCCESS) return status;
    const Key *base = findKey(state.store.tree()[open.hive], open.path);
    if (!base) return ERROR_KEY_DELETED;

    Hive hive = open.hive;
    std::vector<std::string> target = open.path;
    target.insert(target.end(), names.begin(), names.end());
    resolveClassesAlias(hive, target);
    const Key &root = state.store.tree()[hive];
    // Emptying HKEY_CLASSES_ROOT is allowed; the keys that hold it stay.
    if (holdsClassesRoot(hive, target) && !(names.empty() && hive == Hive::classesRoot)) return ERROR_ACCESS_DENIED;
    if (names.empty()) {
        // Only the key's contents go; that needs the rights to list and to change them.
        REGSAM needed = KEY_QUERY_VALUE | KEY_ENUMERATE_SUB_KEYS | (base->values().empty() ? 0 : KEY_SET_VALUE);
        if ((open.access & needed) != needed) return ERROR_ACCESS_DENIED;
    } else if (!findKey(root, target)) {
        return ERROR_FILE_NOT_FOUND;
    }
    return state.store.modify(hive, target, [&](Hives &tree) {
        Key *found = findKey(tree[hive], target);
        if (!found) return names.empty() ? ERROR_KEY_DELETED : ERROR_FILE_NOT_FOUND;
        if (names.empty()) {
            found->clear();
        } else {
            findKey(tree[hive], target, target.size() - 1)->removeSubkey(found->name);
        }
        return ERROR_SUCCESS;
    });
}

// Deletes one key that has no subkeys. As on Windows, the rights of the
// handle given do not matter.
LONG WINAPI RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    OpenKey open;
    LONG status = resolve(state, key, open);
    if (status != ERROR_SUCCESS) return status;
    if (!subKey || !subKey[0]) return ERROR_INVALID_PARAMETER;
    std::vector<std::string> names;
    status = splitSubkeyPath(subKey, PathUse::open, predefinedHive(key) == Hive::classesRoot, names);
    if (status != ERROR_SUCCESS) return status;
    status = state.store.refresh();
    if (status != ERROR_SUCCESS) return status;
    Hive hive = open.hive;
    std::vector<std::string> target = open.path;
    target.insert(target.end(), names.begin(), names.end());
    resolveClassesAlias(hive, target);
    const Key *found = findKey(state.store.tree()[hive], target);
    if (!found) return ERROR_FILE_NOT_FOUND;
    if (!found->subkeys().empty() || holdsClassesRoot(hive, target)) return ERROR_ACCESS_DENIED;
    record(state, "RegDeleteKeyA", keyPathText(hive, target));
    return state.store.modify(hive, target, [&](Hives &tree) {
        Key *parent = findKey(tree[hive], target, target.size() - 1);
        if (!parent || !parent->removeSubkey(target.back())) return ERROR_FILE_NOT_FOUND;
        return ERROR_SUCCESS;
    });
}

LONG WINAPI RegDeleteValueA(HKEY key, LPCSTR valueName) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    const char *name = valueName ? valueName : "";
    OpenKey open;
    const Key *found = nullptr;
    LONG status = currentKey(state, key, KEY_SET_VALUE, open, found);
    if (status != ERROR_SUCCESS) return status;
    if (!found->findValue(name)) return ERROR_FILE_NOT_FOUND;
    record(state, "RegDeleteValueA", describe(state, key), name);
    return state.store.modify(open.hive, open.path, [&](Hives &tree) {
        Key *current = findKey(tree[open.hive], open.path);
        if (!current) return ERROR_KEY_DELETED;
        return current->removeValue(name) ? ERROR_SUCCESS : ERROR_FILE_NOT_FOUND;
    });
}

LONG WINAPI RegFlushKey(HKEY key) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    record(state, "RegFlushKey", describe(state, key));
    OpenKey open;
    const Key *found = nullptr;
    LONG status = currentKey(state, key, 0, open, found);
    if (status != ERROR_SUCCESS) return status;
    return state.store.flush();
}

LONG WINAPI RegCloseKey(HKEY key) {
    RegistryState &state = registryState();
    Guard guard(state.mutex);
    record(state, "RegCloseKey", describe(state, key));
    if (isHive(key)) return ERROR_SUCCESS;
    return state.handles.erase(handleValue(key)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
