// ShellExecuteA: opens an address as Windows' shell does. The class of the
// address (its URL scheme, or the class its file extension names) gives the
// shell\open\command in the registry; the command's program is started
// directly, with the address in place of "%1" as one argument. Where no
// class is registered, or its program does not exist or cannot be run, the
// address goes to the desktop's opener (xdg-open) instead. The program is
// waited for a moment: one that fails within it (an opener that finds no
// desktop) makes the request fail as one without an association. DDE
// (ddeexec) has no counterpart here and is not used.
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "platform/portable/files.h"
#include "platform/portable/files/path_names.h"
#include "platform/portable/shell.h"
#include "platform/portable/ui/command_line.h"
#include "platform/portable/ui/detached_process.h"
#include "platform/portable/ui/screen_notice.h"
#include "platform/portable/ui/scripted_front_end.h"
#include "platform/portable/ui/shell_association.h"

using corvant::shell::ProgramToStart;

namespace {

// The values above 32 that Windows returns on success, and its error codes.
constexpr uintptr_t launched = 42;
constexpr uintptr_t fileNotFound = 2;    // SE_ERR_FNF
constexpr uintptr_t noAssociation = 31;  // SE_ERR_NOASSOC

std::string &opener() {
    static std::string program = "xdg-open";
    return program;
}

// How long the program started is waited for: an opener that finds nothing
// to open the address with (xdg-open without a desktop) ends within it,
// while a browser keeps running and is left to itself.
constexpr std::chrono::milliseconds openerWait{2000};

HINSTANCE result(uintptr_t value) { return reinterpret_cast<HINSTANCE>(value); }

std::string failureNotice(const std::string &address, const std::string &program, int status) {
    const std::string how = WIFEXITED(status) ? "ended with status " + std::to_string(WEXITSTATUS(status))
                                              : "was ended by signal " + std::to_string(WTERMSIG(status));
    return "Could not open " + address + ": " + program.substr(program.rfind('/') + 1) + " " + how + ".";
}

bool isRunnableFile(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(path.c_str(), X_OK) == 0;
}

// The file a command's program names: a path as written or, as everywhere
// in this layer, found without regard to case; a bare name through PATH.
bool findProgram(const std::string &program, std::string &path) {
    if (program.empty()) return false;
    if (program.find('/') != std::string::npos) {
        if (isRunnableFile(program)) {
            path = program;
            return true;
        }
        std::string resolved;
        if (!corvant::files::resolveWithoutCase(program, resolved) || !isRunnableFile(resolved)) return false;
        path = resolved;
        return true;
    }
    const char *searchPath = std::getenv("PATH");
    std::string folders = searchPath ? searchPath : "/usr/local/bin:/usr/bin:/bin";
    size_t start = 0;
    while (start <= folders.size()) {
        size_t end = folders.find(':', start);
        if (end == std::string::npos) end = folders.size();
        const std::string folder = end > start ? folders.substr(start, end - start) : ".";
        const std::string candidate = folder + "/" + program;
        if (isRunnableFile(candidate)) {
            path = candidate;
            return true;
        }
        start = end + 1;
    }
    return false;
}

// A document as the program that opens it must be given it: its full path,
// below the current directory as the program named it, as on Windows, and
// spelt as the file is when it was named without regard to case.
bool findDocument(const std::string &name, std::string &path) {
    std::string full = name;
    if (full[0] != '/') {
        char here[PATH_MAX];
        const DWORD length = GetCurrentDirectoryA(sizeof here, here);
        if (length == 0 || length >= sizeof here) return false;
        full = std::string(here) + (here[length - 1] == '/' ? "" : "/") + name;
    }
    struct stat info;
    if (stat(full.c_str(), &info) == 0) {
        path = full;
        return true;
    }
    return corvant::files::resolveWithoutCase(full, path) && stat(path.c_str(), &info) == 0;
}

// The class's open command, read as Windows reads it: the first reading of
// its program that names a file that can be run, with the arguments that
// follow that reading.
bool openCommandFor(const std::string &address, const std::string &target, ProgramToStart &start) {
    std::string command;
    if (!corvant::shell::readOpenCommand(corvant::shell::classOfAddress(address), command)) return false;
    for (const corvant::shell::ProgramCandidate &candidate : corvant::shell::programCandidates(command)) {
        if (!findProgram(candidate.program, start.path)) continue;
        start.arguments = {candidate.program};
        for (std::string &argument : corvant::shell::commandArguments(command.substr(candidate.argumentsStart), target))
            start.arguments.push_back(std::move(argument));
        return true;
    }
    return false;
}

}  // namespace

namespace corvant::testing {
void setUrlOpener(const std::string &program) { opener() = program.empty() ? "xdg-open" : program; }
}  // namespace corvant::testing

HINSTANCE WINAPI ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR, INT) {
    if (!file || !*file) return result(fileNotFound);
    if (operation && std::strcmp(operation, "open") != 0) return result(noAssociation);
    // An address that starts with '-' would be read as an option by the program.
    if (file[0] == '-') return result(fileNotFound);
    const std::string address = file;
    // What the program is given: a URL as it is, a document as its full path.
    std::string target = address;
    if (!corvant::shell::hasUrlScheme(address) && !findDocument(address, target)) return result(fileNotFound);

    std::vector<ProgramToStart> programs;
    ProgramToStart command;
    if (openCommandFor(address, target, command)) programs.push_back(std::move(command));
    ProgramToStart fallback;
    if (findProgram(opener(), fallback.path)) {
        fallback.arguments = {opener(), target};
        programs.push_back(std::move(fallback));
    }
    if (programs.empty()) return result(fileNotFound);
    const corvant::shell::StartOutcome started = corvant::shell::startDetached(programs, openerWait);
    if (started.index < 0) return result(errno == ENOENT ? fileNotFound : noAssociation);
    if (!started.failed()) return result(launched);
    // Windows' shell would have said so in a box of its own; the caller
    // learns it as "no association", and the screen says it meanwhile.
    corvant::ui::showScreenNotice(
        failureNotice(address, programs[static_cast<size_t>(started.index)].arguments[0], started.status));
    return result(noAssociation);
}
