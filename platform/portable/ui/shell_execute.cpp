// ShellExecuteA: hands an address to the desktop's opener (xdg-open), started
// directly with the address as its one argument, its output discarded. The
// opener runs as a grandchild that is handed to init at once, so nothing is
// waited for and no zombie is left behind.
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/portable/shell.h"
#include "platform/portable/ui/scripted_front_end.h"

extern char **environ;

namespace {

// The values above 32 that Windows returns on success, and its error codes.
constexpr uintptr_t launched = 42;
constexpr uintptr_t fileNotFound = 2;
constexpr uintptr_t noAssociation = 31;  // SE_ERR_NOASSOC

std::string &opener() {
    static std::string program = "xdg-open";
    return program;
}

HINSTANCE result(uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

// Runs in the intermediate child: start the opener and report through the exit status.
[[noreturn]] void spawnOpener(const char *program, const char *address) {
    posix_spawn_file_actions_t actions;
    int status = 1;
    if (posix_spawn_file_actions_init(&actions) == 0) {
        if (posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0) == 0 &&
            posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0) == 0 &&
            posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0) == 0) {
            char *argv[] = {const_cast<char *>(program), const_cast<char *>(address), nullptr};
            pid_t pid;
            int error = posix_spawnp(&pid, program, &actions, nullptr, argv, environ);
            status = error == 0 ? 0 : (error == ENOENT ? 2 : 1);
        }
        posix_spawn_file_actions_destroy(&actions);
    }
    _exit(status);
}

}  // namespace

namespace corvant::testing {
void setUrlOpener(const std::string &program) { opener() = program.empty() ? "xdg-open" : program; }
}  // namespace corvant::testing

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR, INT) {
    if (!file || !*file)
        return result(fileNotFound);
    if (operation && std::strcmp(operation, "open") != 0)
        return result(noAssociation);
    // An address that starts with '-' would be read as an option by the opener.
    if (file[0] == '-')
        return result(fileNotFound);
    std::string program = opener();
    pid_t child = fork();
    if (child < 0)
        return result(noAssociation);
    if (child == 0)
        spawnOpener(program.c_str(), file);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status))
        return result(noAssociation);
    switch (WEXITSTATUS(status)) {
    case 0: return result(launched);
    case 2: return result(fileNotFound);
    default: return result(noAssociation);
    }
}
