// What reading the per-user choices does to the registry: it opens only the
// choices of the selected names, writes nothing and closes what it opened.
// Uses the portable layer's call record.
#include "assoc/overriding_choices.h"
#include "platform/portable/test_hooks.h"
#include "tests/assoc/assoc_fixture.h"
#include "tests/assoc/user_choice_seeds.h"

namespace corvant::testing {
namespace {

using OverridingChoiceCalls = AssocTest;

TEST_F(OverridingChoiceCalls, OpensOnlyTheSelectedChoicesAndWritesNothing) {
    UserChoiceSeeds seeds;
    for (const char *name : choosableNames) seeds.setProgId(name, "OtherBrowser");
    selectOnly(true, false, false, true, false);
    recordRegistryCalls(true);
    EXPECT_EQ(findOverridingChoices(browserSettings).count, 3u);
    recordRegistryCalls(false);

    const std::string user = "HKEY_CURRENT_USER\\";
    const std::vector<std::string> opened = {
        "RegOpenKeyExA " + user + userChoiceKey(".html"),
        "RegOpenKeyExA " + user + userChoiceKey(".htm"),
        "RegOpenKeyExA " + user + userChoiceKey("ftp"),
    };
    std::vector<std::string> opens;
    int closes = 0;
    for (const std::string &call : recordedRegistryCalls()) {
        EXPECT_EQ(call.rfind("RegCreateKeyExA", 0), std::string::npos) << call;
        EXPECT_EQ(call.rfind("RegSetValueExA", 0), std::string::npos) << call;
        EXPECT_EQ(call.rfind("RegFlushKey", 0), std::string::npos) << call;
        if (call.rfind("RegOpenKeyExA", 0) == 0) opens.push_back(call);
        if (call.rfind("RegCloseKey", 0) == 0) ++closes;
    }
    EXPECT_EQ(opens, opened);
    EXPECT_EQ(closes, 3);
    EXPECT_EQ(openRegistryHandleCount(), 0u);
}

TEST_F(OverridingChoiceCalls, UnreadableChoiceIsNoChoice) {
    UserChoiceSeeds seeds;
    seeds.setProgId("http", "OtherBrowser");
    seeds.setProgId("https", "OtherBrowser");
    failKeyOpen("HKEY_CURRENT_USER\\" + userChoiceKey("http"));
    const OverridingChoices choices = findOverridingChoices(browserSettings);
    ASSERT_EQ(choices.count, 1u);
    EXPECT_STREQ(choices.names[0], "https");
    EXPECT_EQ(openRegistryHandleCount(), 0u);
}

}  // namespace
}  // namespace corvant::testing
