// ShellExecuteA starts the URL opener directly, without waiting for it.
#include <gtest/gtest.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "platform/portable/ui/scripted_front_end.h"
#include "platform/win32.h"

namespace corvant::testing {
namespace {

class ShellRequest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvant-opener-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        opener = folder + "/opener";
        output = folder + "/arguments";
        // Writes its argument count and arguments, then the marker file that says it is done.
        std::ofstream(opener) << "#!/bin/sh\n"
                              << "printf '%s\\n' \"$#\" \"$@\" > '" << output << ".tmp'\n"
                              << "echo noise\n"
                              << "mv '" << output << ".tmp' '" << output << "'\n";
        chmod(opener.c_str(), 0700);
        setUrlOpener(opener);
    }
    void TearDown() override {
        setUrlOpener("");
        std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }

    // The opener runs on its own; give it a bounded time to finish.
    std::string waitForOutput() {
        for (int i = 0; i < 500; ++i) {
            std::ifstream in(output);
            if (in) {
                std::stringstream content;
                content << in.rdbuf();
                return content.str();
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return "<opener never ran>";
    }

    std::string folder, opener, output;
};

TEST_F(ShellRequest, PassesTheAddressAsOneArgumentWithoutAShell) {
    const char *address = "http://example.com/a b;touch injected $(id)";
    HINSTANCE result = ShellExecuteA(nullptr, "open", address, nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<intptr_t>(result), 32);
    EXPECT_EQ(waitForOutput(), std::string("1\n") + address + "\n");
    EXPECT_NE(access((folder + "/injected").c_str(), F_OK), 0);
    EXPECT_NE(access("injected", F_OK), 0);
}

TEST_F(ShellRequest, LeavesNoChildToReap) {
    ShellExecuteA(nullptr, "open", "http://example.com/", nullptr, nullptr, SW_SHOWNORMAL);
    waitForOutput();
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);
}

TEST_F(ShellRequest, ReportsFailureAtOrBelow32) {
    setUrlOpener(folder + "/no-such-opener");
    EXPECT_LE(reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", "http://example.com/", nullptr, nullptr,
                                                       SW_SHOWNORMAL)),
              32);
    setUrlOpener(opener);
    EXPECT_LE(reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", nullptr, nullptr, nullptr, SW_SHOWNORMAL)),
              32);
    // An address that the opener would take for an option is not passed on.
    EXPECT_LE(reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, "open", "--help", nullptr, nullptr, SW_SHOWNORMAL)),
              32);
    EXPECT_NE(access(output.c_str(), F_OK), 0) << "the opener was started";
}

}  // namespace
}  // namespace corvant::testing
