// Which page Yes asks for, by the Windows version the system reports, and
// the address of Settings' page for the registered browser. (Both builds
// report Windows 10 to the box's tests: success_box_test.cpp.)
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
        {6, 0, DefaultAppsPlace::defaultPrograms},  // Vista
        {6, 3, DefaultAppsPlace::defaultPrograms},  // 8.1
        {6, 4, DefaultAppsPlace::unknown},          // previews of 10
        {10, 0, DefaultAppsPlace::settings},        // 10 and 11
    };
    for (const Case &c : cases) EXPECT_EQ(defaultAppsPlaceFor(c.major, c.minor), c.place) << c.major << "." << c.minor;
}

TEST(DefaultAppsRequest, NamesAreEscapedAsOneQueryValue) {
    const std::pair<std::string, std::string> cases[] = {
        {"Az09-._~", "Az09-._~"},
        {"Example Browser", "Example%20Browser"},
        {"a&b=c#d%e/?+", "a%26b%3Dc%23d%25e%2F%3F%2B"},
        {"\xC3\x9C\xFF", "%C3%9C%FF"},
    };
    for (const auto &[text, escaped] : cases) EXPECT_EQ(escapedUriComponent(text), escaped) << text;
    EXPECT_EQ(settingsPageAddress("A&B"), "ms-settings:defaultapps?registeredAppMachine=A%26B");
}

}  // namespace
}  // namespace corvant::testing
