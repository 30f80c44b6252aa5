// The chosen browser's registration with Default Programs, which Windows'
// own settings (Default apps from Windows 10 on, Default Programs in Control
// Panel on Vista to 8.1) offer for the protocols and extensions it declares.
#pragma once

#include <string>

// The name of its value under HKEY_LOCAL_MACHINE\Software\RegisteredApplications.
extern const char registeredApplicationName[];

// The name the settings show for the browser at browserPath: its own name,
// marked so that the user can tell it from the browser's own registration.
std::string registeredBrowserName(const char *browserPath);
