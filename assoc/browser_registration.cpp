#include "assoc/browser_registration.h"

#include "assoc/browser_settings.h"
#include "assoc/machine_classes.h"
#include "assoc/registry_text.h"
#include "assoc/stale_entries.h"
#include "assoc/version_resource_name.h"
#include "platform/win32.h"

const char registeredApplicationName[] = "Corvant";

const char *const registrationKeys[4] = {
    "Software\\Corvant\\Capabilities", "Software\\Corvant\\Capabilities\\URLAssociations",
    "Software\\Corvant\\Capabilities\\FileAssociations", "Software\\RegisteredApplications"};

namespace {

const char description[] = "The web browser that Corvant made the default for web pages and links.";

bool endsWithExe(const std::string &text) {
    if (text.size() <= 4) return false;
    const char *end = text.c_str() + text.size() - 4;
    const char *exe = ".exe";
    for (int i = 0; i < 4; ++i) {
        char letter = end[i];
        if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
        if (letter != exe[i]) return false;
    }
    return true;
}

// The last part of a Windows or POSIX path, without a final ".exe".
std::string fileNameWithoutExe(const char *browserPath) {
    const char *name = browserPath;
    for (const char *at = browserPath; *at; ++at)
        if (*at == '\\' || *at == '/') name = at + 1;
    std::string text(name);
    if (endsWithExe(text)) text.resize(text.size() - 4);
    return text;
}

// One key of the registration, open from creation to destruction.
class MachineKey {
public:
    explicit MachineKey(const char *path) { createMachineKey(path, key_); }
    ~MachineKey() {
        if (key_) RegCloseKey(key_);
    }
    MachineKey(const MachineKey &) = delete;
    MachineKey &operator=(const MachineKey &) = delete;

    bool opened() const { return key_ != nullptr; }
    bool set(const char *name, const char *text) { return key_ && setStringValue(key_, name, text); }
    // The value written when the name is selected, removed when it is not.
    bool setOrRemove(bool selected, const char *name, const char *text) {
        return key_ && (selected ? setStringValue(key_, name, text) : removeValue(key_, name));
    }
    bool flush() { return key_ && RegFlushKey(key_) == ERROR_SUCCESS; }

private:
    HKEY key_ = nullptr;
};

}  // namespace

std::string registeredBrowserName(const char *browserPath) {
    std::string name = versionResourceName(browserPath);
    if (name.empty()) name = fileNameWithoutExe(browserPath);
    return name + " (chosen with Corvant)";
}

bool writeBrowserRegistration(const char *iconValue) {
    const BrowserSettings &settings = browserSettings;
    {
        MachineKey capabilities(registrationKeys[0]);
        if (!capabilities.set("ApplicationName", registeredBrowserName(settings.browserPath).c_str()) ||
            !capabilities.set("ApplicationDescription", description) || !capabilities.set("ApplicationIcon", iconValue))
            return false;

        // Each protocol and extension names the class that was written for it.
        MachineKey urls(registrationKeys[1]);
        if (!urls.setOrRemove(settings.registerHttp, "http", "http") ||
            !urls.setOrRemove(settings.registerHttps, "https", "https") ||
            !urls.setOrRemove(settings.registerFtp, "ftp", "ftp") ||
            !urls.setOrRemove(settings.registerGopher, "gopher", "gopher"))
            return false;
        MachineKey files(registrationKeys[2]);
        if (!files.setOrRemove(settings.registerHtmlFile, ".html", "htmlfile") ||
            !files.setOrRemove(settings.registerHtmlFile, ".htm", "htmlfile"))
            return false;
        if (!capabilities.flush()) return false;
    }
    // Last, so that Windows finds the registration only once it is complete.
    MachineKey registered(registrationKeys[3]);
    return registered.set(registeredApplicationName, registrationKeys[0]) && registered.flush();
}
