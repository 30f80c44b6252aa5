// Where a control stands on a character screen: one cell per 4 dialog units
// across and 8 down, measured from the dialog's client area.
#pragma once

#include "platform/portable/ui/window.h"

namespace corvant::ui {

struct CellRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The cells a rectangle in dialog units covers, partly covered cells included.
CellRect cellRect(int x, int y, int cx, int cy);
inline CellRect cellRect(const Window &w) { return cellRect(w.x, w.y, w.cx, w.cy); }

// The row on which a one-line control (button, radio button, check box) is drawn: its middle.
int middleRow(const Window &w);

// Pixels per character cell, for list box extents (4 dialog units of an 8-point dialog font).
constexpr int pixelsPerCell = 6;

// List box interior: rows of entries and columns of entry text.
int listVisibleRows(const Window &list);
int listTextColumns(const Window &list);

}  // namespace corvant::ui
