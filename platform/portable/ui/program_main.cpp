// The terminal program's entry: runs WinMain with the terminal front end and
// explains a registry store problem once the terminal is restored.
#include <cstdio>
#include <cstdlib>
#include <unistd.h>

#include "platform/portable/registry/store_problem.h"
#include "platform/portable/ui/ncurses_front_end.h"
#include "platform/portable/user.h"

int main() {
    if (!corvant::ui::startTerminalFrontEnd()) {
        if (isatty(STDIN_FILENO) && isatty(STDOUT_FILENO)) {
            const char *type = std::getenv("TERM");
            std::fprintf(stderr, "Corvant cannot drive this terminal (TERM=%s): set TERM to its type.\n",
                         type ? type : "");
        } else {
            std::fprintf(stderr, "Corvant needs a terminal: run it from an interactive terminal window.\n");
        }
        return 1;
    }
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    corvant::ui::stopTerminalFrontEnd();
    const char *problem = registryStoreProblem();
    if (problem && *problem) std::fprintf(stderr, "%s\n", problem);
    return result;
}
