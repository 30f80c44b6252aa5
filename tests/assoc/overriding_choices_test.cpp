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

std::vector<std::string> userClassKeys() {
    const OverridingNames keys = findUserClassKeys(browserSettings);
    return std::vector<std::string>(keys.names, keys.names + keys.count);
}

// Any program may have written the account's class keys; only those that
// send the name elsewhere for this account count, each name once, in write order.
TEST_F(OverridingChoicesTest, TheAccountsClassKeysThatComeFirstAreNamed) {
    const std::string classes = "Software\\Classes\\";
    const struct {
        const char *key, *valueName;
        std::string bytes;
        const char *named;
    } cases[] = {
        {".htm", "", std::string("OtherBrowserHTML\0", 17), ".htm"},
        {".html", "", std::string("HTMLFile\0", 9), nullptr},  // the class just written
        {"http\\shell\\open\\command", "", std::string("other.exe\0", 10), "http"},
        {"https\\shell\\open\\command", "DelegateExecute", std::string("{0}\0", 4), "https"},
        {"htmlfile\\shell", "", std::string(" opennew,open", 13), "htmlfile"},  // no terminator
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.key);
        seeds.seedValue(classes + c.key, c.valueName, REG_SZ, c.bytes);
        EXPECT_EQ(userClassKeys(), c.named ? Names{c.named} : Names{});
        seeds.removeAll();
    }
    seeds.seedValue(classes + "gopher\\shell\\open\\command", "", REG_SZ, std::string("x\0", 2));
    seeds.setProgId("https", "OtherBrowserURL");
    const OverridingNames both =
        namesOfBoth(findOverridingChoices(browserSettings), findUserClassKeys(browserSettings));
    EXPECT_EQ(Names(both.names, both.names + both.count), (Names{"https", "gopher"}));
    selectOnly(false, true, true, true, false);
    EXPECT_EQ(userClassKeys(), Names{});
}

}  // namespace
}  // namespace corvant::testing
