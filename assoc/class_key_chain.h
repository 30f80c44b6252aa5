// Writes one registered class below HKEY_CLASSES_ROOT (htmlfile or a URL
// protocol): its description, icon, open command and the DDE conversation the
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
    void createShellOpen();
    void setCommand(const char *commandValue);
    void setDdeExec(bool netscapeStyle);
    void release();

private:
    void open(const char *className);
    void createKey(HKEY parent, const char *name, HKEY &key);
    void setString(HKEY key, const char *valueName, const char *text);
    void setNumber(HKEY key, const char *valueName, DWORD number);
    void close(HKEY &key);

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
