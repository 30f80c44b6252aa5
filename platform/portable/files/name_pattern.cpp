#include "platform/portable/files/name_pattern.h"

#include <cstring>

namespace corvant::files {

namespace {

char foldCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool onlyDotsAndStars(const char *mask) { return mask[std::strspn(mask, ".*")] == '\0'; }

}  // namespace

NamePattern::NamePattern(const std::string &pattern) : mask_(pattern) {
    if (pattern == "." || pattern == "..") {
        exact_ = true;
        return;
    }
    const size_t kept = mask_.find_last_not_of(". ");
    if (kept == std::string::npos) {
        matchesNothing_ = true;
        return;
    }
    mask_.erase(kept + 1);
    for (char &c : mask_) c = foldCase(c);
    matchesEverything_ = mask_[0] == '*' && onlyDotsAndStars(mask_.c_str());
}

// Walks name and mask side by side; on a mismatch the last "*" takes one
// more character of the name and the rest of the mask is tried again from
// there. Only the last "*" ever needs to be revisited: whatever an earlier
// one took, the last can take as well.
bool NamePattern::matches(const char *name) const {
    if (matchesEverything_) return true;
    if (matchesNothing_) return false;
    if (exact_) return mask_ == name;
    const char *mask = mask_.c_str();
    const char *star = nullptr;  // the mask just after the last "*" passed
    const char *resume = name;   // where the name continues when that "*" takes one more
    while (true) {
        if (*mask == '*') {
            while (*mask == '*') ++mask;
            star = mask;
            resume = name;
            continue;
        }
        if (*name == '\0') {
            if (onlyDotsAndStars(mask)) return true;
        } else if (*mask != '\0' && (*mask == '?' || *mask == foldCase(*name))) {
            ++mask;
            ++name;
            continue;
        }
        if (star == nullptr || *resume == '\0') return false;
        mask = star;
        name = ++resume;
    }
}

}  // namespace corvant::files
