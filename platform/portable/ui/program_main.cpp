// The terminal program's entry: runs WinMain with the terminal front end and
// explains a registry store problem once the terminal is restored.
#include <cstdio>

#include "platform/portable/registry/store_problem.h"
#include "platform/portable/ui/ncurses_front_end.h"
#include "platform/portable/user.h"

int main() {
    if (!corvant::ui::startTerminalFrontEnd()) {
        std::fprintf(stderr, "Corvant needs a terminal: run it from an interactive terminal window.\n");
        return 1;
    }
    int result = WinMain(GetModuleHandleA(nullptr), nullptr, const_cast<LPSTR>(""), SW_SHOWNORMAL);
    corvant::ui::stopTerminalFrontEnd();
    const char *problem = registryStoreProblem();
    if (problem && *problem) std::fprintf(stderr, "%s\n", problem);
    return result;
}
