#include "platform/portable/files/name_pattern.h"

#include <fnmatch.h>

#include <cstring>

namespace corvant::files {

namespace {

constexpr int matchFlags = FNM_NOESCAPE | FNM_CASEFOLD;

bool endsWith(const std::string &text, const char *ending) {
    const size_t length = std::strlen(ending);
    return text.size() >= length && text.compare(text.size() - length, length, ending) == 0;
}

}  // namespace

NamePattern::NamePattern(const std::string &pattern)
    : matchesEverything_(pattern == "*" || pattern == "*.*"),
      endsInDotStar_(endsWith(pattern, ".*")) {
    for (char c : pattern) {
        // fnmatch would read "[" as the start of a set.
        if (c == '[') {
            fnmatchPattern_ += "[[]";
        } else {
            fnmatchPattern_ += c;
        }
    }
}

bool NamePattern::matches(const char *name) const {
    if (matchesEverything_) return true;
    if (fnmatch(fnmatchPattern_.c_str(), name, matchFlags) == 0) return true;
    if (!endsInDotStar_) return false;
    // "name.*" also names "name" itself: try again with the dot supplied.
    char withDot[512];
    const size_t length = std::strlen(name);
    if (length + 2 > sizeof withDot) return false;
    std::memcpy(withDot, name, length);
    withDot[length] = '.';
    withDot[length + 1] = '\0';
    return fnmatch(fnmatchPattern_.c_str(), withDot, matchFlags) == 0;
}

}  // namespace corvant::files
