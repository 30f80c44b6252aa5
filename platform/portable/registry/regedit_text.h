// The store's file format: regedit's REGEDIT4 text, ANSI bytes, CRLF lines.
#pragma once

#include <string>
#include <string_view>

#include "platform/portable/registry/hives.h"

namespace corvant::registry {

// Each hive's keys follow those of the hive before it; a hive without keys
// or values adds nothing.
std::string writeRegedit4(const Hives &hives);

struct ReadFailure {
    unsigned line = 0;
    std::string reason;
};

// Fills hives (which should be empty) from text; false with the first fault found.
bool readRegedit4(std::string_view text, Hives &hives, ReadFailure &failure);

}  // namespace corvant::registry
