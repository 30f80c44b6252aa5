// Records what the program asks the shell to open, in both builds: natively
// through a stand-in for the desktop's opener, under Wine through a scratch
// handler for the ms-settings protocol. Each address is one line of a log in
// the test's scratch folder.
#pragma once

#include <string>
#include <vector>

namespace corvant::testing {

class ShellRequests {
public:
    explicit ShellRequests(const std::string &folder);
    ~ShellRequests();
    ShellRequests(const ShellRequests &) = delete;
    ShellRequests &operator=(const ShellRequests &) = delete;

    // False when the recording could not be set up (the test should stop).
    bool ready() const { return ready_; }

    // The addresses received so far, in order, once `address` is among them
    // or a generous while has passed: the handler runs on its own.
    std::vector<std::string> waitUntilRecorded(const std::string &address) const;

private:
    std::string log_;
    bool ready_ = false;
    bool registered_ = false;  // a handler key of the test's own exists
};

// Shared by both builds: the complete lines of the log.
std::vector<std::string> readRequestLog(const std::string &log);

}  // namespace corvant::testing
