#include "platform/portable/ui/command_line.h"

namespace corvant::shell {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

std::vector<ProgramCandidate> programCandidates(const std::string &command) {
    std::vector<ProgramCandidate> candidates;
    size_t start = 0;
    while (start < command.size() && isBlank(command[start])) ++start;
    if (start == command.size()) return candidates;
    if (command[start] == '"') {
        const size_t close = command.find('"', start + 1);
        if (close == std::string::npos) {
            candidates.push_back({command.substr(start + 1), command.size()});
        } else {
            candidates.push_back({command.substr(start + 1, close - start - 1), close + 1});
        }
        return candidates;
    }
    for (size_t end = start; end <= command.size(); ++end) {
        if (end == command.size() || isBlank(command[end])) {
            // A run of blanks gives one candidate, not one per blank.
            if (end > start && !isBlank(command[end - 1])) {
                candidates.push_back({command.substr(start, end - start), end});
            }
        }
    }
    return candidates;
}

std::vector<std::string> commandArguments(const std::string &text, const std::string &address) {
    std::vector<std::string> arguments;
    std::string current;
    bool inArgument = false;  // something, if only a pair of quotes, has started an argument
    bool quoted = false;
    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (isBlank(c) && !quoted) {
            if (inArgument) arguments.push_back(current);
            current.clear();
            inArgument = false;
            ++i;
            continue;
        }
        if (c == '%' && i + 1 < text.size() && (text[i + 1] == '*' || (text[i + 1] >= '2' && text[i + 1] <= '9'))) {
            // There are no parameters: the placeholder stands for nothing,
            // and on its own it makes no argument.
            i += 2;
            continue;
        }
        inArgument = true;
        if (c == '\\') {
            size_t backslashes = 0;
            while (i < text.size() && text[i] == '\\') {
                ++backslashes;
                ++i;
            }
            if (i < text.size() && text[i] == '"') {
                current.append(backslashes / 2, '\\');
                if (backslashes % 2 == 1) {
                    current += '"';
                    ++i;
                }
                // With an even count the quote is read as a quote on the next turn.
            } else {
                current.append(backslashes, '\\');
            }
            continue;
        }
        if (c == '"') {
            if (quoted && i + 1 < text.size() && text[i + 1] == '"') {
                current += '"';
                i += 2;
            } else {
                quoted = !quoted;
                ++i;
            }
            continue;
        }
        if (c == '%' && i + 1 < text.size()) {
            const char code = text[i + 1];
            if (code == '1' || code == 'L' || code == 'l') {
                current += address;
                i += 2;
                continue;
            }
            if (code == '%') {
                current += '%';
                i += 2;
                continue;
            }
        }
        current += c;
        ++i;
    }
    if (inArgument) arguments.push_back(current);
    return arguments;
}

}  // namespace corvant::shell
