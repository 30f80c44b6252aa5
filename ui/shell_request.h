// Requests to the shell to open an address, a page of the system's settings
// or a program, made for the user rather than for Corvant.
#pragma once

#include "platform/win32.h"

// Asks the shell to open file, with parameters (nullptr for none), so that
// what it starts runs with the user's own rights, not with administrator
// rights that Corvant may hold. True when the shell took the request.
bool openForUser(HWND owner, const char *file, const char *parameters);

// The program of Control Panel, by a path that no folder the user can write
// to comes before.
const char *controlPanelProgram();
