#include "platform/portable/ui/detached_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace corvant::shell {

namespace {

// Exit statuses of the intermediate child besides the index it started.
constexpr int noneFound = 250;
constexpr int noneRunnable = 251;

class SpawnSettings {
public:
    SpawnSettings() {
        ready_ = posix_spawn_file_actions_init(&actions_) == 0;
        if (!ready_) return;
        actionsMade_ = true;
        ready_ = posix_spawnattr_init(&attributes_) == 0;
        if (!ready_) return;
        attributesMade_ = true;
        ready_ = posix_spawn_file_actions_addopen(&actions_, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
                 posix_spawn_file_actions_addopen(&actions_, STDOUT_FILENO, "/dev/null", O_WRONLY, 0) == 0 &&
                 posix_spawn_file_actions_addopen(&actions_, STDERR_FILENO, "/dev/null", O_WRONLY, 0) == 0;
#if defined(__GLIBC__) && (__GLIBC__ > 2 || (__GLIBC__ == 2 && __GLIBC_MINOR__ >= 34))
        ready_ = ready_ && posix_spawn_file_actions_addclosefrom_np(&actions_, STDERR_FILENO + 1) == 0;
#endif
        sigset_t none, all;
        sigemptyset(&none);
        sigfillset(&all);
        short flags = POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF;
#ifdef POSIX_SPAWN_SETSID
        flags |= POSIX_SPAWN_SETSID;
#else
        flags |= POSIX_SPAWN_SETPGROUP;
#endif
        ready_ = ready_ && posix_spawnattr_setsigmask(&attributes_, &none) == 0 &&
                 posix_spawnattr_setsigdefault(&attributes_, &all) == 0 &&
                 posix_spawnattr_setflags(&attributes_, flags) == 0;
    }
    ~SpawnSettings() {
        if (actionsMade_) posix_spawn_file_actions_destroy(&actions_);
        if (attributesMade_) posix_spawnattr_destroy(&attributes_);
    }
    SpawnSettings(const SpawnSettings &) = delete;
    SpawnSettings &operator=(const SpawnSettings &) = delete;

    bool ready() const { return ready_; }
    const posix_spawn_file_actions_t *actions() const { return &actions_; }
    const posix_spawnattr_t *attributes() const { return &attributes_; }

private:
    posix_spawn_file_actions_t actions_;
    posix_spawnattr_t attributes_;
    bool actionsMade_ = false;
    bool attributesMade_ = false;
    bool ready_ = false;
};

// Runs in the intermediate child, which only spawns and exits: everything it
// uses was prepared before the fork.
[[noreturn]] void spawnFirst(const std::vector<ProgramToStart> &programs,
                             const std::vector<std::vector<char *>> &argumentVectors, const SpawnSettings &settings) {
    int error = ENOENT;
    for (size_t i = 0; i < programs.size(); ++i) {
        pid_t program;
        error = posix_spawn(&program, programs[i].path.c_str(), settings.actions(), settings.attributes(),
                            argumentVectors[i].data(), environ);
        if (error == 0) _exit(static_cast<int>(i));
    }
    _exit(error == ENOENT ? noneFound : noneRunnable);
}

}  // namespace

int startDetached(const std::vector<ProgramToStart> &programs) {
    if (programs.empty() || programs.size() >= noneFound) {
        errno = programs.empty() ? ENOENT : E2BIG;
        return -1;
    }
    std::vector<std::vector<char *>> argumentVectors;
    for (const ProgramToStart &program : programs) {
        std::vector<char *> vector;
        for (const std::string &argument : program.arguments) vector.push_back(const_cast<char *>(argument.c_str()));
        vector.push_back(nullptr);
        argumentVectors.push_back(std::move(vector));
    }
    SpawnSettings settings;
    if (!settings.ready()) {
        errno = ENOMEM;
        return -1;
    }
    const pid_t child = fork();
    if (child < 0) return -1;
    if (child == 0) spawnFirst(programs, argumentVectors, settings);
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    if (waited < 0) return -1;
    if (!WIFEXITED(status)) {
        errno = ECHILD;
        return -1;
    }
    const int code = WEXITSTATUS(status);
    if (code < static_cast<int>(programs.size())) return code;
    errno = code == noneFound ? ENOENT : EACCES;
    return -1;
}

}  // namespace corvant::shell
