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

// The keys below HKEY_LOCAL_MACHINE that the registration writes, parents
// before their subkeys. Opened in the machine's view (machineView, the 64-bit
// one), which 64-bit Settings and Explorer read: Software\RegisteredApplications
// is shared between the views, but a 32-bit program's Software\Corvant would
// otherwise go to Software\Wow6432Node.
extern const char *const registrationKeys[4];

// Writes the registration of what browserSettings selects for the browser
// at its browserPath, with iconValue as written to the classes' DefaultIcon.
// A name not selected is removed from it. False when any of it could not be
// written.
bool writeBrowserRegistration(const char *iconValue);
