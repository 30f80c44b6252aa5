// A one-line text field (the file chooser's name field).
#pragma once

#include "platform/portable/ui/key.h"
#include "platform/portable/ui/window.h"

namespace corvant::ui {

// Edits the text; false for keys the field leaves to the dialog.
bool editFieldKey(Window &field, const Key &key);
void setFieldText(Window &field, const std::string &text);

}  // namespace corvant::ui
