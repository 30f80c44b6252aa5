// A one-line text field (the file chooser's name field).
#pragma once

#include "platform/portable/ui/key.h"
#include "platform/portable/ui/window.h"

namespace corvant::ui {

// Edits the text; false for keys the field leaves to the dialog.
bool editFieldKey(Window &field, const Key &key);
void setFieldText(Window &field, const std::string &text);

// The first character shown: as much of a long text as fits, up to the cursor.
size_t firstShownCharacter(const Window &field);
// A click on a cell of the field (0 its first) puts the cursor there, or at
// the end of a text that stops short of it.
void editFieldClick(Window &field, int column);

}  // namespace corvant::ui
