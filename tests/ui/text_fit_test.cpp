// Every static text of the program's dialogs fits its rectangle in the
// dialog's own font, measured the way a static control draws it, so that a
// text cut off at its end fails here instead of surprising a user. Under
// Wine the outcome depends on the fonts that the prefix has.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/win32.h"
#include "tests/ui/program_resources.h"
#include "ui/resources/resource_ids.h"

namespace corvant::testing {
namespace {

INT_PTR CALLBACK inertDialog(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

// "text: needs W x H, has W x H" for a static text that does not fit.
std::string fitProblem(HWND control) {
    char text[1024] = "";
    GetWindowTextA(control, text, sizeof text);
    RECT room{};
    GetClientRect(control, &room);
    RECT needed = room;
    HDC context = GetDC(control);
    HGDIOBJ previous = SelectObject(context, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    DrawTextA(context, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_EXPANDTABS);
    SelectObject(context, previous);
    ReleaseDC(control, context);
    const long neededWidth = needed.right - needed.left, neededHeight = needed.bottom - needed.top;
    if (neededWidth <= room.right && neededHeight <= room.bottom) return "";
    return std::string(text) + ": needs " + std::to_string(neededWidth) + " x " + std::to_string(neededHeight) +
           " pixels, has " + std::to_string(room.right) + " x " + std::to_string(room.bottom);
}

std::vector<std::string> textsThatDoNotFit(int dialogId) {
    std::optional<std::vector<uint8_t>> dialogTemplate = programResource(resourceTypeDialog, dialogId);
    if (!dialogTemplate) return {"the dialog template is missing"};
    HWND dialog = CreateDialogIndirectParamA(
        GetModuleHandleA(nullptr), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate->data()), nullptr, inertDialog, 0);
    if (dialog == nullptr) return {"the dialog could not be created"};
    std::vector<std::string> problems;
    int statics = 0;
    for (HWND child = GetWindow(dialog, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        char className[16] = "";
        GetClassNameA(child, className, sizeof className);
        if (lstrcmpiA(className, "Static") != 0) continue;
        ++statics;
        std::string problem = fitProblem(child);
        if (!problem.empty()) problems.push_back(problem);
    }
    DestroyWindow(dialog);
    if (statics == 0) problems.push_back("no static text found");
    return problems;
}

TEST(DialogTextFit, EveryStaticTextFitsItsRectangle) {
    for (int dialogId : {IDD_MAIN, IDD_PREFERENCES, IDD_AUTO_FIND}) {
        EXPECT_EQ(textsThatDoNotFit(dialogId), std::vector<std::string>{}) << "dialog " << dialogId;
    }
}

}  // namespace
}  // namespace corvant::testing
