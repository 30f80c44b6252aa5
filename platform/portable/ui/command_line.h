// Reading an open command ("C:\Browser\B.EXE" "%1") the way Windows reads a
// command line, with the address to open filled in.
#pragma once

#include <string>
#include <vector>

namespace corvant::shell {

// One way to read the program at the start of a command, and where the
// arguments that follow it begin.
struct ProgramCandidate {
    std::string program;
    size_t argumentsStart;
};

// The program of a command: the text inside the quotes when it starts with
// one, otherwise the text up to the first blank. As Windows' CreateProcess
// does for an unquoted path, each longer run up to the next blank, and
// finally the whole command, follow as further candidates, to be tried in
// order ("/opt/My Browser/b %1": "/opt/My", then "/opt/My Browser/b").
std::vector<ProgramCandidate> programCandidates(const std::string &command);

// The arguments that follow the program, split as the C runtime splits a
// Windows command line (blanks between arguments, quotes around blanks,
// backslashes escaping quotes). "%1" and "%L" stand for the address, which
// is put into its argument as it is, never split or unquoted; "%%" is one
// "%"; "%*" and "%2" to "%9" stand for parameters, of which there are none.
std::vector<std::string> commandArguments(const std::string &text, const std::string &address);

}  // namespace corvant::shell
