#include "platform/portable/files/path_names.h"

#include <dirent.h>
#include <fcntl.h>
#include <strings.h>
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

namespace corvant::files {

namespace {

std::string joined(const std::string &directory, const std::string &name) {
    if (directory.empty()) return name;
    if (directory.back() == '/') return directory + name;
    return directory + "/" + name;
}

bool exists(const std::string &path) {
    struct stat status;
    return fstatat(AT_FDCWD, path.c_str(), &status, AT_SYMLINK_NOFOLLOW) == 0;
}

// The entry of directory whose name equals name without regard to case.
bool findEntryWithoutCase(const std::string &directory, const std::string &name, std::string &found) {
    DIR *stream = opendir(directory.empty() ? "." : directory.c_str());
    if (stream == nullptr) return false;
    bool any = false;
    while (const dirent *entry = readdir(stream)) {
        if (strcasecmp(entry->d_name, name.c_str()) != 0) continue;
        if (!any || std::strcmp(entry->d_name, found.c_str()) < 0) found = entry->d_name;
        any = true;
    }
    closedir(stream);
    if (!any) errno = ENOENT;
    return any;
}

}  // namespace

std::string toPosixPath(const char *path) {
    std::string converted(path);
    for (char &c : converted) {
        if (c == '\\') c = '/';
    }
    return converted;
}

bool resolveWithoutCase(const std::string &path, std::string &resolved) {
    std::string prefix = !path.empty() && path[0] == '/' ? "/" : "";
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        const std::string component = path.substr(start, end - start);
        start = end + 1;
        if (component.empty()) continue;
        std::string candidate = joined(prefix, component);
        if (component != "." && component != ".." && !exists(candidate)) {
            if (errno != ENOENT) return false;
            std::string found;
            if (!findEntryWithoutCase(prefix, component, found)) return false;
            candidate = joined(prefix, found);
        }
        prefix = std::move(candidate);
    }
    resolved = prefix.empty() ? "." : prefix;
    return true;
}

}  // namespace corvant::files
