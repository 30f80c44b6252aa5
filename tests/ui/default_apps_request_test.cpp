// Which page Yes asks for, by the Windows version the system reports, and
// the address of Settings' page for the registered browser.
#include <gtest/gtest.h>

#include <string>

#include "ui/default_apps_request.h"
#include "ui/uri_component.h"

namespace corvant::testing {
namespace {

TEST(DefaultAppsRequest, PlaceFollowsTheReportedVersion) {
    struct Case {
        DWORD major, minor;
        DefaultAppsPlace place;
    };
    const Case cases[] = {
        {5, 1, DefaultAppsPlace::unknown},          // XP
        {5, 2, DefaultAppsPlace::unknown},          // XP x64
        {6, 0, DefaultAppsPlace::defaultPrograms},  // Vista
        {6, 1, DefaultAppsPlace::defaultPrograms},  // 7
        {6, 3, DefaultAppsPlace::defaultPrograms},  // 8.1
        {6, 4, DefaultAppsPlace::unknown},          // previews of 10
        {10, 0, DefaultAppsPlace::settings},        // 10 and 11
        {11, 0, DefaultAppsPlace::settings},
    };
    for (const Case &c : cases) EXPECT_EQ(defaultAppsPlaceFor(c.major, c.minor), c.place) << c.major << "." << c.minor;
}

TEST(DefaultAppsRequest, NamesAreEscapedAsOneQueryValue) {
    const std::pair<std::string, std::string> cases[] = {
        {"Corvant", "Corvant"},
        {"Az09-._~", "Az09-._~"},
        {"Example Browser", "Example%20Browser"},
        {"a&b=c#d%e", "a%26b%3Dc%23d%25e"},
        {"x/y?z+", "x%2Fy%3Fz%2B"},
        {"\xC3\x9C\xFF", "%C3%9C%FF"},
        {"", ""},
    };
    for (const auto &[text, escaped] : cases) EXPECT_EQ(escapedUriComponent(text), escaped) << text;
    EXPECT_EQ(settingsPageAddress("Corvant"), "ms-settings:defaultapps?registeredAppMachine=Corvant");
    EXPECT_EQ(settingsPageAddress("A&B C"), "ms-settings:defaultapps?registeredAppMachine=A%26B%20C");
}

TEST(DefaultAppsRequest, TheSystemReportsItsVersionOnlyForTheRightStructure) {
    OSVERSIONINFOA version = {};
    version.dwOSVersionInfoSize = sizeof version - 1;
    EXPECT_FALSE(GetVersionExA(&version));
    version.dwOSVersionInfoSize = sizeof version;
    ASSERT_TRUE(GetVersionExA(&version));
    EXPECT_EQ(version.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_NT));
    // Both builds: the terminal edition itself, and the test program told by Wine (see CMakeLists.txt).
    EXPECT_EQ(defaultAppsPlaceFor(version.dwMajorVersion, version.dwMinorVersion), DefaultAppsPlace::settings)
        << version.dwMajorVersion << "." << version.dwMinorVersion;
}

}  // namespace
}  // namespace corvant::testing
