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
std::string listOf(const OverridingChoices &choices) {
    std::string list;
    for (std::size_t i = 0; i < choices.count; ++i) {
        if (i > 0) list += i + 1 == choices.count ? " and " : ", ";
        list += choices.names[i];
    }
    return list;
}

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

}  // namespace

void showSuccessBox() {
    const OverridingChoices overriding = findOverridingChoices(browserSettings);
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
