// Starting a program the way the shell starts a browser: not waited for,
// its input and output kept away from the terminal, and not left behind as
// a child of this process.
#pragma once

#include <string>
#include <vector>

namespace corvant::shell {

// One program to try: the file to run and its argument vector (argv[0]
// first).
struct ProgramToStart {
    std::string path;
    std::vector<std::string> arguments;
};

// Starts the first of the programs that can be run. Answers its index, or
// -1 with errno set to why the last one could not be started.
//
// The program runs as a grandchild: an intermediate child starts it with
// posix_spawn and exits at once, so the program is handed to init (or the
// nearest subreaper), and the only child this process waits for is the
// intermediate one, which lives no longer than the spawn itself. Reaping
// the program later instead would take a SIGCHLD handler or a thread, and
// either would also take the exit statuses of every other child of the
// process. The program gets /dev/null as standard input, output and error,
// no other open descriptor, default signal handling, an empty signal mask
// and a session of its own, so that it never reads or draws on the terminal
// and outlives it.
int startDetached(const std::vector<ProgramToStart> &programs);

}  // namespace corvant::shell
