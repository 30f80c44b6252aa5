// A one-line text field (the file chooser's name field).
#pragma once

#include "platform/portable/ui/key.h"
#include "platform/portable/ui/window.h"

namespace corvant::ui {

// Edits the text; false for keys the field leaves to the dialog. Typing
// replaces the selection. Ctrl+A, Ctrl+E, Ctrl+U, Ctrl+K and Ctrl+W (which
// arrive as their control characters, as WM_CHAR brings them on Windows)
// move to the start or the end, or delete to the start, to the end or the
// word before the cursor, as readline does.
bool editFieldKey(Window &field, const Key &key);
void setFieldText(Window &field, const std::string &text);
// As a dialog does for a field that the keyboard moves the focus to.
void selectAllText(Window &field);
// The selected part, as [start, end) in text; empty while nothing is selected.
void fieldSelection(const Window &field, size_t &start, size_t &end);

// The first character shown: as much of a long text as fits, up to the cursor.
size_t firstShownCharacter(const Window &field);
// A click on a cell of the field (0 its first) puts the cursor there, or at
// the end of a text that stops short of it.
void editFieldClick(Window &field, int column);

}  // namespace corvant::ui
