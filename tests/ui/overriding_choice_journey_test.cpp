// "&Specify location..." on a system where a per-user choice sends http
// elsewhere: the box names it, No returns to the main dialog, Yes asks the
// shell for the Default apps page. The whole program, driven by keys.
#include "assoc/browser_settings.h"
#include "assoc/main_window.h"
#include "platform/portable/test_hooks.h"
#include "tests/assoc/user_choice_seeds.h"
#include "tests/support/registry_reader.h"
#include "tests/ui/dialog_test_fixture.h"
#include "tests/ui/shell_requests.h"

namespace corvant::testing {
namespace {

const char httpOverridden[] =
    "Changes submitted to registry.\n\nWindows opens http with the app chosen in its own default app settings, which "
    "come before these changes. Open those settings now? There, choose \"IEXPLORE (chosen with Corvant)\" for it.";

class OverridingChoiceJourney : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        seeds.setProgId("http", "OtherBrowserURL");
    }
    UserChoiceSeeds seeds;
};

TEST_F(OverridingChoiceJourney, NoReturnsToTheMainDialog) {
    ShellRequests requests(sandbox.folder());
    ASSERT_TRUE(requests.ready());
    std::string browser = makeFile("Browser/IEXPLORE.EXE");
    // After No the program goes on: Preferences opens and closes before Exit.
    runProgram("{Down}{A-s}" + chooseFile(browser) + "{Snap}n{A-p}{Snap}{Enter}{Esc}");

    auto boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, httpOverridden);
    EXPECT_EQ(boxes[0].title, "Done");
    EXPECT_EQ(boxes[0].style, unsigned(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(boxes[0].owner, mainDialogWindow);
    ASSERT_EQ(snapshots().size(), 2u);
    EXPECT_NE(snapshots()[0].find("Windows opens http with the app"), std::string::npos) << snapshots()[0];
    EXPECT_NE(snapshots()[0].find("< Yes >"), std::string::npos) << snapshots()[0];
    EXPECT_NE(snapshots()[1].find("Preferences"), std::string::npos) << snapshots()[1];

    EXPECT_EQ(readValue("http\\shell\\open\\command", ""), stringValue(browser + " \"%1\""));
    EXPECT_EQ(readValue(".html", ""), stringValue("htmlfile"));
    // The choice itself is left as it was.
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, userChoiceKey("http"), "ProgId"), stringValue("OtherBrowserURL"));

    ShellExecuteA(nullptr, "open", "ms-settings:marker", nullptr, nullptr, SW_SHOWNORMAL);
    EXPECT_EQ(requests.waitUntilRecorded("ms-settings:marker"), std::vector<std::string>{"ms-settings:marker"});
}

TEST_F(OverridingChoiceJourney, YesOpensDefaultAppsAndReturnsToTheMainDialog) {
    ShellRequests requests(sandbox.folder());
    ASSERT_TRUE(requests.ready());
    std::string browser = makeFile("Browser/NETSCAPE.EXE");
    // Tab goes round both buttons back to Yes.
    runProgram("{A-s}" + chooseFile(browser) + "{Tab}{Tab}{Enter}{Esc}");
    ASSERT_EQ(shownMessageBoxes().size(), 1u);
    // The terminal edition reports Windows 10: Settings' page of the registration.
    const std::string settingsPage = "ms-settings:defaultapps?registeredAppMachine=Corvant";
    EXPECT_EQ(requests.waitUntilRecorded(settingsPage), std::vector<std::string>{settingsPage});
    EXPECT_EQ(readValue("gopher\\shell\\open\\ddeexec\\Application", ""), stringValue("NSShell"));
}

}  // namespace
}  // namespace corvant::testing
