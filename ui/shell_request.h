// Requests to the shell to open an address, a page of the system's settings
// or a program, made for the user rather than for Corvant.
#pragma once

#include "platform/win32.h"

// Asks the shell to open file, with parameters (nullptr for none), so that
// what it starts runs with the user's own rights, not with administrator
// rights that Corvant may hold. True when the shell took the request.
bool openForUser(HWND owner, const char *file, const char *parameters);

// As openForUser, but never with administrator rights: false where only
// they could start it (Corvant elevated, and no desktop shell to take the
// request).
bool openOnlyForUser(HWND owner, const char *file, const char *parameters);

// True while Corvant's own process has the user's own rights: it is not
// elevated (Windows XP has no elevation).
bool runsWithUsersRights();

// Shows Default Programs' page for the application registered as
// registeredName under Software\RegisteredApplications (Vista to 8.1), where
// the user makes it the default for the types it declares. Control Panel is
// started from Corvant's own process, with its rights. True when shown.
bool openAssociationPage(HWND owner, const char *registeredName);

// The program of Control Panel, by a path that no folder the user can write
// to comes before.
const char *controlPanelProgram();
