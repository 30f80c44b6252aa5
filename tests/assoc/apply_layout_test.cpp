// What a successful apply leaves in the registry. Runs natively against the
// portable store and cross-built against Wine's registry.
#include <algorithm>

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
    EXPECT_TRUE(valueNames(name + "\\shell").empty());
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

TEST_F(ApplyLayout, BrowserTypeChoosesTheDdeServerForEveryClass) {
    choosePath("C:\\B\\NETSCAPE.EXE");
    browserSettings.browserIsNetscape = true;
    browserSettings.browserIsOther = true;  // "Other browsers" talks to the shell like Netscape
    ASSERT_TRUE(applyAssociations());
    for (const WrittenClass &written : writtenClasses)
        EXPECT_EQ(readValue(std::string(written.name) + "\\shell\\open\\ddeexec\\Application", ""),
                  stringValue("NSShell"))
            << written.name;

    browserSettings.browserIsNetscape = false;
    browserSettings.browserIsOther = false;
    ASSERT_TRUE(applyAssociations());
    for (const WrittenClass &written : writtenClasses)
        EXPECT_EQ(readValue(std::string(written.name) + "\\shell\\open\\ddeexec\\Application", ""),
                  stringValue("IExplore"))
            << written.name;
}

TEST_F(ApplyLayout, OverwritesItsOwnValuesAndLeavesEverythingElseAlone) {
    // A class as another browser might have left it, with spellings of its own.
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\SHELL\\Open\\Command", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                              &key, nullptr),
              ERROR_SUCCESS);
    const char old[] = "old.exe %1";
    ASSERT_EQ(RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE *>(old), sizeof old), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "DelegateExecute", 0, REG_SZ, reinterpret_cast<const BYTE *>(old), sizeof old),
              ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(
        RegCreateKeyExA(HKEY_CLASSES_ROOT, "http\\shell\\print", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, ".html", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char perceived[] = "text";
    ASSERT_EQ(
        RegSetValueExA(key, "PerceivedType", 0, REG_SZ, reinterpret_cast<const BYTE *>(perceived), sizeof perceived),
        ERROR_SUCCESS);
    RegCloseKey(key);

    choosePath("C:\\Browser\\B.EXE");
    ASSERT_TRUE(applyAssociations());

    // The existing SHELL key is reused under its first spelling, not doubled.
    expectOnly("http", {"DefaultIcon", "SHELL"}, subkeyNames("http"));
    expectOnly("http\\shell", {"Open", "print"}, subkeyNames("http\\shell"));
    EXPECT_EQ(readValue("http\\shell\\open\\command", ""), stringValue("C:\\Browser\\B.EXE \"%1\""));
    EXPECT_EQ(readValue("http\\shell\\open\\command", "DelegateExecute"), stringValue(old));
    EXPECT_EQ(readValue(".html", "PerceivedType"), stringValue(perceived));
    EXPECT_EQ(readValue(".html", ""), stringValue("htmlfile"));
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

}  // namespace
}  // namespace corvant::testing
