#include "assoc/class_key_chain.h"

#include "assoc/machine_classes.h"
#include "assoc/registry_text.h"
#include "assoc/stale_entries.h"

ClassKeyChain::ClassKeyChain(const char *className) { open(className); }

ClassKeyChain::~ClassKeyChain() { release(); }

void ClassKeyChain::open(const char *className) {
    opened = createMachineKey(machineClassPath(className), classKey) == ERROR_SUCCESS;
}

void ClassKeyChain::setDescription(const char *text) {
    setString(classKey, "", text);
    setNumber(classKey, "EditFlags", 2);
    setString(classKey, "URL Protocol", "");
}

void ClassKeyChain::setDefaultIcon(const char *iconValue) {
    createKey(classKey, "DefaultIcon", defaultIconKey);
    setString(defaultIconKey, "", iconValue);
}

// The shell key's default names the verb a double click uses (Internet
// Explorer 7 and later leave "opennew" there), and LegacyDisable hides a
// verb. Other verbs are left to whoever wrote them.
void ClassKeyChain::createShellOpen() {
    createKey(classKey, "shell", shellKey);
    setString(shellKey, "", "open");
    createKey(shellKey, "open", openKey);
    if (openKey) noteRemoval(removeValue(openKey, "LegacyDisable"));
}

void ClassKeyChain::setCommand(const char *commandValue) {
    createKey(openKey, "command", commandKey);
    setString(commandKey, "", commandValue);
    if (commandKey) noteRemoval(removeValue(commandKey, "DelegateExecute"));
}

void ClassKeyChain::setDdeExec(bool netscapeStyle) {
    createKey(openKey, "ddeexec", ddeExecKey);
    setString(ddeExecKey, "", "%1");
    if (ddeExecKey) noteRemoval(removeKeyTree(ddeExecKey, "ifexec"));
    createKey(ddeExecKey, "Application", applicationKey);
    setString(applicationKey, "", netscapeStyle ? "NSShell" : "IExplore");
    createKey(ddeExecKey, "Topic", topicKey);
    setString(topicKey, "", "WWW_OpenURL");
}

void ClassKeyChain::removeDdeExec() {
    if (openKey) noteRemoval(removeKeyTree(openKey, "ddeexec"));
}

void ClassKeyChain::release() {
    close(topicKey);
    close(applicationKey);
    close(ddeExecKey);
    close(commandKey);
    close(openKey);
    close(shellKey);
    close(defaultIconKey);
    if (classKey) {
        if (RegFlushKey(classKey) != ERROR_SUCCESS) everyStepSucceeded = false;
        close(classKey);
    }
}

// A key whose parent could not be opened is not created, and neither is
// anything below it.
void ClassKeyChain::createKey(HKEY parent, const char *name, HKEY &key) {
    if (parent && createMachineSubkey(parent, name, key) == ERROR_SUCCESS) return;
    key = nullptr;
    everyStepSucceeded = false;
}

void ClassKeyChain::setString(HKEY key, const char *valueName, const char *text) {
    if (!key || !setStringValue(key, valueName, text)) everyStepSucceeded = false;
}

void ClassKeyChain::setNumber(HKEY key, const char *valueName, DWORD number) {
    if (!key || !setDwordValue(key, valueName, number)) everyStepSucceeded = false;
}

void ClassKeyChain::noteRemoval(bool removed) {
    if (!removed) everyStepSucceeded = false;
}

void ClassKeyChain::close(HKEY &key) {
    if (!key) return;
    RegCloseKey(key);
    key = nullptr;
}
