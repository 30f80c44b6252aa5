// Wildcard patterns with the meaning FindFirstFileA gives them.
#pragma once

#include <string>

namespace corvant::files {

// "*" stands for any run of characters and "?" for exactly one; the letters
// a to z match without regard to case; every other character, "[" included,
// stands for itself. As on Windows, dots and spaces at the end of the pattern
// are dropped ("*a " is "*a"), and dots and stars left over once the whole
// name has been matched are satisfied by nothing, so "README.*" names
// "README" and "*.*" or "*.*.*" match every name. A pattern of nothing but
// dots and spaces matches nothing, except "." and "..", which name those
// entries.
class NamePattern {
public:
    explicit NamePattern(const std::string &pattern);

    bool matches(const char *name) const;

private:
    std::string mask_;
    bool matchesEverything_ = false;
    bool matchesNothing_ = false;
    bool exact_ = false;  // "." or "..": that name only
};

}  // namespace corvant::files
