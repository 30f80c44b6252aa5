// Wildcard patterns with the meaning FindFirstFileA gives them.
#pragma once

#include <string>

namespace corvant::files {

// "*" stands for any run of characters and "?" for one; letters match
// without regard to case; every other character, "[" included, stands for
// itself. A pattern ending in ".*" also matches names without that dot, so
// "*.*" matches every name.
class NamePattern {
public:
    explicit NamePattern(const std::string &pattern);

    bool matches(const char *name) const;

private:
    bool matchesEverything_;
    bool endsInDotStar_;
    std::string fnmatchPattern_;
};

}  // namespace corvant::files
