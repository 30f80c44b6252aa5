// Which page Yes asks for, by the Windows version the system reports. (Both
// builds report Windows 10 to the box's tests: success_box_test.cpp.)
#include <gtest/gtest.h>

#include <string>

#include "ui/default_apps_request.h"

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

}  // namespace
}  // namespace corvant::testing
