// The registration with Default Programs and the name it shows. Runs
// natively against the portable layer and cross-built under Wine.
#include "assoc/browser_registration.h"
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

}  // namespace
}  // namespace corvant::testing
