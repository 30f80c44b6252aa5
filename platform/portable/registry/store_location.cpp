#include "platform/portable/registry/store_location.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <pwd.h>
#include <unistd.h>

#include <vector>

#include "platform/portable/registry/registry_state.h"

namespace corvant::registry {

namespace {

// The user's home folder as the password database names it; empty when it
// has no entry for the user, or one without a home folder.
std::string homeFromPasswordDatabase(std::string &why) {
    const uid_t user = ::geteuid();
    long suggested = ::sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(suggested > 0 ? static_cast<size_t>(suggested) : 1024);
    passwd entry{};
    passwd *found = nullptr;
    int error;
    // Entries longer than the suggested size are read with more room.
    while ((error = ::getpwuid_r(user, &entry, buffer.data(), buffer.size(), &found)) == ERANGE &&
           buffer.size() < (1u << 20))
        buffer.resize(buffer.size() * 2);
    if (error != 0) {
        why = "the password database could not be read (" + std::string(std::strerror(error)) + ")";
        return std::string();
    }
    if (!found) {
        why = "the password database has no entry for user ID " + std::to_string(user);
        return std::string();
    }
    if (!entry.pw_dir || entry.pw_dir[0] == '\0') {
        why = "the password database names no home folder for user ID " + std::to_string(user);
        return std::string();
    }
    return entry.pw_dir;
}

}  // namespace

bool defaultStorePath(std::string &path, std::string &problem) {
    path.clear();
    const char *dataHome = std::getenv("XDG_DATA_HOME");
    if (dataHome && dataHome[0] == '/') {
        path = std::string(dataHome) + "/corvant/registry.reg";
        return true;
    }
    const char *variable = std::getenv("HOME");
    std::string home = variable ? variable : "";
    std::string why = "HOME is not set";
    if (home.empty()) home = homeFromPasswordDatabase(why);
    if (home.empty()) {
        problem = "Corvant cannot find your home folder, where it keeps its registry: " + why +
                  ". Set HOME (or XDG_DATA_HOME) to a folder and start it again.";
        return false;
    }
    if (home[0] != '/') {
        char here[PATH_MAX];
        if (!::getcwd(here, sizeof here)) {
            problem = "Corvant cannot tell the current folder, below which HOME (" + home +
                      ") lies: " + std::strerror(errno) + ".";
            return false;
        }
        home = std::string(here) + (std::strcmp(here, "/") == 0 ? "" : "/") + home;
    }
    path = home + "/.local/share/corvant/registry.reg";
    return true;
}

}  // namespace corvant::registry

bool settleRegistryStorePath() {
    using namespace corvant::registry;
    RegistryState &state = registryState();
    std::lock_guard<std::mutex> guard(state.mutex);
    if (!state.store.path().empty()) return true;
    state.store.refresh();  // records why
    return false;
}
