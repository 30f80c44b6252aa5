// The main dialog and the program entry, driven by keys.
#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "assoc/browser_settings.h"
#include "assoc/main_window.h"
#include "platform/portable/test_hooks.h"
#include "tests/support/registry_reader.h"
#include "tests/ui/dialog_test_fixture.h"

namespace corvant::testing {
namespace {

using MainDialog = DialogTest;

TEST_F(MainDialog, EscapeOrEnterAtStartEndsTheProgramWithoutWriting) {
    for (const char *keys : {"{Esc}", "{Enter}"}) {
        SCOPED_TRACE(keys);
        runProgram(keys);
        EXPECT_TRUE(registryUntouched());
        EXPECT_TRUE(shownMessageBoxes().empty());
    }
}

TEST_F(MainDialog, EntrySetsEveryRegistrationFlagAndChecksNetscape) {
    runProgram("{Snap}{Esc}");
    EXPECT_TRUE(browserSettings.registerHtmlFile);
    EXPECT_TRUE(browserSettings.registerHttp);
    EXPECT_TRUE(browserSettings.registerHttps);
    EXPECT_TRUE(browserSettings.registerFtp);
    EXPECT_TRUE(browserSettings.registerGopher);
    EXPECT_TRUE(browserSettings.browserIsNetscape);
    EXPECT_FALSE(browserSettings.browserIsOther);
    EXPECT_NE(mainDialogWindow, nullptr);

    ASSERT_EQ(snapshots().size(), 1u);
    const std::string screen = snapshots()[0];
    EXPECT_NE(screen.find("Corvant 1.2 by Fernhollow Software"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Step 1 - Browser type"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Netscape"), std::string::npos) << screen;
}

TEST_F(MainDialog, BrowserChoicesSetTheTwoTypeFlags) {
    struct Case {
        const char *keys;  // arrow keys move and check within the radio group
        bool netscape;
        bool other;
    } cases[] = {
        {"{Down}", false, false},               // Internet Explorer
        {"{Down}{Down}", true, true},           // Other browsers
        {"{Down}{Down}{Up}", false, false},     // Other, then Internet Explorer
        {"{Down}{Down}{Up}{Up}", true, false},  // Other, then Netscape
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        browserSettings = BrowserSettings{};
        runProgram(std::string(c.keys) + "{Esc}");
        EXPECT_EQ(browserSettings.browserIsNetscape, c.netscape);
        EXPECT_EQ(browserSettings.browserIsOther, c.other);
        EXPECT_TRUE(registryUntouched());
    }
}

TEST_F(MainDialog, ChosenExecutableIsAppliedAndReported) {
    std::string browser = makeFile("Program Files/Browser/IEXPLORE.EXE");
    runProgram("{Down}{A-s}" + chooseFile(browser) + "{Enter}{Esc}");

    EXPECT_EQ(std::string(browserSettings.browserPath), browser);
    // The path holds a blank, so the command value quotes it.
    EXPECT_EQ(readValue("http\\shell\\open\\command", ""), stringValue("\"" + browser + "\" \"%1\""));
    EXPECT_EQ(readValue("htmlfile\\DefaultIcon", ""), stringValue(browser + ",0"));
    EXPECT_EQ(readValue(".html", ""), stringValue("htmlfile"));
    EXPECT_EQ(readValue("gopher\\shell\\open\\ddeexec\\Application", ""), stringValue("IExplore"));

    auto boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Changes submitted to registry.");
    EXPECT_EQ(boxes[0].title, "Done");
    EXPECT_TRUE(boxes[0].titleGiven);
    EXPECT_EQ(boxes[0].style, unsigned(MB_OK));
    EXPECT_EQ(boxes[0].owner, mainDialogWindow);
}

TEST_F(MainDialog, OtherBrowsersGetNoDdeSettings) {
    std::string browser = makeFile("other/browser.exe");
    runProgram("{Down}{Down}{A-s}" + chooseFile(browser) + "{Enter}{Esc}");
    // They serve no DDE: the shell starts them with the command alone.
    EXPECT_FALSE(keyExists("https\\shell\\open\\ddeexec"));
    EXPECT_EQ(readValue("ftp\\shell\\open\\command", ""), stringValue(browser + " \"%1\""));
}

TEST_F(MainDialog, CancelledFileChoiceWritesNothing) {
    runProgram("{A-s}{Esc}{Esc}");
    EXPECT_TRUE(registryUntouched());
    EXPECT_TRUE(shownMessageBoxes().empty());
    EXPECT_STREQ(browserSettings.browserPath, "");
}

TEST_F(MainDialog, SecondFileChoiceStartsFromThePreviousPath) {
    std::string browser = makeFile("first/NETSCAPE.EXE");
    // The second time the dialog is confirmed as it opens: it must already
    // hold the first choice, or it would wait for a name.
    runProgram("{A-s}" + chooseFile(browser) + "{Enter}{A-s}{Enter}{Enter}{Esc}");
    EXPECT_EQ(shownMessageBoxes().size(), 2u);
    EXPECT_EQ(std::string(browserSettings.browserPath), browser);
}

TEST_F(MainDialog, TestButtonHandsTheMakersPageToTheUrlOpener) {
    namespace fs = std::filesystem;
    fs::path opener = fs::path(sandbox.folder()) / "opener";
    fs::path received = fs::path(sandbox.folder()) / "opened";
    {
        std::ofstream script(opener);
        script << "#!/bin/sh\nprintf '%s|' \"$@\" > '" << received.string() << ".tmp'\n"
               << "mv '" << received.string() << ".tmp' '" << received.string() << "'\n";
    }
    fs::permissions(opener, fs::perms::owner_all);
    setUrlOpener(opener.string());
    runProgram("{A-e}{Esc}");
    setUrlOpener("");

    // The opener runs on its own; give it a bounded while to report.
    for (int i = 0; i < 500 && !fs::exists(received); ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    std::ifstream in(received);
    std::stringstream arguments;
    arguments << in.rdbuf();
    EXPECT_EQ(arguments.str(), "http://example.com/|");
    EXPECT_TRUE(registryUntouched());
}

}  // namespace
}  // namespace corvant::testing
