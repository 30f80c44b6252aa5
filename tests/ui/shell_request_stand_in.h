// Stands in for the program's requests to the shell (ui/shell_request.h) in
// the tests of the box after an apply. Every request is recorded; while
// answers are queued, each request takes the next one instead of reaching
// the shell, otherwise it goes to ShellExecuteA.
#pragma once

#include <string>
#include <vector>

namespace corvant::testing {

struct ShellRequest {
    std::string file;
    std::string parameters;
    bool operator==(const ShellRequest &other) const { return file == other.file && parameters == other.parameters; }
};

void queueShellAnswers(const std::vector<bool> &answers);
// The requests made since the last call.
std::vector<ShellRequest> takeShellRequests();

}  // namespace corvant::testing
