// List box: the messages it answers and the keys it handles while it has the focus.
#pragma once

#include "platform/portable/ui/key.h"
#include "platform/portable/ui/window.h"

namespace corvant::ui {

LRESULT listBoxMessage(Window &list, UINT message, WPARAM wParam, LPARAM lParam);

// Moves the highlight or scrolls; returns false for a key the list box leaves
// to the dialog. Reports a changed highlight through notifySelectionChange.
bool listBoxKey(Window &list, const Key &key);

// Sends LBN_SELCHANGE to the list's dialog when the list box asks for notifications.
void notifySelectionChange(Window &list);

}  // namespace corvant::ui
