// ShellExecuteA in the terminal edition: what only the portable layer can
// show (the fallback to the desktop's opener, how the program is started).
// How the open command is read is checked in both builds in tests/shell.
#include <gtest/gtest.h>

#include <algorithm>
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
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {
namespace {

using Lines = std::vector<std::string>;

class ShellRequest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = sandbox_.folder();
        opener = makeRecorder("opener");
        setUrlOpener(opener);
    }
    void TearDown() override { setUrlOpener(""); }

    // A stand-in program at folder/relative that appends one line per start
    // to <program>.log: its arguments, separated by "|". It also writes
    // <program>.how: where its standard input, output and error lead, and
    // whether it leads a session of its own. `body` runs before it records.
    std::string makeRecorder(const std::string &relative, const std::string &body = "") {
        const std::string path = folder + "/" + relative;
        mkdir(path.substr(0, path.rfind('/')).c_str(), 0700);
        std::ofstream(path) << "#!/bin/sh\n"
                            << body << "\n"
                            << "log='" << path << ".log'\n"
                            << "line=''; for a in \"$@\"; do line=\"$line|$a\"; done\n"
                            << "echo noise; echo noise >&2\n"
                            << "for fd in 0 1 2; do echo \"$(readlink /proc/$$/fd/$fd)\" >> '" << path
                            << ".how'; done\n"
                            << "[ \"$(cut -d ' ' -f 6 /proc/$$/stat)\" = $$ ] && echo own-session >> '" << path
                            << ".how'\n"
                            << "printf '%s\\n' \"$#$line\" >> \"$log\"\n";
        chmod(path.c_str(), 0700);
        return path;
    }

    static void setString(const std::string &keyPath, const std::string &text) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static intptr_t open(const char *address, const char *verb = "open") {
        return reinterpret_cast<intptr_t>(ShellExecuteA(nullptr, verb, address, nullptr, nullptr, SW_SHOWNORMAL));
    }

    static std::string contentOf(const std::string &path) {
        std::ifstream in(path);
        std::stringstream content;
        content << in.rdbuf();
        return content.str();
    }

    // The lines a program has logged, once there are `count` of them; the
    // program runs on its own, so this waits a bounded time.
    static Lines logOf(const std::string &program, size_t count = 1) {
        Lines lines;
        for (int i = 0; i < 500; ++i) {
            lines.clear();
            std::istringstream in(contentOf(program + ".log"));
            for (std::string line; std::getline(in, line);) lines.push_back(line);
            if (lines.size() >= count) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return lines;
    }

    RegistrySandbox sandbox_;
    std::string folder, opener;
};

TEST_F(ShellRequest, AddressWithBlanksQuotesAndBackslashesReachesTheProgramAsOneArgument) {
    const std::string browser = makeRecorder("My Browser/browser");
    // %1 unquoted: on Windows such an address would be split; here it never is.
    setString("http\\shell\\open\\command", "\"" + browser + "\" %1");
    const std::string address = "http://example.com/a b\"c d\\\"e\\ 'f' $(touch injected);x";
    EXPECT_GT(open(address.c_str()), 32);
    EXPECT_EQ(logOf(browser), Lines{"1|" + address});
    EXPECT_NE(access((folder + "/injected").c_str(), F_OK), 0);
    EXPECT_NE(access("injected", F_OK), 0);
}

TEST_F(ShellRequest, TheProgramIsKeptAwayFromTheTerminalAndLeftToRunOnItsOwn) {
    const std::string release = folder + "/release";
    // Stays running until the test lets it go (or gives up after ten seconds).
    const std::string browser =
        makeRecorder("browser", "touch '" + folder +
                                    "/started'\n"
                                    "i=0; while [ ! -e '" +
                                    release + "' ] && [ $i -lt 200 ]; do sleep 0.05; i=$((i+1)); done");
    setString("http\\shell\\open\\command", browser + " \"%1\"");
    EXPECT_GT(open("http://example.com/"), 32);
    for (int i = 0; i < 500 && access((folder + "/started").c_str(), F_OK) != 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    // Started, not waited for, and not a child of this process.
    EXPECT_EQ(access((folder + "/started").c_str(), F_OK), 0);
    EXPECT_NE(access((browser + ".log").c_str(), F_OK), 0) << "ShellExecuteA waited for the program";
    errno = 0;
    EXPECT_EQ(waitpid(-1, nullptr, WNOHANG), -1);
    EXPECT_EQ(errno, ECHILD);

    std::ofstream(release) << "";
    EXPECT_EQ(logOf(browser), Lines{"1|http://example.com/"});
    EXPECT_EQ(contentOf(browser + ".how"), "/dev/null\n/dev/null\n/dev/null\nown-session\n");
}

TEST_F(ShellRequest, AProgramThatIsMissingOrCannotBeRunLeavesTheAddressToTheOpener) {
    const std::string notExecutable = makeRecorder("plain");
    chmod(notExecutable.c_str(), 0600);
    const std::string notAProgram = folder + "/garbage";
    std::ofstream(notAProgram) << "\x7f"
                                  "ELF garbage";
    chmod(notAProgram.c_str(), 0700);
    const std::string aFolder = folder + "/folder.exe";
    mkdir(aFolder.c_str(), 0700);

    const std::string commands[] = {"\"" + folder + "/missing/browser\" \"%1\"",
                                    "\"" + notExecutable + "\" \"%1\"",
                                    "\"" + notAProgram + "\" \"%1\"",
                                    "\"" + aFolder + "\" \"%1\"",
                                    "\"\" \"%1\"",
                                    "   "};
    size_t expected = 0;
    for (const std::string &command : commands) {
        setString("https\\shell\\open\\command", command);
        EXPECT_GT(open("https://example.com/"), 32) << command;
        EXPECT_EQ(logOf(opener, ++expected).size(), expected) << command;
    }
    EXPECT_EQ(logOf(opener, expected), Lines(expected, "1|https://example.com/"));
    EXPECT_NE(access((notExecutable + ".log").c_str(), F_OK), 0);
}

TEST_F(ShellRequest, AnAddressWithoutAClassOrCommandGoesToTheOpener) {
    const std::string page = folder + "/page.html";
    const std::string notes = folder + "/README";
    std::ofstream(page) << "<html></html>";
    std::ofstream(notes) << "text";
    setString(".html", "htmlfile");  // a class without shell\open\command
    setString("htmlfile", "HyperText Document");

    EXPECT_GT(open("http://example.com/"), 32);
    EXPECT_GT(open(page.c_str()), 32);
    EXPECT_GT(open(notes.c_str()), 32);
    // The three run side by side and may log in any order.
    Lines logged = logOf(opener, 3);
    std::sort(logged.begin(), logged.end());
    EXPECT_EQ(logged, (Lines{"1|" + notes, "1|" + page, "1|http://example.com/"}));
}

TEST_F(ShellRequest, ProgramsAreFoundWithoutRegardToCaseAndBareNamesThroughPath) {
    const std::string browser = makeRecorder("My Browser/browser");
    setString("http\\shell\\open\\command", "\"" + folder + "/MY BROWSER/BROWSER\" \"%1\"");
    EXPECT_GT(open("http://example.com/1"), 32);
    EXPECT_EQ(logOf(browser), Lines{"1|http://example.com/1"});

    const char *path = std::getenv("PATH");
    const std::string savedPath = path ? path : "";
    setenv("PATH", (folder + "/nowhere:" + folder + "/My Browser").c_str(), 1);
    setString("http\\shell\\open\\command", "browser -new %1");
    const intptr_t result = open("http://example.com/2");
    setenv("PATH", savedPath.c_str(), 1);
    EXPECT_GT(result, 32);
    EXPECT_EQ(logOf(browser, 2), (Lines{"1|http://example.com/1", "2|-new|http://example.com/2"}));
}

TEST_F(ShellRequest, RefusedRequestsStartNothing) {
    const std::string browser = makeRecorder("browser");
    setString("http\\shell\\open\\command", "\"" + browser + "\" \"%1\"");
    EXPECT_LE(open(nullptr), 32);
    EXPECT_LE(open(""), 32);
    // An address that the program would take for an option is not passed on.
    EXPECT_LE(open("--help"), 32);
    EXPECT_LE(open("-http://example.com/"), 32);
    EXPECT_LE(open("http://example.com/", "print"), 32);
    // As on Windows, a document that does not exist is not opened.
    EXPECT_EQ(open((folder + "/missing.html").c_str()), 2);

    // Once this request is logged, any of the refused ones would have been too.
    EXPECT_GT(open("http://example.com/last"), 32);
    EXPECT_EQ(logOf(browser), Lines{"1|http://example.com/last"});
    EXPECT_NE(access((opener + ".log").c_str(), F_OK), 0);
}

TEST_F(ShellRequest, AMissingOpenerIsReportedAsFileNotFound) {
    setUrlOpener(folder + "/no-such-opener");
    EXPECT_EQ(open("http://example.com/"), 2);
}

}  // namespace
}  // namespace corvant::testing
