// The registration with Default Programs and the name it shows. Runs
// natively against the portable layer and cross-built under Wine.
#include "assoc/browser_registration.h"

#include <algorithm>

#include "tests/assoc/assoc_fixture.h"

namespace corvant::testing {
namespace {

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
