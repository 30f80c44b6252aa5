#include "tests/ui/shell_request_stand_in.h"

#include <deque>

#include "ui/shell_request.h"

namespace corvant::testing {
namespace {
std::deque<bool> answers;
std::vector<ShellRequest> requests;
}  // namespace

void queueShellAnswers(const std::vector<bool> &queued) { answers.assign(queued.begin(), queued.end()); }

std::vector<ShellRequest> takeShellRequests() {
    std::vector<ShellRequest> taken;
    taken.swap(requests);
    return taken;
}

}  // namespace corvant::testing

using namespace corvant::testing;

bool openForUser(HWND owner, const char *file, const char *parameters) {
    requests.push_back({file, parameters ? parameters : ""});
    if (answers.empty())
        return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", file, parameters, nullptr, SW_SHOWNORMAL)) > 32;
    const bool answer = answers.front();
    answers.pop_front();
    return answer;
}

const char *controlPanelProgram() { return "control.exe"; }
