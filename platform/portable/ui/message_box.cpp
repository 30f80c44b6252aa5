// MessageBoxA: a modal box with the text, the title, an error marker for
// MB_ICONERROR and an OK button. Every box is also recorded for the tests.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/portable/test_hooks.h"
#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/front_end.h"
#include "platform/portable/ui/screen_painter.h"
#include "platform/portable/user.h"

namespace {

std::vector<corvant::testing::ShownMessageBox> &shown() {
    static std::vector<corvant::testing::ShownMessageBox> boxes;
    return boxes;
}

constexpr int widestLine = 60;   // characters of text per line
constexpr int markerColumns = 5; // "(X)" and a gap

INT_PTR CALLBACK messageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG)
        return TRUE;
    // OK, Enter, Space and Escape all close a box that has only OK.
    if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    return FALSE;
}

corvant::ui::DialogTemplate boxTemplate(const std::string &text, const std::string &title, bool error) {
    std::vector<std::string> lines = corvant::ui::wrapText(text, widestLine);
    int textColumns = 0;
    for (const std::string &line : lines)
        textColumns = std::max(textColumns, static_cast<int>(line.size()));
    int marker = error ? markerColumns : 0;
    int columns = std::max({textColumns + marker + 4, static_cast<int>(title.size()) + 6, 16});
    int rows = static_cast<int>(lines.size()) + 4;

    corvant::ui::DialogTemplate box;
    box.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    box.title = title;
    box.cx = static_cast<short>(columns * 4);
    box.cy = static_cast<short>(rows * 8);
    if (error)
        box.controls.push_back(corvant::ui::cellControl("Static", "(X)", SS_LEFT | SS_NOPREFIX, -1, 2, 1, 3, 1));
    box.controls.push_back(corvant::ui::cellControl("Static", text, SS_LEFT | SS_NOPREFIX, -1, 2 + marker, 1,
                                   std::max(1, textColumns), static_cast<int>(lines.size())));
    box.controls.push_back(corvant::ui::cellControl("Button", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, IDOK,
                                   (columns - 8) / 2, rows - 2, 8, 1));
    return box;
}

}  // namespace

namespace corvant::testing {
std::vector<ShownMessageBox> shownMessageBoxes() { return shown(); }
void clearShownMessageBoxes() { shown().clear(); }
}  // namespace corvant::testing

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
    std::string body = text ? text : "";
    std::string title = caption ? caption : "Error";
    shown().push_back({owner, body, caption ? caption : "", caption != nullptr, type});
    if (!corvant::ui::activeFrontEnd()) {
        // Without a screen to show it on, the box goes to standard error.
        std::fprintf(stderr, "[%s] %s\n", title.c_str(), body.c_str());
        return IDOK;
    }
    bool error = (type & 0xF0) == MB_ICONERROR;
    INT_PTR result = corvant::ui::runDialog(boxTemplate(body, title, error), owner, messageBoxProc, 0);
    return result == IDOK ? IDOK : 0;
}
