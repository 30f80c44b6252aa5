// The screen that every dialog the program can show fits on: the templates
// in its resources and the layer's own file chooser and message boxes.
#pragma once

namespace corvant::ui {

// Columns and rows, frames included.
void programScreenSize(int &columns, int &rows);

// The layer's own dialogs at their largest, in dialog units (each defined
// beside the dialog it measures).
void fileChooserSize(int &cx, int &cy);
// A box whose text fills every line it has: as wide as a box gets (one with
// more lines is taller).
void widestMessageBoxSize(int &cx, int &cy);

}  // namespace corvant::ui
