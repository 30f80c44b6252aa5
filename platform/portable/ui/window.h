// The windows of the portable dialog layer: dialogs and their controls, kept
// in one table so that a handle can be checked before it is used. A handle is
// never reused while the process runs, so a stale one is simply unknown.
#pragma once

#include <string>
#include <vector>

#include "platform/portable/user.h"

namespace corvant::ui {

enum class WindowKind { Desktop, Dialog, PushButton, RadioButton, CheckBox, GroupBox, Static, ListBox, Edit, Other };

struct Window {
    HWND handle = nullptr;
    WindowKind kind = WindowKind::Other;
    HWND parent = nullptr;
    int id = -1;
    std::string text;
    DWORD style = 0;
    DWORD exStyle = 0;
    // Position and size in dialog units (a dialog's own position is ignored: it is centred).
    int x = 0, y = 0, cx = 0, cy = 0;
    bool enabled = true;
    int check = BST_UNCHECKED;

    // Dialogs.
    DLGPROC proc = nullptr;
    HWND owner = nullptr;
    std::vector<HWND> children;  // in template order, which is also the tab order
    HWND focus = nullptr;
    bool ended = false;
    INT_PTR result = 0;
    LONG_PTR userData = 0;       // for the layer's own dialogs (message box, file chooser)
    LONG_PTR messageResult = 0;  // DWLP_MSGRESULT

    // List boxes.
    std::vector<std::string> items;
    int caret = 0;
    int selected = -1;
    int topIndex = 0;
    int horizontalExtent = 0;  // pixels
    int horizontalOffset = 0;  // character cells scrolled sideways

    // Edit fields: the cursor position in text, and the other end of the
    // selection (the cursor's own position while nothing is selected).
    size_t cursor = 0;
    size_t anchor = 0;
};

HWND createWindow(const Window &description);
void destroyWindow(HWND window);  // also destroys its children
Window *findWindow(HWND window);
void destroyAllWindows();
HWND desktopWindow();

// The control of a dialog with this identifier, or null.
Window *findChild(Window &dialog, int id);

}  // namespace corvant::ui
