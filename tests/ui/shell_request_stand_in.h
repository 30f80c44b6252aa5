// Stands in for the program's requests to the shell (ui/shell_request.h) in
// the tests of the box after an apply. Every request is recorded; while
// answers are queued, each request takes the next one instead of reaching
// the shell, otherwise openForUser goes to ShellExecuteA and the other
// requests are refused.
#pragma once

#include <string>
#include <vector>

namespace corvant::testing {

// How a request was made: openForUser, openOnlyForUser, or
// openAssociationPage (whose registered name is the file).
enum class Route { forUser, onlyForUser, associationPage };

struct ShellRequest {
    std::string file;
    std::string parameters;
    Route route = Route::forUser;
    bool operator==(const ShellRequest &other) const {
        return file == other.file && parameters == other.parameters && route == other.route;
    }
};

void queueShellAnswers(const std::vector<bool> &answers);
// What runsWithUsersRights answers (true until set).
void setRunsWithUsersRights(bool usersRights);
// The requests made since the last call.
std::vector<ShellRequest> takeShellRequests();

}  // namespace corvant::testing
