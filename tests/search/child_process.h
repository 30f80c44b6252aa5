// Runs a piece of a test in a child process (native tests only), for work
// that needs other limits or privileges than the test runner's own.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace corvant::testing {

struct ChildResult {
    bool exitedNormally = false;  // false also when the child ran out of time
    std::string output;           // what work answered
};

// The child is killed if it takes longer than timeoutSeconds.
ChildResult runInChild(const std::function<std::string()> &work, unsigned timeoutSeconds = 120);

// The lines of a child's report.
std::vector<std::string> splitLines(const std::string &text);

}  // namespace corvant::testing
