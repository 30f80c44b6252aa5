// List box: the messages it answers and the keys it handles while it has the focus.
#pragma once

#include "platform/portable/ui/key.h"
#include "platform/portable/ui/window.h"

namespace corvant::ui {

LRESULT listBoxMessage(Window &list, UINT message, WPARAM wParam, LPARAM lParam);

// Moves the highlight or scrolls; returns false for a key the list box leaves
// to the dialog. Reports a changed highlight through notifySelectionChange.
bool listBoxKey(Window &list, const Key &key);

// A press of the mouse's button on a cell of the list (0, 0 the top left
// corner of its frame). On an entry it highlights it (the dialog hears of it
// once the button is released, as on Windows); on a scroll bar's track it
// scrolls a page towards the press.
enum class ListPress { Entries, ScrollBar, Frame };
ListPress listBoxPress(Window &list, int column, int row);
// The button released on a row of entries after a press on the entries:
// the entry of that row is highlighted, as the list follows the mouse while
// its button is down on Windows.
void listBoxRelease(Window &list, int row);
// The wheel scrolls the entries by this many rows (negative: up), leaving the
// highlight where it is.
void listBoxScroll(Window &list, int rows);

// Sends LBN_SELCHANGE to the list's dialog when the list box asks for notifications.
void notifySelectionChange(Window &list);

}  // namespace corvant::ui
