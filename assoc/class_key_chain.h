// Writes one registered class below HKEY_LOCAL_MACHINE\Software\Classes,
// machine-wide (htmlfile or a URL protocol): its description, icon, open command and the DDE conversation the
// shell holds with a running browser. The object owns every key it opens,
// from creation (which opens the class key) to destruction (which releases
// them all, flushing the class key).
#pragma once

#include "platform/win32.h"

class ClassKeyChain {
public:
    explicit ClassKeyChain(const char *className);
    ~ClassKeyChain();
    ClassKeyChain(const ClassKeyChain &) = delete;
    ClassKeyChain &operator=(const ClassKeyChain &) = delete;

    bool isOpened() const { return opened; }
    // Whether every key and value so far, and the flush of the class key,
    // succeeded. The individual steps go on after a failure all the same.
    bool completelyWritten() const { return opened && everyStepSucceeded; }

    void setDescription(const char *text);
    void setDefaultIcon(const char *iconValue);
    // Makes open the class's default verb and unhides it.
    void createShellOpen();
    // Also removes a DelegateExecute handler there, which Windows would run
    // instead of the command.
    void setCommand(const char *commandValue);
    // Also removes the ifexec key there, the older registration's command
    // for a browser that is not running.
    void setDdeExec(bool netscapeStyle);
    // For a browser that serves no DDE: the shell is to start it with the
    // command alone, so the open verb keeps no ddeexec key.
    void removeDdeExec();
    void release();

private:
    void open(const char *className);
    void createKey(HKEY parent, const char *name, HKEY &key);
    void setString(HKEY key, const char *valueName, const char *text);
    void setNumber(HKEY key, const char *valueName, DWORD number);
    void close(HKEY &key);
    void noteRemoval(bool removed);

    bool opened = false;
    HKEY classKey = nullptr;
    HKEY defaultIconKey = nullptr;
    HKEY shellKey = nullptr;
    HKEY openKey = nullptr;
    HKEY commandKey = nullptr;
    HKEY ddeExecKey = nullptr;
    HKEY applicationKey = nullptr;
    HKEY topicKey = nullptr;
    bool everyStepSucceeded = true;
};
