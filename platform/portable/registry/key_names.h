// Which key and value names the registry accepts, and how a subkey path
// given to RegCreateKeyExA / RegOpenKeyExA splits into names.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/portable/types.h"

namespace corvant::registry {

inline constexpr size_t maxKeyNameLength = 255;
inline constexpr size_t maxValueNameLength = 16383;
// As deep as Windows lets a registry tree grow; it also bounds the recursion
// that writes and releases the tree.
inline constexpr size_t maxKeyDepth = 512;

// Line breaks are refused in names: the store's text format has no way to hold them.
bool validKeyName(std::string_view name);
bool validValueName(std::string_view name);

enum class PathUse { create, open };

// Splits subKey (may be null) into key names. A leading backslash is refused
// except when opening below HKEY_CLASSES_ROOT itself; empty names between
// separators are skipped. Returns ERROR_SUCCESS or the error code to return.
LONG splitSubkeyPath(const char *subKey, PathUse use, bool belowClassesRoot, std::vector<std::string> &names);

}  // namespace corvant::registry
