// Until the terminal dialog manager shows message boxes, each box is recorded
// for the tests and written to standard error.
#include <cstdio>
#include <vector>

#include "platform/portable/test_hooks.h"
#include "platform/portable/user.h"

namespace {
std::vector<corvant::testing::ShownMessageBox> &shown() {
    static std::vector<corvant::testing::ShownMessageBox> boxes;
    return boxes;
}
}  // namespace

namespace corvant::testing {
std::vector<ShownMessageBox> shownMessageBoxes() { return shown(); }
void clearShownMessageBoxes() { shown().clear(); }
}  // namespace corvant::testing

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    shown().push_back({owner, text ? text : "", caption ? caption : "", caption != nullptr, type});
    std::fprintf(stderr, "[%s] %s\n", caption ? caption : "Error", text ? text : "");
    return IDOK;
}
