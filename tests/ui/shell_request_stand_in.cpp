#include "tests/ui/shell_request_stand_in.h"

#include <deque>

#include "ui/shell_request.h"

namespace corvant::testing {
namespace {
std::deque<bool> answers;
std::vector<ShellRequest> requests;
bool usersRights = true;

// The next queued answer; without one, the request is refused.
bool answer(const ShellRequest &request) {
    requests.push_back(request);
    if (answers.empty()) return false;
    const bool queued = answers.front();
    answers.pop_front();
    return queued;
}
}  // namespace

void setRunsWithUsersRights(bool own) { usersRights = own; }

void queueShellAnswers(const std::vector<bool> &queued) { answers.assign(queued.begin(), queued.end()); }

std::vector<ShellRequest> takeShellRequests() {
    std::vector<ShellRequest> taken;
    taken.swap(requests);
    return taken;
}

}  // namespace corvant::testing

using namespace corvant::testing;

// Without queued answers, the shell takes the request.
bool openForUser(HWND owner, const char *file, const char *parameters) {
    const ShellRequest request{file, parameters ? parameters : "", Route::forUser};
    if (!answers.empty()) return answer(request);
    requests.push_back(request);
    return reinterpret_cast<INT_PTR>(ShellExecuteA(owner, "open", file, parameters, nullptr, SW_SHOWNORMAL)) > 32;
}

bool openOnlyForUser(HWND, const char *file, const char *parameters) {
    return answer({file, parameters ? parameters : "", Route::onlyForUser});
}

bool runsWithUsersRights() { return usersRights; }

bool openAssociationPage(HWND, const char *registeredName) {
    return answer({registeredName, "", Route::associationPage});
}

const char *controlPanelProgram() { return "control.exe"; }
