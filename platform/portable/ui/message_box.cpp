// MessageBoxA: a modal box with the text, the title, a marker for the error
// and information icons, and either an OK button or "&Yes" and "&No". Every
// box is also recorded for the tests.
#include <algorithm>
#include <cstdio>
#include <iterator>
#include <string>
#include <vector>

#include "platform/portable/test_hooks.h"
#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/dialog_sizes.h"
#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/front_end.h"
#include "platform/portable/ui/screen_painter.h"
#include "platform/portable/user.h"

namespace {

std::vector<corvant::testing::ShownMessageBox> &shown() {
    static std::vector<corvant::testing::ShownMessageBox> boxes;
    return boxes;
}

constexpr int widestLine = 60;    // characters of text per line
constexpr int markerColumns = 5;  // "(X)" and a gap
constexpr int buttonColumns = 8;
constexpr int buttonGap = 2;

struct BoxButton {
    const char *text;
    int id;
};

const BoxButton okButtons[] = {{"OK", IDOK}};
const BoxButton yesNoButtons[] = {{"&Yes", IDYES}, {"&No", IDNO}};

INT_PTR CALLBACK messageBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) return TRUE;
    if (message != WM_COMMAND) return FALSE;
    int id = LOWORD(wParam);
    // Escape arrives as IDCANCEL. A box with OK takes it for OK; a Yes/No box
    // has no Cancel button and, as on Windows, ignores it.
    if (id == IDCANCEL && GetDlgItem(dialog, IDOK)) id = IDOK;
    if ((id == IDOK || id == IDYES || id == IDNO) && GetDlgItem(dialog, id)) {
        EndDialog(dialog, id);
        return TRUE;
    }
    return FALSE;
}

const char *iconMarker(UINT type) {
    switch (type & MB_ICONMASK) {
    case MB_ICONERROR: return "(X)";
    case MB_ICONINFORMATION: return "(i)";
    default: return nullptr;
    }
}

corvant::ui::DialogTemplate boxTemplate(const std::string &text, const std::string &title, const char *marker,
                                        const std::vector<BoxButton> &buttons) {
    std::vector<std::string> lines = corvant::ui::wrapText(text, widestLine);
    int textColumns = 0;
    for (const std::string &line : lines) textColumns = std::max(textColumns, corvant::ui::textWidth(line));
    int markerWidth = marker ? markerColumns : 0;
    int buttonRow = static_cast<int>(buttons.size()) * (buttonColumns + buttonGap) - buttonGap;
    int columns = std::max({textColumns + markerWidth + 4, corvant::ui::textWidth(title) + 6, buttonRow + 4, 16});
    int rows = static_cast<int>(lines.size()) + 4;

    corvant::ui::DialogTemplate box;
    box.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
    box.title = title;
    box.cx = static_cast<short>(columns * 4);
    box.cy = static_cast<short>(rows * 8);
    if (marker)
        box.controls.push_back(corvant::ui::cellControl("Static", marker, SS_LEFT | SS_NOPREFIX, -1, 2, 1, 3, 1));
    box.controls.push_back(corvant::ui::cellControl("Static", text, SS_LEFT | SS_NOPREFIX, -1, 2 + markerWidth, 1,
                                                    std::max(1, textColumns), static_cast<int>(lines.size())));
    // The first button is the default one and takes the focus; the buttons
    // form one group, so the arrow keys move between them.
    int column = (columns - buttonRow) / 2;
    for (size_t i = 0; i < buttons.size(); ++i) {
        DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
        box.controls.push_back(corvant::ui::cellControl("Button", buttons[i].text, style, buttons[i].id, column,
                                                        rows - 2, buttonColumns, 1));
        column += buttonColumns + buttonGap;
    }
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
    // Made whole rather than assigned: GCC 12 warns, wrongly, about copying
    // into an empty vector when it inlines the assignment (-O2 and above).
    const UINT kind = type & MB_TYPEMASK;
    if (kind != MB_OK && kind != MB_YESNO) {
        // Only the boxes below are provided here.
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    const std::vector<BoxButton> buttons =
        kind == MB_OK ? std::vector<BoxButton>(std::begin(okButtons), std::end(okButtons))
                      : std::vector<BoxButton>(std::begin(yesNoButtons), std::end(yesNoButtons));
    if (!corvant::ui::activeFrontEnd()) {
        // Without a screen to show it on, the box goes to standard error; a
        // question cannot be answered there.
        const std::string shown = corvant::ui::shownText("[" + title + "] " + body);
        std::fprintf(stderr, "%s\n", shown.c_str());
        if (buttons.size() == 1) return IDOK;
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    INT_PTR result =
        corvant::ui::runDialog(boxTemplate(body, title, iconMarker(type), buttons), owner, messageBoxProc, 0);
    for (const BoxButton &button : buttons)
        if (result == button.id) return button.id;
    return 0;
}

corvant::ui::DialogTemplate corvant::ui::widestMessageBox() {
    const std::vector<BoxButton> buttons(std::begin(yesNoButtons), std::end(yesNoButtons));
    return boxTemplate(std::string(widestLine, 'x'), "", "(X)", buttons);
}
