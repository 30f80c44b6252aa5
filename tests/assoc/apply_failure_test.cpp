// How an apply that cannot write everything ends: the registry error box,
// once, and no success. Uses the portable layer's failure hooks.
#include <sys/stat.h>
#include <unistd.h>

#include "platform/portable/test_hooks.h"
#include "tests/assoc/assoc_fixture.h"

namespace corvant::testing {
namespace {

HWND const someMainWindow = reinterpret_cast<HWND>(0x4242);

class ApplyFailure : public AssocTest {
protected:
    void SetUp() override {
        AssocTest::SetUp();
        mainDialogWindow = someMainWindow;
        choosePath("C:\\Browser\\B.EXE");
    }

    static void expectOnlyBox(const std::string &text) {
        const auto boxes = shownMessageBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].owner, someMainWindow);
        EXPECT_EQ(boxes[0].text, text);
        EXPECT_TRUE(boxes[0].titleGiven);
        EXPECT_EQ(boxes[0].title, "Corvant Error");
        EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_OK | MB_ICONERROR));
    }
};

TEST_F(ApplyFailure, ClassKeyThatCannotBeOpenedStopsTheRunThere) {
    failKeyOpen("HTTPS");
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("Error opening/modifying registry.");
    for (const char *written :
         {".html", ".htm", "htmlfile\\shell\\open\\ddeexec\\Topic", "http\\shell\\open\\ddeexec\\Topic"})
        EXPECT_TRUE(keyExists(written)) << written;
    for (const char *untouched : {"https", "ftp", "gopher"}) EXPECT_FALSE(keyExists(untouched)) << untouched;
}

TEST_F(ApplyFailure, ExtensionKeyThatCannotBeOpenedStopsBeforeAnyClass) {
    failKeyOpen(".htm");
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("Error opening/modifying registry.");
    EXPECT_TRUE(keyExists(".html"));
    for (const char *untouched : {".htm", "htmlfile", "http"}) EXPECT_FALSE(keyExists(untouched)) << untouched;
}

TEST_F(ApplyFailure, NestedKeyFailureIsReportedAfterTheClassIsFinished) {
    failKeyOpen("http\\shell\\open\\ddeexec");
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("Error opening/modifying registry.");
    // The rest of the failing class was still written, as far as it could be.
    EXPECT_EQ(readValue("http\\shell\\open\\command", ""), stringValue("C:\\Browser\\B.EXE \"%1\""));
    EXPECT_FALSE(keyExists("http\\shell\\open\\ddeexec"));
    for (const char *untouched : {"https", "ftp", "gopher"}) EXPECT_FALSE(keyExists(untouched)) << untouched;
}

TEST_F(ApplyFailure, ParentFailureLeavesEverythingBelowItUnwritten) {
    failKeyOpen("ftp\\shell");
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("Error opening/modifying registry.");
    EXPECT_EQ(readValue("ftp\\DefaultIcon", ""), stringValue("C:\\Browser\\B.EXE,0"));
    EXPECT_FALSE(keyExists("ftp\\shell"));
    EXPECT_FALSE(keyExists("gopher"));
}

TEST_F(ApplyFailure, ValueWriteFailureIsNotReportedAsSuccess) {
    failValueWritesBelow("gopher\\shell\\open\\command");
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("Error opening/modifying registry.");
    EXPECT_TRUE(keyExists("gopher\\shell\\open\\ddeexec\\Topic"));
    EXPECT_FALSE(readValue("gopher\\shell\\open\\command", "").has_value());
}

TEST_F(ApplyFailure, ExtensionValueWriteFailureStopsBeforeTheClasses) {
    failValueWritesBelow(".html");
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("Error opening/modifying registry.");
    EXPECT_FALSE(keyExists(".htm"));
    EXPECT_FALSE(keyExists("htmlfile"));
}

TEST_F(ApplyFailure, UnreadableStoreIsARegistryError) {
    // A store that does not parse is refused, not overwritten.
    const std::string store = sandbox.folder() + "/registry.reg";
    FILE *file = std::fopen(store.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("not a registry file\r\n", file);
    std::fclose(file);
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("Error opening/modifying registry.");
    file = std::fopen(store.c_str(), "rb");
    ASSERT_NE(file, nullptr);
    char content[64] = {};
    const size_t length = std::fread(content, 1, sizeof content - 1, file);
    std::fclose(file);
    EXPECT_EQ(std::string(content, length), "not a registry file\r\n");
}

TEST_F(ApplyFailure, EmptyPathIsRefusedBeforeAnythingIsWritten) {
    browserSettings.browserPath[0] = '\0';
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("No browser executable has been chosen.");
    for (const char *key : programKeys) EXPECT_FALSE(keyExists(key)) << key;
}

TEST_F(ApplyFailure, WithEveryNameClearedNoPathIsNeeded) {
    selectOnly(false, false, false, false, false);
    browserSettings.browserPath[0] = '\0';
    EXPECT_TRUE(applyAssociations());
    choosePath(longPath("C:\\", 4003));
    EXPECT_TRUE(applyAssociations());
    std::memset(browserSettings.browserPath, 'A', sizeof browserSettings.browserPath);
    EXPECT_TRUE(applyAssociations());
    EXPECT_TRUE(shownMessageBoxes().empty());
    for (const char *key : programKeys) EXPECT_FALSE(keyExists(key)) << key;

    // One name is enough for the path to matter again.
    browserSettings.registerGopher = true;
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("The browser path is too long.");
}

TEST_F(ApplyFailure, PathTooLongForTheComposedValuesIsRefusedNotTruncated) {
    // Without blanks the command value needs the path plus 6 bytes and the
    // icon value the path plus 3; 1024 bytes hold both up to 1018 characters.
    choosePath(longPath("C:\\", 3 + 1015));
    EXPECT_TRUE(applyAssociations());
    EXPECT_TRUE(shownMessageBoxes().empty());
    EXPECT_EQ(readValue("http\\shell\\open\\command", "")->bytes.size(), 1024u);

    for (const char *key : programKeys) deleteTree(key);
    choosePath(longPath("C:\\", 3 + 1016));
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("The browser path is too long.");
    for (const char *key : programKeys) EXPECT_FALSE(keyExists(key)) << key;
}

TEST_F(ApplyFailure, QuotingCountsAgainstTheRoomOfTheCommandValue) {
    // With a blank the quotes take two more bytes: 1016 characters still fit.
    choosePath(longPath("C:\\A B", 6 + 1010));
    EXPECT_TRUE(applyAssociations());
    EXPECT_EQ(readValue("http\\shell\\open\\command", "")->bytes.size(), 1024u);

    for (const char *key : programKeys) deleteTree(key);
    choosePath(longPath("C:\\A B", 6 + 1011));
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("The browser path is too long.");
    for (const char *key : programKeys) EXPECT_FALSE(keyExists(key)) << key;
}

TEST_F(ApplyFailure, PathThatNamesNoFileIsRefusedBeforeAnythingIsWritten) {
    // A missing file, a folder, a name the file dialog of a code page that
    // cannot hold its letters gives back, and a pipe named like a browser.
    ASSERT_EQ(mkfifo("C:/Browser/PIPE.EXE", 0600), 0);
    for (const char *path : {"C:\\Browser\\MISSING.EXE", "C:\\Browser", "C:\\???\\B.EXE", "C:\\Browser\\PIPE.EXE"}) {
        SCOPED_TRACE(path);
        std::strcpy(browserSettings.browserPath, path);
        clearShownMessageBoxes();
        EXPECT_FALSE(applyAssociations());
        expectOnlyBox(
            "The browser's path cannot be used: it does not name a file, or it holds letters that the system's code "
            "page cannot show. Move the browser or choose another copy.");
        for (const char *key : programKeys) EXPECT_FALSE(keyExists(key)) << key;
    }
    unlink("C:/Browser/PIPE.EXE");
}

TEST_F(ApplyFailure, UnterminatedPathBufferIsRefused) {
    std::memset(browserSettings.browserPath, 'A', sizeof browserSettings.browserPath);
    EXPECT_FALSE(applyAssociations());
    expectOnlyBox("The browser path is too long.");
}

// A key that refuses writes, found before the first write: the store stays
// exactly as it was, whether the key would be written, removed or created
// in, and whether it holds a class or the registration.
TEST_F(ApplyFailure, AKeyThatRefusesWritesStopsTheApplyBeforeAnythingIsWritten) {
    const std::string store = sandbox.folder() + "/registry.reg";
    auto storeText = [&store] {
        std::ifstream in(store, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    };
    for (const char *refusing :
         {"gopher\\shell\\open\\command", "https", "ftp\\shell\\open\\ddeexec\\ifexec\\x",
          "HKEY_LOCAL_MACHINE\\Software\\RegisteredApplications", "HKEY_LOCAL_MACHINE\\Software\\Classes"}) {
        SCOPED_TRACE(refusing);
        // An earlier registration, with a stale ifexec key, or none at all.
        if (std::strcmp(refusing, "HKEY_LOCAL_MACHINE\\Software\\Classes") != 0) {
            choosePath("C:\\Old\\OLD.EXE");
            ASSERT_TRUE(applyAssociations());
            HKEY stale = nullptr;
            ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "ftp\\shell\\open\\ddeexec\\ifexec\\x", 0, nullptr, 0,
                                      KEY_SET_VALUE, nullptr, &stale, nullptr),
                      ERROR_SUCCESS);
            RegCloseKey(stale);
        }
        const std::string before = storeText();
        refuseKeyWrites(refusing);
        clearShownMessageBoxes();
        choosePath("C:\\Browser\\B.EXE");
        EXPECT_FALSE(applyAssociations());
        expectOnlyBox("Error opening/modifying registry.");
        EXPECT_EQ(storeText(), before);
        clearRegistryFailures();
        for (const char *key : programKeys) deleteTree(key);
    }
}

}  // namespace
}  // namespace corvant::testing
