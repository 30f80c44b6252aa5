#include "assoc/composed_values.h"

#include <cstdio>
#include <cstring>

namespace {

bool containsBlank(const char *text) { return std::strpbrk(text, " \t") != nullptr; }

bool composeInto(char (&out)[composedValueSize], const char *format, const char *path) {
    char composed[composedValueSize];
    const int length = std::snprintf(composed, sizeof composed, format, path);
    if (length < 0 || static_cast<std::size_t>(length) >= sizeof composed) return false;
    std::memcpy(out, composed, static_cast<std::size_t>(length) + 1);
    return true;
}

}  // namespace

bool composeCommandValue(const char *browserPath, char (&out)[composedValueSize]) {
    return composeInto(out, containsBlank(browserPath) ? "\"%s\" \"%%1\"" : "%s \"%%1\"", browserPath);
}

bool composeIconValue(const char *browserPath, char (&out)[composedValueSize]) {
    return composeInto(out, "%s,0", browserPath);
}
