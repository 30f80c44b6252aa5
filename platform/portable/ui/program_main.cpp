// The terminal program's entry: settles where the registry store lives,
// runs WinMain with the terminal front end and explains a registry store
// problem once the terminal is restored. What it says on standard error
// passes the same filter as the screen: a store's key names or TERM itself
// may hold escape sequences.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "platform/portable/registry/store_location.h"
#include "platform/portable/registry/store_problem.h"
#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/ncurses_front_end.h"
#include "platform/portable/user.h"

namespace {

void say(const std::string &text) { std::fprintf(stderr, "%s\n", corvant::ui::shownText(text).c_str()); }

}  // namespace

int main() {
    if (!settleRegistryStorePath()) {
        say(registryStoreProblem());
        return 1;
    }
    if (!corvant::ui::startTerminalFrontEnd()) {
        if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
            const char *type = std::getenv("TERM");
            say(std::string("Corvant cannot drive this terminal (TERM=") + (type ? type : "") +
                "): set TERM to its type.");
        } else {
            say("Corvant needs a terminal: run it from an interactive terminal window.");
        }
        return 1;
    }
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    corvant::ui::stopTerminalFrontEnd();
    const char *problem = registryStoreProblem();
    if (problem && *problem) say(problem);
    return result;
}
