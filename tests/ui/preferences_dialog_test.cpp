// The Preferences dialog: which registered names the next apply changes.
#include "assoc/browser_settings.h"
#include "platform/portable/test_hooks.h"
#include "tests/support/registry_reader.h"
#include "tests/ui/dialog_test_fixture.h"

namespace corvant::testing {
namespace {

using Preferences = DialogTest;

struct Flags {
    bool htmlFile, http, https, gopher, ftp;
    bool operator==(const Flags &o) const {
        return htmlFile == o.htmlFile && http == o.http && https == o.https && gopher == o.gopher && ftp == o.ftp;
    }
};

std::ostream &operator<<(std::ostream &out, const Flags &f) {
    return out << "html " << f.htmlFile << " http " << f.http << " https " << f.https << " gopher " << f.gopher
               << " ftp " << f.ftp;
}

Flags currentFlags() {
    const BrowserSettings &s = browserSettings;
    return {s.registerHtmlFile, s.registerHttp, s.registerHttps, s.registerGopher, s.registerFtp};
}

// Focus order in the dialog: OK, http, https, gopher, ftp, htmlfile.
const std::string openPreferences = "{A-p}";
const std::string toHttp = "{Tab}";

TEST_F(Preferences, ConfirmingWithoutChangesKeepsEveryFlag) {
    runProgram(openPreferences + "{Enter}{Esc}");
    EXPECT_EQ(currentFlags(), (Flags{true, true, true, true, true}));
}

TEST_F(Preferences, OkStoresTheBoxes) {
    // Clear https and htmlfile, then Tab round to OK and press it.
    runProgram(openPreferences + toHttp + "{Tab}{Space}{Tab}{Tab}{Tab}{Space}{Tab}{Space}{Esc}");
    EXPECT_EQ(currentFlags(), (Flags{false, true, false, true, true}));
}

TEST_F(Preferences, EnterOnACheckBoxActsAsOk) {
    runProgram(openPreferences + toHttp + "{Space}{Enter}{Esc}");
    EXPECT_EQ(currentFlags(), (Flags{true, false, true, true, true}));
}

TEST_F(Preferences, EscapeDoesNotCloseTheDialog) {
    // Were Escape to close it unstored, http would stay set and the Enter
    // would end the main dialog instead.
    runProgram(openPreferences + toHttp + "{Space}{Esc}{Snap}{Enter}{Esc}");
    EXPECT_FALSE(browserSettings.registerHttp);
    ASSERT_EQ(snapshots().size(), 1u);
    EXPECT_NE(snapshots()[0].find("Corvant - Preferences"), std::string::npos) << snapshots()[0];
}

TEST_F(Preferences, ReopeningShowsThePreviousChoice) {
    // First clear http; the second time clear gopher only. Boxes that did not
    // show the first choice would set http again (or clear everything).
    runProgram(openPreferences + toHttp + "{Space}{Enter}" + openPreferences + toHttp +
               "{Tab}{Tab}{Space}{Enter}{Esc}");
    EXPECT_EQ(currentFlags(), (Flags{true, false, true, false, true}));
}

TEST_F(Preferences, ApplyWithEveryNameClearedWritesNothingButReportsSuccess) {
    std::string browser = makeFile("b/NETSCAPE.EXE");
    runProgram(openPreferences + toHttp + "{Space}{Tab}{Space}{Tab}{Space}{Tab}{Space}{Tab}{Space}" + "{Enter}{A-s}" +
               chooseFile(browser) + "{Enter}{Esc}");
    EXPECT_EQ(currentFlags(), (Flags{false, false, false, false, false}));
    EXPECT_TRUE(registryUntouched());
    auto boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Changes submitted to registry.");
}

TEST_F(Preferences, ClearedHtmlFileLeavesTheDocumentKeysAlone) {
    std::string browser = makeFile("b/NETSCAPE.EXE");
    runProgram(openPreferences + "{S-Tab}{Space}{Enter}{A-s}" + chooseFile(browser) + "{Enter}{Esc}");
    EXPECT_FALSE(keyExists(".html"));
    EXPECT_FALSE(keyExists(".htm"));
    EXPECT_FALSE(keyExists("htmlfile"));
    EXPECT_EQ(readValue("http\\shell\\open\\command", ""), stringValue(browser + " \"%1\""));
}

}  // namespace
}  // namespace corvant::testing
