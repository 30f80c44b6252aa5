// The store's file format: regedit's REGEDIT4 text, ANSI bytes, CRLF lines.
#pragma once

#include <string>
#include <string_view>

#include "platform/portable/registry/key_tree.h"

namespace corvant::registry {

// The name of the one hive, as it appears on key lines.
inline constexpr std::string_view rootName = "HKEY_CLASSES_ROOT";

std::string writeRegedit4(const Key &root);

struct ReadFailure {
    unsigned line = 0;
    std::string reason;
};

// Fills root (which should be empty) from text; false with the first fault found.
bool readRegedit4(std::string_view text, Key &root, ReadFailure &failure);

}  // namespace corvant::registry
