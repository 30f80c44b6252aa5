// Gives a test a registry of its own for the keys the program writes, and a
// scratch folder. Natively the registry is a fresh store file in that folder;
// on Windows (Wine's scratch prefix) the program's keys are deleted before and
// after the test.
#pragma once

#include <string>

namespace corvant::testing {

class RegistrySandbox {
public:
    RegistrySandbox();
    ~RegistrySandbox();
    RegistrySandbox(const RegistrySandbox &) = delete;
    RegistrySandbox &operator=(const RegistrySandbox &) = delete;

    const std::string &folder() const { return folder_; }

private:
    std::string folder_;
};

// The keys below HKEY_CLASSES_ROOT that the program writes.
extern const char *const programKeys[7];

// Provided separately for each platform.
void isolateRegistry(const std::string &folder);
void releaseRegistry();

}  // namespace corvant::testing
