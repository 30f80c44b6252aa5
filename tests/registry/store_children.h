// Native-only: child processes that share the test's store file.
#pragma once

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <thread>

namespace corvant::testing {

// Runs work in a child process; its exit status is 0 when work returned true.
inline pid_t startChild(const std::function<bool()> &work) {
    pid_t pid = fork();
    if (pid == 0) _exit(work() ? 0 : 1);
    return pid;
}

// Waits at most timeoutSeconds; a child still running then is killed and counts as failed.
inline bool childSucceeded(pid_t pid, int timeoutSeconds) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    int status = 0;
    for (;;) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
        if (done < 0) return false;
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Kills and reaps the child when it goes out of scope, however the test ends.
class KilledAtEnd {
public:
    explicit KilledAtEnd(pid_t pid) : pid_(pid) {}
    ~KilledAtEnd() { killNow(); }
    KilledAtEnd(const KilledAtEnd &) = delete;
    KilledAtEnd &operator=(const KilledAtEnd &) = delete;
    void killNow() {
        if (pid_ <= 0) return;
        kill(pid_, SIGKILL);
        int status = 0;
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }

private:
    pid_t pid_;
};

}  // namespace corvant::testing
