#include "ui/success_box.h"

#include <string>

#include "assoc/browser_registration.h"
#include "assoc/browser_settings.h"
#include "assoc/main_window.h"
#include "assoc/overriding_choices.h"
#include "ui/default_apps_request.h"

namespace {

const char submitted[] = "Changes submitted to registry.";
const char title[] = "Done";

// "http", "http and https", ".html, http and https".
std::string listOf(const char *const *names, std::size_t count) {
    std::string list;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) list += i + 1 == count ? " and " : ", ";
        list += names[i];
    }
    return list;
}

std::string listOf(const OverridingChoices &choices) { return listOf(choices.names, choices.count); }

// The name under which the settings list the browser. Plain quotes: the
// box's text is in the ANSI code page, and only some code pages have
// typographic ones (in others those bytes are other letters, or the first
// byte of a character of two).
std::string whatToChooseThere(const OverridingChoices &choices) {
    return " There, choose \"" + registeredBrowserName(browserSettings.browserPath) + "\"" +
           (choices.count == 1 ? " for it." : " for them.");
}

std::string overrideReport(const OverridingChoices &choices) {
    // Worded for every Windows with per-user choices: Default apps in
    // Settings from Windows 10 on, Default Programs in Control Panel before.
    return std::string(submitted) + "\n\nWindows opens " + listOf(choices) +
           (choices.count == 1 ? " with the app" : " with the apps") +
           " chosen in its own default app settings, which come before these changes. Open those settings now?" +
           whatToChooseThere(choices);
}

// Where the account's own class keys come first, alone or with per-user
// choices. Settings neither shows nor removes those keys, so the box says
// where they are, and offers the settings only for the choices.
void showUserClassKeysBox(const OverridingChoices &choices, const OverridingNames &classKeys) {
    const OverridingNames both = namesOfBoth(choices, classKeys);
    const std::string names = listOf(both.names, both.count);
    const char *const where = "HKEY_CURRENT_USER\\Software\\Classes";
    if (choices.count == 0) {
        const std::string report = std::string(submitted) + "\n\nFor your account, Windows opens " + names +
                                   " with its own class keys under " + where +
                                   ", which come before these changes. Corvant leaves them alone; remove them with "
                                   "regedit or reg delete for these changes to apply to your account.";
        MessageBoxA(mainDialogWindow, report.c_str(), title, MB_OK | MB_ICONINFORMATION);
        return;
    }
    const std::string report = std::string(submitted) + "\n\nFor your account, Windows opens " + names +
                               " as its own settings say, which come before these changes: the apps chosen in its "
                               "default app settings, and class keys under " +
                               where +
                               ", which those settings do not remove (regedit or reg delete does). Open the default "
                               "app settings now?" +
                               whatToChooseThere(choices);
    if (MessageBoxA(mainDialogWindow, report.c_str(), title, MB_YESNO | MB_ICONINFORMATION) == IDYES)
        openDefaultAppsPage(mainDialogWindow);
}

}  // namespace

void showSuccessBox() {
    const OverridingChoices overriding = findOverridingChoices(browserSettings);
    const OverridingNames classKeys = findUserClassKeys(browserSettings);
    if (classKeys.count > 0) {
        showUserClassKeysBox(overriding, classKeys);
        return;
    }
    if (overriding.count == 0) {
        MessageBoxA(mainDialogWindow, submitted, title, MB_OK);
        return;
    }
    // Written, but not what Windows uses: say so, and offer the page where
    // the user can change it.
    const std::string report = overrideReport(overriding);
    if (MessageBoxA(mainDialogWindow, report.c_str(), title, MB_YESNO | MB_ICONINFORMATION) == IDYES)
        openDefaultAppsPage(mainDialogWindow);
}
