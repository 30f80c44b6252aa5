#include "platform/portable/ui/detached_process.h"

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <time.h>
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

// What the intermediate child tells about the program it started.
struct Report {
    int ended;
    int status;
};

long long monotonicMilliseconds() {
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

// Waits for the program at most `wait` milliseconds and reports whether it
// ended, and how, through `report`. Only async-signal-safe calls.
void watchProgram(pid_t program, long long wait, int report) {
    const long long deadline = monotonicMilliseconds() + wait;
    for (;;) {
        int status = 0;
        const pid_t waited = waitpid(program, &status, WNOHANG);
        if (waited == program) {
            const Report ended{1, status};
            ssize_t ignored = write(report, &ended, sizeof ended);
            (void)ignored;
            return;
        }
        if ((waited < 0 && errno != EINTR) || monotonicMilliseconds() >= deadline) return;
        const timespec pause{0, 10 * 1000 * 1000};
        nanosleep(&pause, nullptr);
    }
}

// Runs in the intermediate child, which only spawns, watches and exits:
// everything it uses was prepared before the fork.
[[noreturn]] void spawnFirst(const std::vector<ProgramToStart> &programs,
                             const std::vector<std::vector<char *>> &argumentVectors, const SpawnSettings &settings,
                             long long wait, int report) {
    // The terminal's keys reach this child too while it waits: an interrupt
    // ends it as it ends the program, and Ctrl+Z is the program's to handle.
    for (int signalNumber : {SIGINT, SIGQUIT, SIGHUP, SIGTERM}) signal(signalNumber, SIG_DFL);
    signal(SIGTSTP, SIG_IGN);
    int error = ENOENT;
    for (size_t i = 0; i < programs.size(); ++i) {
        pid_t program;
        error = posix_spawn(&program, programs[i].path.c_str(), settings.actions(), settings.attributes(),
                            argumentVectors[i].data(), environ);
        if (error == 0) {
            watchProgram(program, wait, report);
            _exit(static_cast<int>(i));
        }
    }
    _exit(error == ENOENT ? noneFound : noneRunnable);
}

}  // namespace

bool StartOutcome::failed() const { return index >= 0 && ended && !(WIFEXITED(status) && WEXITSTATUS(status) == 0); }

StartOutcome startDetached(const std::vector<ProgramToStart> &programs, std::chrono::milliseconds wait) {
    StartOutcome outcome;
    if (programs.empty() || programs.size() >= noneFound) {
        errno = programs.empty() ? ENOENT : E2BIG;
        return outcome;
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
        return outcome;
    }
    // Closed on exec, so that the program never holds it open.
    int report[2];
    if (pipe2(report, O_CLOEXEC) != 0) return outcome;
    const pid_t child = fork();
    if (child < 0) {
        const int error = errno;
        close(report[0]);
        close(report[1]);
        errno = error;
        return outcome;
    }
    if (child == 0) {
        close(report[0]);
        spawnFirst(programs, argumentVectors, settings, static_cast<long long>(wait.count()), report[1]);
    }
    close(report[1]);
    int status = 0;
    pid_t waited;
    do {
        waited = waitpid(child, &status, 0);
    } while (waited < 0 && errno == EINTR);
    // Written before the child exited, or never.
    Report told{0, 0};
    ssize_t got;
    do {
        got = read(report[0], &told, sizeof told);
    } while (got < 0 && errno == EINTR);
    close(report[0]);
    if (waited < 0) return outcome;
    if (!WIFEXITED(status)) {
        errno = ECHILD;
        return outcome;
    }
    const int code = WEXITSTATUS(status);
    if (code < static_cast<int>(programs.size())) {
        outcome.index = code;
        outcome.ended = got == static_cast<ssize_t>(sizeof told) && told.ended == 1;
        outcome.status = outcome.ended ? told.status : 0;
        return outcome;
    }
    errno = code == noneFound ? ENOENT : EACCES;
    return outcome;
}

}  // namespace corvant::shell
