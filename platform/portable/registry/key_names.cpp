#include "platform/portable/registry/key_names.h"

namespace corvant::registry {

namespace {

bool hasLineBreak(std::string_view name) { return name.find_first_of("\r\n") != std::string_view::npos; }

}  // namespace

bool validKeyName(std::string_view name) {
    return !name.empty() && name.size() <= maxKeyNameLength && !hasLineBreak(name);
}

bool validValueName(std::string_view name) { return name.size() <= maxValueNameLength && !hasLineBreak(name); }

LONG splitSubkeyPath(const char *subKey, PathUse use, bool belowClassesRoot, std::vector<std::string> &names) {
    names.clear();
    if (!subKey) return ERROR_SUCCESS;
    std::string_view path(subKey);
    if (!path.empty() && path[0] == '\\') {
        if (use == PathUse::create || !belowClassesRoot) return ERROR_BAD_PATHNAME;
        path.remove_prefix(1);
        if (!path.empty() && path[0] == '\\') return ERROR_BAD_PATHNAME;
    }
    while (!path.empty()) {
        size_t separator = path.find('\\');
        std::string_view name = path.substr(0, separator);
        if (!name.empty()) {
            if (!validKeyName(name)) return ERROR_INVALID_PARAMETER;
            names.emplace_back(name);
        }
        if (separator == std::string_view::npos) break;
        path.remove_prefix(separator + 1);
    }
    return ERROR_SUCCESS;
}

}  // namespace corvant::registry
