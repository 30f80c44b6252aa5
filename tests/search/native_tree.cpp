#include "tests/search/native_tree.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <utility>
#include <vector>

namespace corvant::testing {

void makeFolderAndEnter(const std::string &name) {
    mkdir(name.c_str(), 0755);
    if (chdir(name.c_str()) != 0) return;
}

void makeFileHere(const std::string &name) {
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd >= 0) close(fd);
}

void removeTreeHere(const std::string &name) {
    chmod(name.c_str(), 0755);
    if (chdir(name.c_str()) != 0) {
        unlink(name.c_str());
        return;
    }
    std::vector<std::pair<std::string, bool>> entries;
    if (DIR *stream = opendir(".")) {
        while (const dirent *entry = readdir(stream)) {
            const std::string entryName = entry->d_name;
            if (entryName == "." || entryName == "..") continue;
            struct stat status;
            const bool folder = lstat(entry->d_name, &status) == 0 && S_ISDIR(status.st_mode);
            entries.emplace_back(entryName, folder);
        }
        closedir(stream);
    }
    for (const auto &[entryName, folder] : entries) {
        if (folder) {
            removeTreeHere(entryName);
        } else {
            unlink(entryName.c_str());
        }
    }
    if (chdir("..") != 0) return;
    rmdir(name.c_str());
}

}  // namespace corvant::testing
