// What a successful apply leaves in the registry. Runs natively against the
// portable store and cross-built against Wine's registry.
#include <algorithm>
#include <cstring>

#include "assoc/browser_registration.h"
#include "assoc/class_key_chain.h"
#include "tests/assoc/assoc_fixture.h"

namespace corvant::testing {
namespace {

struct WrittenClass {
    const char *name;
    const char *description;
};
const WrittenClass writtenClasses[] = {
    {"htmlfile", "HyperText Document"},
    {"http", "URL:HyperText Transfer Protocol"},
    {"https", "URL:HyperText Transfer Protocol with Privacy"},
    {"ftp", "URL:File Transfer Protocol"},
    {"gopher", "URL:Gopher Protocol"},
};

void expectOnly(const std::string &key, const std::vector<std::string> &names, std::vector<std::string> actual) {
    std::vector<std::string> expected = names;
    std::sort(expected.begin(), expected.end());
    std::sort(actual.begin(), actual.end());
    EXPECT_EQ(actual, expected) << "in " << key;
}

void expectClassLayout(const std::string &name, const std::string &description, const std::string &icon,
                       const std::string &command, const std::string &ddeServer) {
    SCOPED_TRACE(name);
    EXPECT_EQ(readValue(name, ""), stringValue(description));
    EXPECT_EQ(readValue(name, "EditFlags"), dwordValue(2));
    // The empty text is stored as its terminating zero alone.
    EXPECT_EQ(readValue(name, "URL Protocol"), (RegistryValue{REG_SZ, std::string(1, '\0')}));
    expectOnly(name, {"", "EditFlags", "URL Protocol"}, valueNames(name));
    expectOnly(name, {"DefaultIcon", "shell"}, subkeyNames(name));

    EXPECT_EQ(readValue(name + "\\DefaultIcon", ""), stringValue(icon));
    expectOnly(name + "\\shell", {"open"}, subkeyNames(name + "\\shell"));
    EXPECT_EQ(readValue(name + "\\shell", ""), stringValue("open"));
    expectOnly(name + "\\shell", {""}, valueNames(name + "\\shell"));
    expectOnly(name + "\\shell\\open", {"command", "ddeexec"}, subkeyNames(name + "\\shell\\open"));
    EXPECT_TRUE(valueNames(name + "\\shell\\open").empty());
    EXPECT_EQ(readValue(name + "\\shell\\open\\command", ""), stringValue(command));

    const std::string dde = name + "\\shell\\open\\ddeexec";
    EXPECT_EQ(readValue(dde, ""), stringValue("%1"));
    expectOnly(dde, {"Application", "Topic"}, subkeyNames(dde));
    EXPECT_EQ(readValue(dde + "\\Application", ""), stringValue(ddeServer));
    EXPECT_EQ(readValue(dde + "\\Topic", ""), stringValue("WWW_OpenURL"));
}

using ApplyLayout = AssocTest;

TEST_F(ApplyLayout, WritesEveryClassCompletelyIntoAnEmptyRegistry) {
    choosePath("C:\\Browser\\B.EXE");
    ASSERT_TRUE(applyAssociations());

    for (const WrittenClass &written : writtenClasses)
        expectClassLayout(written.name, written.description, "C:\\Browser\\B.EXE,0", "C:\\Browser\\B.EXE \"%1\"",
                          "NSShell");

    for (const char *extension : {".html", ".htm"}) {
        SCOPED_TRACE(extension);
        EXPECT_EQ(readValue(extension, ""), stringValue("htmlfile"));
        EXPECT_EQ(readValue(extension, "Content Type"), stringValue("text/html"));
        expectOnly(extension, {"", "Content Type"}, valueNames(extension));
        EXPECT_TRUE(subkeyNames(extension).empty());
    }
}

TEST_F(ApplyLayout, QuotesAPathWithBlanksInTheCommandButNotInTheIcon) {
    const std::string path = "C:\\Program Files\\Internet Explorer\\IEXPLORE.EXE";
    choosePath(path);
    browserSettings.browserIsNetscape = false;
    ASSERT_TRUE(applyAssociations());
    for (const WrittenClass &written : writtenClasses)
        expectClassLayout(written.name, written.description, path + ",0", "\"" + path + "\" \"%1\"", "IExplore");
}

void createKey(const std::string &path, const char *valueName = nullptr, const char *data = "") {
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS)
        << path;
    if (valueName) {
        EXPECT_EQ(RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(data),
                                 static_cast<DWORD>(std::strlen(data) + 1)),
                  ERROR_SUCCESS);
    }
    RegCloseKey(key);
}

TEST_F(ApplyLayout, BrowserTypeChoosesTheDdeSettingsOfEveryClass) {
    struct Case {
        bool netscape, other;
        const char *server;  // nullptr: no ddeexec at all
    };
    // "Other browsers" serve no DDE: the shell would start them and then
    // report a failed conversation.
    const Case cases[] = {{true, false, "NSShell"}, {false, false, "IExplore"}, {true, true, nullptr}};
    choosePath("C:\\B\\NETSCAPE.EXE");
    for (const Case &choice : cases) {
        SCOPED_TRACE(choice.server ? choice.server : "other");
        // An older registration's DDE settings, with a key of their own below.
        for (const WrittenClass &written : writtenClasses)
            createKey(std::string(written.name) + "\\shell\\open\\ddeexec\\Application\\Extra");
        browserSettings.browserIsNetscape = choice.netscape;
        browserSettings.browserIsOther = choice.other;
        ASSERT_TRUE(applyAssociations());
        for (const WrittenClass &written : writtenClasses) {
            const std::string open = std::string(written.name) + "\\shell\\open";
            EXPECT_EQ(readValue(open + "\\command", ""), stringValue("C:\\B\\NETSCAPE.EXE \"%1\"")) << written.name;
            if (choice.server) {
                EXPECT_EQ(readValue(open + "\\ddeexec\\Application", ""), stringValue(choice.server)) << written.name;
            } else {
                EXPECT_FALSE(keyExists(open + "\\ddeexec")) << written.name;
            }
        }
    }
}

TEST_F(ApplyLayout, RemovesStaleHandlersOfTheOpenVerbAndLeavesEverythingElseAlone) {
    // A class as another browser might have left it, with spellings of its
    // own, a handler that Windows would run instead of the command, and a
    // DDE command for a browser that is not running.
    createKey("http\\SHELL\\Open\\Command", "", "old.exe %1");
    createKey("http\\shell\\open\\command", "DelegateExecute", "{00000000-0000-0000-0000-000000000001}");
    createKey("http\\shell\\open\\command", "Kept", "yes");
    createKey("http\\shell\\open\\ddeexec\\ifexec", "", "*");
    createKey("http\\shell\\open\\ddeexec", "NoActivateHandler", "");
    createKey("http\\shell\\open\\ddeexec\\Other");
    createKey("http\\shell\\print");
    createKey(".html", "PerceivedType", "text");

    choosePath("C:\\Browser\\B.EXE");
    ASSERT_TRUE(applyAssociations());

    // The existing SHELL key is reused under its first spelling, not doubled.
    expectOnly("http", {"DefaultIcon", "SHELL"}, subkeyNames("http"));
    expectOnly("http\\shell", {"Open", "print"}, subkeyNames("http\\shell"));
    const std::string open = "http\\shell\\open";
    EXPECT_EQ(readValue(open + "\\command", ""), stringValue("C:\\Browser\\B.EXE \"%1\""));
    expectOnly("command", {"", "Kept"}, valueNames(open + "\\command"));
    expectOnly("ddeexec", {"Application", "Other", "Topic"}, subkeyNames(open + "\\ddeexec"));
    expectOnly("ddeexec", {"", "NoActivateHandler"}, valueNames(open + "\\ddeexec"));
    EXPECT_EQ(readValue(".html", "PerceivedType"), stringValue("text"));
    EXPECT_EQ(readValue(".html", ""), stringValue("htmlfile"));
}

TEST_F(ApplyLayout, OpenBecomesTheDefaultVerbAndOtherVerbsStay) {
    // The shell key's default (nullptr: none) and whether open has
    // LegacyDisable. Internet Explorer 7 and later leave "opennew" with a
    // verb of that name; a verb list names several.
    const std::pair<const char *, bool> cases[] = {
        {"opennew", true}, {"opennew,open", false}, {"", true}, {nullptr, false}};
    choosePath("C:\\Browser\\B.EXE");
    for (const auto &[shellDefault, legacyDisable] : cases) {
        SCOPED_TRACE(shellDefault ? shellDefault : "no default");
        for (const WrittenClass &written : writtenClasses) {
            const std::string shell = std::string(written.name) + "\\shell";
            deleteTree(written.name);
            createKey(shell + "\\opennew\\command", "", "old.exe \"%1\"");
            if (shellDefault) createKey(shell, "", shellDefault);
            if (legacyDisable) createKey(shell + "\\open", "LegacyDisable", "");
            createKey(shell + "\\open", "Kept", "yes");
        }
        ASSERT_TRUE(applyAssociations());
        for (const WrittenClass &written : writtenClasses) {
            const std::string shell = std::string(written.name) + "\\shell";
            EXPECT_EQ(readValue(shell, ""), stringValue("open")) << written.name;
            expectOnly(shell + "\\open", {"Kept"}, valueNames(shell + "\\open"));
            expectOnly(shell, {"open", "opennew"}, subkeyNames(shell));
            EXPECT_EQ(readValue(shell + "\\opennew\\command", ""), stringValue("old.exe \"%1\"")) << written.name;
        }
    }
}

TEST_F(ApplyLayout, ApplyingTwiceLeavesTheSameValues) {
    choosePath("C:\\Browser\\B.EXE");
    ASSERT_TRUE(applyAssociations());
    const auto command = readValue("gopher\\shell\\open\\command", "");
    const auto names = valueNames("gopher");
    ASSERT_TRUE(applyAssociations());
    EXPECT_EQ(readValue("gopher\\shell\\open\\command", ""), command);
    EXPECT_EQ(valueNames("gopher"), names);
}

TEST_F(ApplyLayout, FlagsSelectWhichNamesAreWritten) {
    choosePath("C:\\Browser\\B.EXE");
    selectOnly(false, true, false, true, false);
    ASSERT_TRUE(applyAssociations());
    for (const char *untouched : {".html", ".htm", "htmlfile", "https", "gopher"})
        EXPECT_FALSE(keyExists(untouched)) << untouched;
    EXPECT_TRUE(keyExists("http\\shell\\open\\ddeexec\\Topic"));
    EXPECT_TRUE(keyExists("ftp\\shell\\open\\ddeexec\\Topic"));
}

TEST_F(ApplyLayout, HtmlFileOffLeavesTheExtensionsAlone) {
    choosePath("C:\\Browser\\B.EXE");
    selectOnly(false, true, true, true, true);
    ASSERT_TRUE(applyAssociations());
    for (const char *untouched : {".html", ".htm", "htmlfile"}) EXPECT_FALSE(keyExists(untouched)) << untouched;
    for (const char *written : {"http", "https", "ftp", "gopher"}) EXPECT_TRUE(keyExists(written)) << written;
}

TEST_F(ApplyLayout, NothingSelectedWritesNothingAndSucceeds) {
    choosePath("C:\\Browser\\B.EXE");
    selectOnly(false, false, false, false, false);
    EXPECT_TRUE(applyAssociations());
    for (const char *key : programKeys) EXPECT_FALSE(keyExists(key)) << key;
}

TEST_F(ApplyLayout, ChainWritesOneClassAndItsDdeServer) {
    {
        ClassKeyChain chain("gopher");
        ASSERT_TRUE(chain.isOpened());
        chain.setDescription("URL:Gopher Protocol");
        chain.setDefaultIcon("C:\\X.EXE,0");
        chain.createShellOpen();
        chain.setCommand("C:\\X.EXE \"%1\"");
        chain.setDdeExec(false);
        chain.release();
        EXPECT_TRUE(chain.completelyWritten());
        chain.release();  // a second release has nothing left to do
    }
    expectClassLayout("gopher", "URL:Gopher Protocol", "C:\\X.EXE,0", "C:\\X.EXE \"%1\"", "IExplore");
    EXPECT_FALSE(keyExists("http"));
}

// The registration with Default Programs and the name it shows.

using BrowserRegistration = AssocTest;

std::string standIn(const char *name) {
#ifdef CORVANT_STAND_IN_FOLDER
    return std::string(CORVANT_STAND_IN_FOLDER) + "/" + name;
#else
    return std::string();
#endif
}

TEST_F(BrowserRegistration, NameComesFromTheVersionResourceElseFromTheFileName) {
    if (standIn("x").empty()) GTEST_SKIP() << "no MinGW resource compiler and linker to make the stand-ins";
    choosePath("C:\\Browser\\Plain.EXE");  // an empty file
    const std::pair<std::string, const char *> cases[] = {
        {standIn("described.exe"), "Beispiel Browser (chosen with Corvant)"},
        {standIn("product_only.exe"), "Example Product (chosen with Corvant)"},
        {"C:\\Browser\\Plain.EXE", "Plain (chosen with Corvant)"},
        {"C:\\Browser\\netscape", "netscape (chosen with Corvant)"},  // no such file
    };
    for (const auto &[path, name] : cases) EXPECT_EQ(registeredBrowserName(path.c_str()), name) << path;
}

// A key of the registration as "name=data" in name order, for strings.
std::string listed(const std::string &key) {
    std::vector<std::string> names = valueNames(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY);
    std::sort(names.begin(), names.end());
    std::string text;
    for (const std::string &name : names) {
        const auto value = readValue(HKEY_LOCAL_MACHINE, key, name, KEY_WOW64_64KEY);
        text += " " + name + "=" + (value && value->type == REG_SZ ? value->bytes.c_str() : "?");
    }
    return text;
}

// A name cleared since the last apply leaves the registration; each
// listed name names the class that was just written for it.
TEST_F(BrowserRegistration, DescribesWhatTheClassesHoldAfterEachApply) {
    const std::string capabilities = "Software\\Corvant\\Capabilities";
    choosePath("C:\\Browser\\Example.EXE");
    const struct {
        bool htmlFile, https;
        const char *protocols, *extensions;
    } steps[] = {
        {true, true, " ftp=ftp gopher=gopher http=http https=https", " .htm=htmlfile .html=htmlfile"},
        {false, false, " ftp=ftp gopher=gopher http=http", ""},
    };
    for (const auto &step : steps) {
        selectOnly(step.htmlFile, true, step.https, true, true);
        ASSERT_TRUE(applyAssociations());
        EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, "Software\\RegisteredApplications", "Corvant", KEY_WOW64_64KEY),
                  stringValue(capabilities));
        EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, capabilities, "ApplicationName", KEY_WOW64_64KEY),
                  stringValue("Example (chosen with Corvant)"));
        EXPECT_EQ(listed(capabilities + "\\URLAssociations"), step.protocols);
        EXPECT_EQ(listed(capabilities + "\\FileAssociations"), step.extensions);
    }
}

}  // namespace
}  // namespace corvant::testing
