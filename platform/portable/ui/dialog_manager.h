// The modal dialog manager: creates dialogs from templates, runs each one
// until EndDialog, and turns keys into focus moves and commands.
#pragma once

#include <vector>

#include "platform/portable/ui/dialog_template.h"
#include "platform/portable/ui/key.h"
#include "platform/portable/ui/window.h"

namespace corvant::ui {

// Runs a dialog modally with the active front end; -1 when there is none or
// the dialog cannot be created. The layer's own dialogs use it as well.
INT_PTR runDialog(const DialogTemplate &dialogTemplate, HWND owner, DLGPROC proc, LPARAM initParam,
                  LONG_PTR userData = 0);

// The kind of window a template's control makes.
WindowKind windowKindOf(const DialogControlTemplate &control);

// The window a template's control makes, not yet created or given a parent.
Window controlFromTemplate(const DialogControlTemplate &item);

// The dialogs that are open, the active one last.
const std::vector<HWND> &openDialogs();

// True once a dialog asked for a key that never came; every dialog open then
// was ended with -1, and later ones end at once.
bool inputExhausted();
// Forgets every dialog and window and the exhausted state (a fresh front end).
void resetDialogManager();

// Draws the open dialogs with the active front end.
void redrawScreen();

// Delivers a message to a dialog's procedure only.
INT_PTR sendToDialog(Window &dialog, UINT message, WPARAM wParam, LPARAM lParam);
// Delivers a message to a dialog as SendMessageA does: to its procedure,
// then, unless the procedure handled it, to the dialog manager's own
// handling (WM_NEXTDLGCTL, WM_SETTEXT, WM_CLOSE).
LRESULT dialogMessage(Window &dialog, UINT message, WPARAM wParam, LPARAM lParam);

// The dialog that takes the keys: the last one opened.
Window *activeDialog();

// Handles one key in the dialog, as IsDialogMessageA does.
void handleDialogKey(Window &dialog, const Key &key);

// What a mouse click on the control does: an automatic radio button or check
// box changes its check, then the dialog hears BN_CLICKED. A disabled
// control does nothing.
void clickControl(Window &dialog, Window &control);

// A control that can take the focus: visible, enabled, not a label or frame.
bool canTakeFocus(const Window &control);

}  // namespace corvant::ui
