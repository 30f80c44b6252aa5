#include "assoc/apply.h"

#include <cstring>

#include "assoc/browser_registration.h"
#include "assoc/browser_settings.h"
#include "assoc/class_key_chain.h"
#include "assoc/composed_values.h"
#include "assoc/machine_classes.h"
#include "assoc/main_window.h"
#include "assoc/planned_keys.h"
#include "assoc/registry_text.h"

namespace {

const char errorTitle[] = "Corvant Error";
const char unusablePath[] =
    "The browser's path cannot be used: it does not name a file, or it holds letters that the system's code page "
    "cannot show. Move the browser or choose another copy.";

bool refuse(const char *reason) {
    MessageBoxA(mainDialogWindow, reason, errorTitle, MB_ICONERROR);
    return false;
}

// Points .html or .htm at the htmlfile class. Closed without a flush; the
// class key written next is flushed.
bool writeExtensionKey(const char *extension) {
    HKEY key = nullptr;
    if (createMachineKey(machineClassPath(extension), key) != ERROR_SUCCESS) return reportRegistryError();
    const bool written = setStringValue(key, "", "htmlfile") && setStringValue(key, "Content Type", "text/html");
    RegCloseKey(key);
    return written || reportRegistryError();
}

struct ComposedValues {
    char command[composedValueSize];
    char icon[composedValueSize];
};

bool writeClass(const char *className, const char *description, const ComposedValues &values) {
    ClassKeyChain chain(className);
    if (!chain.isOpened()) return reportRegistryError();
    chain.setDescription(description);
    chain.setDefaultIcon(values.icon);
    chain.createShellOpen();
    chain.setCommand(values.command);
    // Of the browsers offered, only Netscape and Internet Explorer serve DDE.
    if (browserSettings.browserIsOther) {
        chain.removeDdeExec();
    } else {
        chain.setDdeExec(browserSettings.browserIsNetscape);
    }
    chain.release();
    return chain.completelyWritten() || reportRegistryError();
}

struct ClassToWrite {
    const char *name;
    bool BrowserSettings::*selectedBy;
    const char *description;
};

// In the order in which they are written.
const ClassToWrite classesToWrite[] = {
    {"htmlfile", &BrowserSettings::registerHtmlFile, "HyperText Document"},
    {"http", &BrowserSettings::registerHttp, "URL:HyperText Transfer Protocol"},
    {"https", &BrowserSettings::registerHttps, "URL:HyperText Transfer Protocol with Privacy"},
    {"ftp", &BrowserSettings::registerFtp, "URL:File Transfer Protocol"},
    {"gopher", &BrowserSettings::registerGopher, "URL:Gopher Protocol"},
};

}  // namespace

KeyPlan plannedKeys(const BrowserSettings &settings) {
    KeyPlan plan;
    if (settings.registerHtmlFile) {
        planExtensionKeys(plan, ".html");
        planExtensionKeys(plan, ".htm");
    }
    for (const ClassToWrite &written : classesToWrite)
        if (settings.*written.selectedBy) planClassKeys(plan, written.name, !settings.browserIsOther);
    // The registration, written after the classes whenever any is.
    if (!plan.empty())
        for (const char *key : registrationKeys) plan.push_back({key});
    return plan;
}

bool reportRegistryError() { return refuse("Error opening/modifying registry."); }

bool applyAssociations() {
    const BrowserSettings &settings = browserSettings;
    // With every name cleared there is nothing to write, so no path is needed.
    if (!settings.registerHtmlFile && !settings.registerHttp && !settings.registerHttps && !settings.registerFtp &&
        !settings.registerGopher)
        return true;

    const std::size_t pathLength = strnlen(settings.browserPath, sizeof settings.browserPath);
    if (pathLength == 0) return refuse("No browser executable has been chosen.");

    ComposedValues values;
    if (pathLength == sizeof settings.browserPath || !composeCommandValue(settings.browserPath, values.command) ||
        !composeIconValue(settings.browserPath, values.icon))
        return refuse("The browser path is too long.");
    // A name the ANSI code page cannot hold comes back from the file dialog
    // with question marks in its place, which names no file.
    const DWORD attributes = GetFileAttributesA(settings.browserPath);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return refuse(unusablePath);

    // All or nothing: a key that cannot be written stops the apply before
    // its first write.
    if (!everyPlannedKeyWritable(plannedKeys(settings))) return reportRegistryError();

    if (settings.registerHtmlFile && (!writeExtensionKey(".html") || !writeExtensionKey(".htm"))) return false;
    for (const ClassToWrite &written : classesToWrite)
        if (settings.*written.selectedBy && !writeClass(written.name, written.description, values)) return false;
    // What Windows' own settings offer, from the classes as they now are.
    return writeBrowserRegistration(values.icon) || reportRegistryError();
}
