// Starting a program the way the shell starts a browser: waited for only a
// moment, its input and output kept away from the terminal, and not left
// behind as a child of this process.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace corvant::shell {

// One program to try: the file to run and its argument vector (argv[0]
// first).
struct ProgramToStart {
    std::string path;
    std::vector<std::string> arguments;
};

// What became of the program started, within the time it was waited for.
struct StartOutcome {
    int index = -1;      // the program started, or -1 (errno then says why)
    bool ended = false;  // it ended within the wait
    int status = 0;      // then its wait status (see waitpid)
    // Ended within the wait, with a status other than 0 or by a signal.
    bool failed() const;
};

// Starts the first of the programs that can be run and waits for it at most
// `wait`: a program that ends within it (an opener with nothing to open the
// address with, say) is told apart from one that keeps running (a browser),
// which is never waited for longer.
//
// The program runs as a grandchild: an intermediate child starts it with
// posix_spawn, waits for it the bounded time and exits, so a program still
// running is handed to init (or the nearest subreaper), and the only child
// this process waits for is the intermediate one. Reaping the program later
// instead would take a SIGCHLD handler or a thread, and either would also
// take the exit statuses of every other child of the process. The program
// gets /dev/null as standard input, output and error, no other open
// descriptor, default signal handling, an empty signal mask and a session of
// its own, so that it never reads or draws on the terminal and outlives it.
StartOutcome startDetached(const std::vector<ProgramToStart> &programs, std::chrono::milliseconds wait);

}  // namespace corvant::shell
