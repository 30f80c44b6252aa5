#include <algorithm>
#include <chrono>
#include <fstream>
#include <sstream>
#include <thread>

#include "tests/ui/shell_requests.h"

namespace corvant::testing {

std::vector<std::string> readRequestLog(const std::string &log) {
    std::ifstream in(log, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    const std::string text = content.str();
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<std::string> ShellRequests::waitUntilRecorded(const std::string &address) const {
    std::vector<std::string> lines = readRequestLog(log_);
    for (int i = 0; i < 1000 && std::find(lines.begin(), lines.end(), address) == lines.end(); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lines = readRequestLog(log_);
    }
    return lines;
}

}  // namespace corvant::testing
