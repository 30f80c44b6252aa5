// The store's file format: regedit's REGEDIT4 text, ANSI bytes, CRLF lines.
#pragma once

#include <string>
#include <string_view>

#include "platform/portable/registry/hives.h"

namespace corvant::registry {

// Each hive's keys follow those of the hive before it; a hive without keys
// or values adds nothing. With reuse, each key directly below a hive is
// taken from its writtenText where that is kept, and keeps its text there
// where it was not.
std::string writeRegedit4(const Hives &hives, bool reuse = false);

struct ReadFailure {
    unsigned line = 0;
    std::string reason;
};

// Fills hives (which should be empty) from text; false with the first fault found.
bool readRegedit4(std::string_view text, Hives &hives, ReadFailure &failure);

}  // namespace corvant::registry
