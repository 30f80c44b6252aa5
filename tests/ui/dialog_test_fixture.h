// Runs the program's dialogs on scripted keys, with a registry of the test's
// own. Native only: the dialogs are those of the terminal dialog layer.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/portable/ui/scripted_front_end.h"
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Queues the keys and runs the program from its entry to its end. The
    // keys must end the program themselves: running out of keys fails.
    void runProgram(const std::string &keys);

    // Keys that pick this file in a file-open dialog opened on an empty path.
    static std::string chooseFile(const std::string &path);

    // Creates an (empty) file, and the folders on its way, below the scratch folder.
    std::string makeFile(const std::string &relativePath) const;

    // True when none of the program's keys exists in the registry.
    static bool registryUntouched();

    RegistrySandbox sandbox;
};

}  // namespace corvant::testing
