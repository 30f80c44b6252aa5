#include "assoc/overriding_choices.h"

#include <cstring>
#include <string>

#include "platform/win32.h"

namespace {

const char protocolChoices[] = "Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations";
const char extensionChoices[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

struct ChoosableName {
    const char *name;
    bool BrowserSettings::*selectedBy;
    const char *choices;
};

// In the order in which the apply writes them.
const ChoosableName choosableNames[choosableNameCount] = {
    {".html", &BrowserSettings::registerHtmlFile, extensionChoices},
    {".htm", &BrowserSettings::registerHtmlFile, extensionChoices},
    {"http", &BrowserSettings::registerHttp, protocolChoices},
    {"https", &BrowserSettings::registerHttps, protocolChoices},
    {"ftp", &BrowserSettings::registerFtp, protocolChoices},
    {"gopher", &BrowserSettings::registerGopher, protocolChoices},
};

struct WrittenClass {
    const char *name;
    bool BrowserSettings::*selectedBy;
};

const WrittenClass classes[] = {
    {"htmlfile", &BrowserSettings::registerHtmlFile}, {"http", &BrowserSettings::registerHttp},
    {"https", &BrowserSettings::registerHttps},       {"ftp", &BrowserSettings::registerFtp},
    {"gopher", &BrowserSettings::registerGopher},
};

bool sameClassName(const std::string &progId, const char *className) {
    if (progId.size() != std::strlen(className)) return false;
    for (std::size_t i = 0; i < progId.size(); ++i) {
        char letter = progId[i];
        if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
        if (letter != className[i]) return false;
    }
    return true;
}

// Every class an apply writes gets the same command, so a choice of any of
// them opens the chosen browser all the same.
bool isWrittenClass(const std::string &progId, const BrowserSettings &settings) {
    for (const WrittenClass &written : classes)
        if (settings.*written.selectedBy && sameClassName(progId, written.name)) return true;
    return false;
}

bool isText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ; }

// Reads a text value up to its first zero, whatever its length and whether or
// not it is terminated: any program may have put it there. False when it is
// missing, not text, or changed while it was read.
bool readText(HKEY key, const char *valueName, std::string &text) {
    DWORD type = REG_NONE;
    DWORD size = 0;
    if (RegQueryValueExA(key, valueName, nullptr, &type, nullptr, &size) != ERROR_SUCCESS || !isText(type))
        return false;
    std::string data(static_cast<std::size_t>(size) + 1, '\0');
    DWORD room = size;
    if (RegQueryValueExA(key, valueName, nullptr, &type, reinterpret_cast<BYTE *>(&data[0]), &room) != ERROR_SUCCESS ||
        !isText(type) || room > size)
        return false;
    text.assign(data.c_str(), strnlen(data.c_str(), room));
    return true;
}

// Whether the user's choice for the name hands it to something other than the
// classes just written.
bool choiceOverrides(const ChoosableName &entry, const BrowserSettings &settings) {
    const std::string keyPath = std::string(entry.choices) + "\\" + entry.name + "\\UserChoice";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) return false;
    std::string progId;
    const bool read = readText(key, "ProgId", progId);
    RegCloseKey(key);
    // An empty ProgId names no program.
    return read && !progId.empty() && !isWrittenClass(progId, settings);
}

}  // namespace

OverridingChoices findOverridingChoices(const BrowserSettings &settings) {
    OverridingChoices found;
    for (const ChoosableName &entry : choosableNames)
        if (settings.*entry.selectedBy && choiceOverrides(entry, settings)) found.names[found.count++] = entry.name;
    return found;
}

namespace {

const char userClasses[] = "Software\\Classes\\";

struct WrittenName {
    const char *name;
    bool BrowserSettings::*selectedBy;
};

// In the order in which the apply writes them.
const WrittenName writtenNames[writtenNameCount] = {
    {".html", &BrowserSettings::registerHtmlFile},    {".htm", &BrowserSettings::registerHtmlFile},
    {"htmlfile", &BrowserSettings::registerHtmlFile}, {"http", &BrowserSettings::registerHttp},
    {"https", &BrowserSettings::registerHttps},       {"ftp", &BrowserSettings::registerFtp},
    {"gopher", &BrowserSettings::registerGopher},
};

bool openUserKey(const std::string &path, HKEY &key) {
    return RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) == ERROR_SUCCESS;
}

// An extension's default value names the class that opens it.
bool extensionOverrides(const std::string &keyPath, const BrowserSettings &settings) {
    HKEY key = nullptr;
    if (!openUserKey(keyPath, key)) return false;
    std::string progId;
    const bool read = readText(key, "", progId);
    RegCloseKey(key);
    return read && !progId.empty() && !isWrittenClass(progId, settings);
}

bool hasValue(HKEY key, const char *valueName) {
    return RegQueryValueExA(key, valueName, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// The first verb that shell's default names; "" when it names none.
std::string defaultVerb(HKEY shell) {
    std::string verbs;
    if (!readText(shell, "", verbs)) return "";
    const std::string::size_type start = verbs.find_first_not_of(" ,");
    if (start == std::string::npos) return "";
    return verbs.substr(start, verbs.find_first_of(" ,", start) - start);
}

// A command (or a DelegateExecute handler) of the account's own, or another
// default verb, is what the shell runs for this account.
bool classOverrides(const std::string &keyPath) {
    HKEY key = nullptr;
    bool overrides = false;
    if (openUserKey(keyPath + "\\shell\\open\\command", key)) {
        overrides = hasValue(key, "") || hasValue(key, "DelegateExecute");
        RegCloseKey(key);
    }
    if (!overrides && openUserKey(keyPath + "\\shell", key)) {
        const std::string verb = defaultVerb(key);
        overrides = !verb.empty() && !sameClassName(verb, "open");
        RegCloseKey(key);
    }
    return overrides;
}

bool listed(const char *const *names, std::size_t count, const char *name) {
    for (std::size_t i = 0; i < count; ++i)
        if (std::strcmp(names[i], name) == 0) return true;
    return false;
}

}  // namespace

OverridingNames findUserClassKeys(const BrowserSettings &settings) {
    OverridingNames found;
    for (const WrittenName &entry : writtenNames) {
        if (!(settings.*entry.selectedBy)) continue;
        const std::string keyPath = std::string(userClasses) + entry.name;
        const bool overrides = entry.name[0] == '.' ? extensionOverrides(keyPath, settings) : classOverrides(keyPath);
        if (overrides) found.names[found.count++] = entry.name;
    }
    return found;
}

OverridingNames namesOfBoth(const OverridingChoices &choices, const OverridingNames &classKeys) {
    OverridingNames both;
    for (const WrittenName &entry : writtenNames)
        if (listed(choices.names, choices.count, entry.name) || listed(classKeys.names, classKeys.count, entry.name))
            both.names[both.count++] = entry.name;
    return both;
}
