// The screen that every dialog the program can show fits on: the templates
// in its resources and the layer's own file chooser and message boxes.
#pragma once

#include "platform/portable/ui/dialog_template.h"

namespace corvant::ui {

// Columns and rows, frames included.
void programScreenSize(int &columns, int &rows);

// The layer's own dialogs at their largest (each defined beside the dialog
// it makes): the file chooser, and a box whose text fills every line it has,
// as wide as a box gets (one with more lines is taller).
DialogTemplate largestFileChooser();
DialogTemplate widestMessageBox();

}  // namespace corvant::ui
