// The portable layer runs everything with the user's own rights and has no
// Control Panel: the request goes to its ShellExecuteA as it is.
#include "ui/shell_request.h"

bool openForUser(HWND owner, const char *file, const char *parameters) {
    const HINSTANCE result = ShellExecuteA(owner, "open", file, parameters, nullptr, SW_SHOWNORMAL);
    return reinterpret_cast<INT_PTR>(result) > 32;
}

bool openOnlyForUser(HWND owner, const char *file, const char *parameters) {
    return openForUser(owner, file, parameters);
}

bool runsWithUsersRights() { return true; }

bool openAssociationPage(HWND, const char *) { return false; }

const char *controlPanelProgram() { return "control.exe"; }
