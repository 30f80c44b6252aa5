// The mouse in the dialogs: which window a click or a turn of the wheel is
// for, and what the controls do with it, as their window procedures do on
// Windows: a button takes the focus when pressed and acts when released over
// it, a list box highlights the entry clicked and scrolls with the wheel.
#pragma once

#include "platform/portable/ui/key.h"
#include "platform/portable/ui/window.h"

namespace corvant::ui {

// The message for a mouse event on a screen of this size: for the control
// under it in the active dialog, the dialog itself between its controls, or
// for a release the window that has the capture. False outside the active
// dialog, where a click reaches nothing.
bool mouseMessageFor(const MouseEvent &event, int screenColumns, int screenRows, MSG &message);

bool isMouseMessage(UINT message);

// A control's own handling of WM_LBUTTONDOWN, WM_LBUTTONUP and WM_MOUSEWHEEL.
LRESULT controlMouseMessage(Window &control, UINT message, WPARAM wParam, LPARAM lParam);

// Forgets the capture (a fresh front end).
void resetMouse();

}  // namespace corvant::ui
