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

TEST_F(BrowserRegistration, NameComesFromTheVersionResourceInItsFirstLanguageElseFromTheFileName) {
    if (standIn("x").empty()) GTEST_SKIP() << "no MinGW resource compiler and linker to make the stand-ins";
    choosePath("C:\\Browser\\Plain.EXE");  // an empty file
    struct Case {
        std::string path;
        const char *name;
    };
    const Case cases[] = {
        {standIn("described.exe"), "Beispiel Browser (chosen with Corvant)"},
        {standIn("product_only.exe"), "Example Product (chosen with Corvant)"},
        {"C:\\Browser\\Plain.EXE", "Plain (chosen with Corvant)"},
        {"C:\\Browser\\missing.exe", "missing (chosen with Corvant)"},
        {"C:\\Browser\\netscape", "netscape (chosen with Corvant)"},
    };
    for (const Case &item : cases) EXPECT_EQ(registeredBrowserName(item.path.c_str()), item.name) << item.path;
}

std::vector<std::string> sorted(std::vector<std::string> names) {
    std::sort(names.begin(), names.end());
    return names;
}

TEST_F(BrowserRegistration, DescribesWhatTheClassesHoldAfterEachApply) {
    const std::string capabilities = "Software\\Corvant\\Capabilities";
    choosePath("C:\\Browser\\Example.EXE");
    struct Step {
        bool htmlFile, http, https, ftp, gopher;
        std::vector<std::string> protocols, extensions;  // sorted
    };
    // A name cleared since the last apply leaves the registration; one
    // selected again comes back.
    const Step steps[] = {
        {true, true, true, true, true, {"ftp", "gopher", "http", "https"}, {".htm", ".html"}},
        {false, true, false, true, true, {"ftp", "gopher", "http"}, {}},
        {true, false, false, false, true, {"gopher"}, {".htm", ".html"}},
    };
    for (const Step &step : steps) {
        SCOPED_TRACE(step.protocols.size());
        selectOnly(step.htmlFile, step.http, step.https, step.ftp, step.gopher);
        ASSERT_TRUE(applyAssociations());
        EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, "Software\\RegisteredApplications", "Corvant", KEY_WOW64_64KEY),
                  stringValue(capabilities));
        EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, capabilities, "ApplicationName", KEY_WOW64_64KEY),
                  stringValue("Example (chosen with Corvant)"));
        EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, capabilities, "ApplicationIcon", KEY_WOW64_64KEY),
                  stringValue("C:\\Browser\\Example.EXE,0"));
        EXPECT_EQ(sorted(valueNames(HKEY_LOCAL_MACHINE, capabilities, KEY_WOW64_64KEY)),
                  (std::vector<std::string>{"ApplicationDescription", "ApplicationIcon", "ApplicationName"}));

        const std::string urls = capabilities + "\\URLAssociations";
        EXPECT_EQ(sorted(valueNames(HKEY_LOCAL_MACHINE, urls, KEY_WOW64_64KEY)), step.protocols);
        for (const std::string &protocol : step.protocols) {
            // Each names the class that was just written for it.
            EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, urls, protocol, KEY_WOW64_64KEY), stringValue(protocol));
            EXPECT_EQ(readValue(protocol + "\\shell\\open\\command", ""),
                      stringValue("C:\\Browser\\Example.EXE \"%1\""))
                << protocol;
        }
        const std::string files = capabilities + "\\FileAssociations";
        EXPECT_EQ(sorted(valueNames(HKEY_LOCAL_MACHINE, files, KEY_WOW64_64KEY)), step.extensions);
        for (const std::string &extension : step.extensions)
            EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, files, extension, KEY_WOW64_64KEY), stringValue("htmlfile"));
    }
}

}  // namespace
}  // namespace corvant::testing
