#include "ui/default_apps_request.h"

#include "assoc/browser_registration.h"
#include "ui/shell_request.h"
#include "ui/uri_component.h"

namespace {

const char defaultProgramsPage[] = "/name Microsoft.DefaultPrograms /page pageDefaultProgram";

bool openDefaultProgramsPage(HWND owner) { return openForUser(owner, controlPanelProgram(), defaultProgramsPage); }

// Only Corvant's own process can show the registration's own page
// (Microsoft documents no Control Panel page that names one program), so
// the Control Panel it starts has Corvant's rights. While those are
// administrator rights, the page that lists every registered program comes
// first, started by the desktop's shell with the user's own rights: the
// choices made there are then the user's, not those of the account that
// elevated Corvant.
bool openOnDefaultPrograms(HWND owner) {
    if (runsWithUsersRights())
        return openAssociationPage(owner, registeredApplicationName) || openDefaultProgramsPage(owner);
    return openOnlyForUser(owner, controlPanelProgram(), defaultProgramsPage) ||
           openAssociationPage(owner, registeredApplicationName) || openDefaultProgramsPage(owner);
}

bool opened(HWND owner, DefaultAppsPlace place) {
    switch (place) {
    case DefaultAppsPlace::settings:
        return openForUser(owner, settingsPageAddress(registeredApplicationName).c_str(), nullptr) ||
               openDefaultProgramsPage(owner);
    case DefaultAppsPlace::defaultPrograms: return openOnDefaultPrograms(owner);
    case DefaultAppsPlace::unknown: break;
    }
    // Whichever of the two pages this Windows has.
    return openForUser(owner, "ms-settings:defaultapps", nullptr) || openDefaultProgramsPage(owner);
}

DefaultAppsPlace reportedPlace() {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version;
    if (!GetVersionExA(&version)) return DefaultAppsPlace::unknown;
    return defaultAppsPlaceFor(version.dwMajorVersion, version.dwMinorVersion);
}

}  // namespace

DefaultAppsPlace defaultAppsPlaceFor(DWORD majorVersion, DWORD minorVersion) {
    // Windows reports its true version only to a program whose manifest
    // names it; Corvant's names everything up to 11.
    if (majorVersion >= 10) return DefaultAppsPlace::settings;
    if (majorVersion == 6 && minorVersion <= 3) return DefaultAppsPlace::defaultPrograms;
    return DefaultAppsPlace::unknown;
}

std::string settingsPageAddress(const char *registeredName) {
    return "ms-settings:defaultapps?registeredAppMachine=" + escapedUriComponent(registeredName);
}

void openDefaultAppsPage(HWND owner) { openDefaultAppsPageAt(owner, reportedPlace()); }

void openDefaultAppsPageAt(HWND owner, DefaultAppsPlace place) {
    if (opened(owner, place)) return;
    MessageBoxA(owner,
                "Windows could not open its settings for default apps. Choose the browser there yourself: in Settings "
                "under Apps, Default apps, or in Control Panel under Default Programs.",
                "Corvant Error", MB_ICONERROR);
}
