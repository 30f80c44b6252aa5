#include "tests/search/child_process.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace corvant::testing {

namespace {

void writeAll(int fd, const std::string &text) {
    size_t written = 0;
    while (written < text.size()) {
        const ssize_t result = write(fd, text.data() + written, text.size() - written);
        if (result < 0 && errno == EINTR) continue;
        if (result <= 0) return;
        written += static_cast<size_t>(result);
    }
}

}  // namespace

ChildResult runInChild(const std::function<std::string()> &work, unsigned timeoutSeconds) {
    ChildResult result;
    int channel[2];
    if (pipe(channel) != 0) return result;
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return result;
    }
    if (child == 0) {
        close(channel[0]);
        alarm(timeoutSeconds);
        writeAll(channel[1], work());
        close(channel[1]);
        _exit(0);
    }
    close(channel[1]);
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        result.output.append(buffer, static_cast<size_t>(got));
    }
    close(channel[0]);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    result.exitedNormally = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    return result;
}

std::vector<std::string> splitLines(const std::string &text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

}  // namespace corvant::testing
