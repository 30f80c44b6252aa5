// The box that follows a successful apply, as both callers run it (apply,
// then the box), with per-user choices seeded where Windows keeps them.
// Runs natively on the scripted screen and cross-built under Wine, where the
// real message box is read and answered.
#include <string>

#include "assoc/apply.h"
#include "tests/assoc/assoc_fixture.h"
#include "tests/assoc/user_choice_seeds.h"
#include "tests/ui/message_box_answers.h"
#include "tests/ui/shell_request_stand_in.h"
#include "tests/ui/shell_requests.h"
#include "ui/default_apps_request.h"
#include "ui/success_box.h"

namespace corvant::testing {
namespace {

const char submitted[] = "Changes submitted to registry.";
const unsigned plainStyle = MB_OK;
const unsigned questionStyle = MB_YESNO | MB_ICONINFORMATION;

// The browser is the one SetUp chooses.
std::string question(const std::string &names, bool several) {
    return std::string(submitted) + "\n\nWindows opens " + names + (several ? " with the apps" : " with the app") +
           " chosen in its own default app settings, which come before these changes. Open those settings now? "
           "There, choose \"B (chosen with Corvant)" +
           std::string(several ? "\" for them." : "\" for it.");
}

class SuccessBox : public AssocTest {
protected:
    void SetUp() override {
        AssocTest::SetUp();
        ASSERT_TRUE(UserChoiceSeeds::noneOverrides()) << "a per-user choice overrides the classes before the test";
        choosePath("C:\\Browser\\B.EXE");
    }

    // Applies and shows the box as "&Specify location..." and Auto find do.
    static std::vector<AnsweredBox> applyAnswering(int answer) {
        return answerMessageBoxes(
            [] {
                if (applyAssociations()) showSuccessBox();
            },
            answer);
    }

    static void expectOneBox(const std::vector<AnsweredBox> &boxes, const std::string &text, unsigned style) {
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_EQ(boxes[0].title, "Done");
        EXPECT_EQ(boxes[0].style, style);
    }

    UserChoiceSeeds seeds;
};

TEST_F(SuccessBox, WithoutChoicesTheBoxIsUnchanged) {
    expectOneBox(applyAnswering(IDOK), submitted, plainStyle);
    EXPECT_EQ(readValue("http\\shell\\open\\command", ""), stringValue("C:\\Browser\\B.EXE \"%1\""));

    // Choices of the classes just written send the names to the browser as well.
    seeds.setProgId(".html", "htmlfile");
    seeds.setProgId("http", "http");
    seeds.setProgId("https", "HTTPS");
    expectOneBox(applyAnswering(IDOK), submitted, plainStyle);
}

TEST_F(SuccessBox, ChoiceForHttpNamesHttpOnly) {
    seeds.setProgId("http", "OtherBrowserURL");
    expectOneBox(applyAnswering(IDNO), question("http", false), questionStyle);
    // Everything was written all the same.
    for (const char *key : programKeys) EXPECT_TRUE(keyExists(key)) << key;
}

TEST_F(SuccessBox, SeveralChoicesAreNamedInWriteOrder) {
    seeds.setProgId("gopher", "OtherBrowserURL");
    seeds.setProgId("https", "OtherBrowserURL");
    seeds.setProgId(".html", "OtherBrowserHTML");
    expectOneBox(applyAnswering(IDNO), question(".html, https and gopher", true), questionStyle);
    seeds.setProgId(".htm", "OtherBrowserHTML");
    expectOneBox(applyAnswering(IDNO), question(".html, .htm, https and gopher", true), questionStyle);
    seeds.removeAll();
    seeds.setProgId("ftp", "OtherBrowserURL");
    seeds.setProgId("http", "OtherBrowserURL");
    expectOneBox(applyAnswering(IDNO), question("http and ftp", true), questionStyle);
}

TEST_F(SuccessBox, DeselectedNameWithAChoiceIsNotNamed) {
    seeds.setProgId("http", "OtherBrowserURL");
    seeds.setProgId("ftp", "OtherBrowserURL");
    browserSettings.registerHttp = false;
    expectOneBox(applyAnswering(IDNO), question("ftp", false), questionStyle);
    EXPECT_FALSE(keyExists("http"));
    browserSettings.registerFtp = false;
    expectOneBox(applyAnswering(IDOK), submitted, plainStyle);
}

TEST_F(SuccessBox, ChoiceOfHtmlfileForHtmlIsNotNamed) {
    seeds.setProgId(".html", "htmlfile");
    seeds.setProgId(".htm", "OtherBrowserHTML");
    expectOneBox(applyAnswering(IDNO), question(".htm", false), questionStyle);
}

TEST_F(SuccessBox, NothingSelectedShowsThePlainBoxEvenWithoutAPath) {
    for (const char *name : choosableNames) seeds.setProgId(name, "OtherBrowser");
    selectOnly(false, false, false, false, false);
    browserSettings.browserPath[0] = '\0';
    expectOneBox(applyAnswering(IDOK), submitted, plainStyle);
    for (const char *key : programKeys) EXPECT_FALSE(keyExists(key)) << key;
}

TEST_F(SuccessBox, YesAsksForDefaultAppsAndNoDoesNot) {
    ShellRequests requests(sandbox.folder());
    ASSERT_TRUE(requests.ready());
    // A request of the test's own after each box: one that the box started
    // before it has by then been recorded as well.
    auto recordedUpTo = [&requests](const std::string &marker) {
        ShellExecuteA(nullptr, "open", marker.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return requests.waitUntilRecorded(marker);
    };
    // The test program is told that it runs on Windows 10 (see CMakeLists.txt).
    const std::string defaultApps = "ms-settings:defaultapps?registeredAppMachine=Corvant";
    seeds.setProgId("https", "OtherBrowserURL");

    expectOneBox(applyAnswering(IDNO), question("https", false), questionStyle);
    EXPECT_EQ(recordedUpTo("ms-settings:after-no"), std::vector<std::string>{"ms-settings:after-no"});

    expectOneBox(applyAnswering(IDYES), question("https", false), questionStyle);
    EXPECT_EQ(requests.waitUntilRecorded(defaultApps), (std::vector<std::string>{"ms-settings:after-no", defaultApps}));

    // The plain box asks for nothing.
    seeds.removeAll();
    expectOneBox(applyAnswering(IDYES), submitted, plainStyle);
    EXPECT_EQ(recordedUpTo("ms-settings:after-ok"),
              (std::vector<std::string>{"ms-settings:after-no", defaultApps, "ms-settings:after-ok"}));
}

TEST_F(SuccessBox, YesFallsBackToDefaultProgramsAndSaysSoWhenNeitherOpens) {
    // Settings refusing its page (on the Windows 10 the test is told it runs on).
    const ShellRequest settings{"ms-settings:defaultapps?registeredAppMachine=Corvant", ""};
    const ShellRequest controlPanel{"control.exe", "/name Microsoft.DefaultPrograms /page pageDefaultProgram"};
    const std::string neither =
        "Windows could not open its settings for default apps. Choose the browser there yourself: in Settings under "
        "Apps, Default apps, or in Control Panel under Default Programs.";
    seeds.setProgId("http", "OtherBrowserURL");
    takeShellRequests();

    queueShellAnswers({false, true});
    expectOneBox(applyAnswering(IDYES), question("http", false), questionStyle);
    EXPECT_EQ(takeShellRequests(), (std::vector<ShellRequest>{settings, controlPanel}));

    queueShellAnswers({false, false});
    const auto boxes = applyAnswering(IDYES);
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].text, neither);
    EXPECT_EQ(boxes[1].title, "Corvant Error");
    EXPECT_EQ(boxes[1].style, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    EXPECT_EQ(takeShellRequests(), (std::vector<ShellRequest>{settings, controlPanel}));
}

TEST_F(SuccessBox, TheAccountsOwnClassKeysAreNamedWithWhereTheyAre) {
    seeds.seedValue("Software\\Classes\\http\\shell\\open\\command", "", REG_SZ, std::string("old.exe\0", 8));
    // No settings page removes them: the box only tells.
    expectOneBox(applyAnswering(IDOK),
                 std::string(submitted) +
                     "\n\nFor your account, Windows opens http with its own class keys under HKEY_CURRENT_USER\\"
                     "Software\\Classes, which come before these changes. Corvant leaves them alone; remove them "
                     "with regedit or reg delete for these changes to apply to your account.",
                 MB_OK | MB_ICONINFORMATION);
}

// What Yes asks for before Windows 10, and what next when that is refused
// (Windows 10 and the error box: the tests above).
TEST_F(SuccessBox, YesAsksForThePageOfThisWindowsAndFallsBack) {
    const std::string panel = "/name Microsoft.DefaultPrograms /page pageDefaultProgram";
    const ShellRequest settings{"ms-settings:defaultapps", ""}, panelPage{"control.exe", panel},
        asUser{"control.exe", panel, Route::onlyForUser}, ownPage{"Corvant", "", Route::associationPage};
    struct Case {
        DefaultAppsPlace place;
        bool usersRights;
        std::vector<bool> answers;
        std::vector<ShellRequest> requests;
    };
    const Case cases[] = {
        // Not elevated: the registration's own page, shown by Corvant's process.
        {DefaultAppsPlace::defaultPrograms, true, {false, true}, {ownPage, panelPage}},
        // Elevated: the list of programs with the user's rights comes first.
        {DefaultAppsPlace::defaultPrograms, false, {false, false, true}, {asUser, ownPage, panelPage}},
        {DefaultAppsPlace::unknown, false, {false, false}, {settings, panelPage}},
    };
    takeShellRequests();
    for (const Case &c : cases) {
        setRunsWithUsersRights(c.usersRights);
        queueShellAnswers(c.answers);
        const auto boxes = answerMessageBoxes([&c] { openDefaultAppsPageAt(nullptr, c.place); }, IDOK);
        setRunsWithUsersRights(true);
        EXPECT_EQ(takeShellRequests(), c.requests) << &c - cases;
        EXPECT_EQ(boxes.size(), c.answers.back() ? 0u : 1u) << &c - cases;
    }
}

// Which page Yes asks for, by the Windows version the system reports.

TEST(DefaultAppsRequest, PlaceFollowsTheReportedVersion) {
    struct Case {
        DWORD major, minor;
        DefaultAppsPlace place;
    };
    const Case cases[] = {
        {5, 1, DefaultAppsPlace::unknown},          // XP
        {6, 0, DefaultAppsPlace::defaultPrograms},  // Vista
        {6, 3, DefaultAppsPlace::defaultPrograms},  // 8.1
        {6, 4, DefaultAppsPlace::unknown},          // previews of 10
        {10, 0, DefaultAppsPlace::settings},        // 10 and 11
    };
    for (const Case &c : cases) EXPECT_EQ(defaultAppsPlaceFor(c.major, c.minor), c.place) << c.major << "." << c.minor;
}

}  // namespace
}  // namespace corvant::testing
