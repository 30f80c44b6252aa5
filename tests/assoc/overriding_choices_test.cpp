// Which per-user choices override what an apply writes. Runs natively
// against the portable store and cross-built against Wine's registry.
#include "assoc/overriding_choices.h"
#include "tests/assoc/assoc_fixture.h"
#include "tests/assoc/user_choice_seeds.h"

namespace corvant::testing {
namespace {

class OverridingChoicesTest : public AssocTest {
protected:
    void SetUp() override {
        AssocTest::SetUp();
        ASSERT_TRUE(UserChoiceSeeds::noneOverrides()) << "a per-user choice overrides the classes before the test";
    }

    static std::vector<std::string> found() {
        const OverridingChoices choices = findOverridingChoices(browserSettings);
        EXPECT_LE(choices.count, choosableNameCount);
        return std::vector<std::string>(choices.names, choices.names + choices.count);
    }

    using Names = std::vector<std::string>;
    UserChoiceSeeds seeds;
};

TEST_F(OverridingChoicesTest, NoChoiceNoName) { EXPECT_EQ(found(), Names{}); }

TEST_F(OverridingChoicesTest, NamesEveryOverriddenNameInWriteOrder) {
    seeds.setProgId("gopher", "OtherBrowserURL");
    seeds.setProgId(".htm", "OtherBrowserHTML");
    seeds.setProgId("https", "OtherBrowserURL");
    seeds.setProgId(".html", "OtherBrowserHTML");
    EXPECT_EQ(found(), (Names{".html", ".htm", "https", "gopher"}));

    for (const char *name : {"http", "ftp"}) seeds.setProgId(name, "AppX4hxtad77fbk3jkkeerkrm0ze94wjf3s9");
    EXPECT_EQ(found(), (Names{".html", ".htm", "http", "https", "ftp", "gopher"}));
}

TEST_F(OverridingChoicesTest, ChoiceOfAClassJustWrittenIsNoOverride) {
    // Every written class opens the chosen browser, whichever name it is chosen for.
    seeds.setProgId(".html", "htmlfile");
    seeds.setProgId(".htm", "HTMLFile");  // class names are compared without case
    seeds.setProgId("http", "http");
    seeds.setProgId("https", "http");
    seeds.setProgId("ftp", "htmlfile");
    seeds.setProgId("gopher", "GOPHER");
    EXPECT_EQ(found(), Names{});

    // A class that this apply leaves alone is someone else's.
    selectOnly(false, true, true, true, true);
    EXPECT_EQ(found(), (Names{"ftp"}));
    selectOnly(true, false, true, true, true);
    EXPECT_EQ(found(), (Names{"https"}));
}

TEST_F(OverridingChoicesTest, NamesThatAreNotWrittenAreNotNamed) {
    for (const char *name : choosableNames) seeds.setProgId(name, "OtherBrowser");
    selectOnly(false, false, true, false, true);
    EXPECT_EQ(found(), (Names{"https", "gopher"}));
    selectOnly(true, false, false, false, false);
    EXPECT_EQ(found(), (Names{".html", ".htm"}));
    selectOnly(false, false, false, false, false);
    EXPECT_EQ(found(), Names{});
}

TEST_F(OverridingChoicesTest, ChoicesInOtherPlacesAreIgnored) {
    seeds.setProgId("http", "OtherBrowserURL");
    const std::string other = std::string("OtherBrowser", 13);
    // The protocol place for an extension, the extension place for a protocol,
    // another protocol, another key name, another value name.
    seeds.seedValue("Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\.html\\UserChoice", "ProgId",
                    REG_SZ, other);
    seeds.seedValue("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\https\\UserChoice", "ProgId",
                    REG_SZ, other);
    seeds.seedValue("Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\mailto\\UserChoice", "ProgId",
                    REG_SZ, other);
    seeds.seedValue("Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\ftp\\Choice", "ProgId", REG_SZ,
                    other);
    seeds.seedValue(userChoiceKey("gopher"), "", REG_SZ, other);
    seeds.seedValue(userChoiceKey(".htm"), "Progid2", REG_SZ, other);
    EXPECT_EQ(found(), (Names{"http"}));
}

// The choices are written by other programs; none of their shapes may
// mislead the reading or overrun anything.
TEST_F(OverridingChoicesTest, HostileValuesAreReadSafely) {
    const std::string longName(100000, 'x');
    struct Case {
        const char *name;
        DWORD type;
        std::string bytes;
        bool overrides;
    } cases[] = {
        {"http", REG_SZ, std::string("Other", 5), true},            // no terminator
        {"http", REG_SZ, std::string("http", 4), false},            // our class without terminator
        {"http", REG_SZ, std::string("http\0Other\0", 11), false},  // read up to the first zero
        {"http", REG_SZ, std::string("\0Other\0", 7), false},       // empty before the zero
        {"http", REG_SZ, std::string(1, '\0'), false},              // empty: names no program
        {"http", REG_SZ, std::string(), false},                     // no data at all
        {"http", REG_SZ, longName + std::string(1, '\0'), true},    // longer than any class
        {"http", REG_SZ, "http" + std::string(200, '\0'), false},   // our class, long padding
        {"http", REG_EXPAND_SZ, std::string("Other\0", 6), true},
        {"http", REG_DWORD, std::string("\1\0\0\0", 4), false},  // not text
        {"http", REG_BINARY, std::string("Other\0", 6), false},
        {".htm", REG_MULTI_SZ, std::string("Other\0\0", 7), false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.name) + " type " + std::to_string(c.type) + " bytes " +
                     std::to_string(c.bytes.size()));
        seeds.set(c.name, c.type, c.bytes);
        EXPECT_EQ(found(), c.overrides ? Names{c.name} : Names{});
        seeds.removeAll();
    }
}

class UserClassKeysTest : public OverridingChoicesTest {
protected:
    void SetUp() override {
        OverridingChoicesTest::SetUp();
        ASSERT_EQ(classKeys(), Names{}) << "a class key of the account's comes first before the test";
    }

    static Names classKeys() {
        const OverridingNames keys = findUserClassKeys(browserSettings);
        return Names(keys.names, keys.names + keys.count);
    }

    void seed(const std::string &below, const char *valueName, DWORD type, const std::string &bytes) {
        seeds.seedValue("Software\\Classes\\" + below, valueName, type, bytes);
    }
    void seedText(const std::string &below, const char *valueName, const std::string &text) {
        seed(below, valueName, REG_SZ, text + std::string(1, '\0'));
    }
};

// Any program may have written these keys; only those that send the name
// elsewhere for this account count.
TEST_F(UserClassKeysTest, KeysThatComeFirstAreNamedAndOthersAreNot) {
    const struct {
        const char *key;
        const char *valueName;
        DWORD type;
        std::string bytes;
        bool overrides;
    } cases[] = {
        {".htm", "", REG_SZ, std::string("OtherBrowserHTML\0", 17), true},
        {".html", "", REG_SZ, std::string("HTMLFile\0", 9), false},  // the class just written
        {".html", "", REG_SZ, std::string(1, '\0'), false},
        {".html", "Content Type", REG_SZ, std::string("text/html\0", 10), false},
        {".html", "", REG_DWORD, std::string(4, '\1'), false},
        {"http\\shell\\open\\command", "", REG_SZ, std::string("other.exe \"%1\"\0", 16), true},
        {"https\\shell\\open\\command", "DelegateExecute", REG_SZ, std::string("{0}\0", 4), true},
        {"ftp\\shell\\open\\command", "Other", REG_SZ, std::string("x\0", 2), false},
        {"http\\shell\\open", "", REG_SZ, std::string("&Open\0", 6), false},
        {"htmlfile\\shell", "", REG_SZ, std::string("opennew\0", 8), true},
        {"htmlfile\\shell", "", REG_SZ, std::string(" opennew,open", 13), true},  // no terminator
        {"ftp\\shell", "", REG_SZ, std::string("Open,print\0", 11), false},
        {"ftp\\shell", "", REG_SZ, std::string(" ,\0", 3), false},
        {"gopher\\shell", "", REG_SZ, std::string(100000, 'v'), true},
        {"gopher\\shell", "", REG_BINARY, std::string("opennew\0", 8), false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.key) + " " + c.valueName + " bytes " + std::to_string(c.bytes.size()));
        seed(c.key, c.valueName, c.type, c.bytes);
        const std::string name(c.key, std::string(c.key).find('\\') == std::string::npos
                                          ? std::strlen(c.key)
                                          : std::string(c.key).find('\\'));
        EXPECT_EQ(classKeys(), c.overrides ? Names{name} : Names{});
        seeds.removeAll();
    }
}

TEST_F(UserClassKeysTest, BothSourcesNameEachWrittenNameOnceInWriteOrder) {
    seedText("gopher\\shell\\open\\command", "", "other.exe");
    seedText("http\\shell", "", "opennew");
    seedText("htmlfile\\shell\\open\\command", "", "other.exe");
    seedText(".html", "", "OtherBrowserHTML");
    seeds.setProgId("https", "OtherBrowserURL");
    seeds.setProgId("http", "OtherBrowserURL");
    seeds.setProgId(".html", "OtherBrowserHTML");
    EXPECT_EQ(classKeys(), (Names{".html", "htmlfile", "http", "gopher"}));
    const OverridingNames both =
        namesOfBoth(findOverridingChoices(browserSettings), findUserClassKeys(browserSettings));
    EXPECT_EQ(Names(both.names, both.names + both.count), (Names{".html", "htmlfile", "http", "https", "gopher"}));

    // Names not written are not looked at.
    selectOnly(false, true, false, false, false);
    EXPECT_EQ(classKeys(), (Names{"http"}));
}

}  // namespace
}  // namespace corvant::testing
