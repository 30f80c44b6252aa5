// Where a control stands on a character screen: one cell per 4 dialog units
// across and 8 down, measured from the dialog's client area.
#pragma once

#include <vector>

#include "platform/portable/ui/window.h"

namespace corvant::ui {

struct CellRect {
    int left = 0, top = 0, width = 0, height = 0;
};

// The cells a rectangle in dialog units covers, partly covered cells included.
CellRect cellRect(int x, int y, int cx, int cy);
// The cells of a control in its dialog's client area, on the rows its dialog
// has on the active front end's screen (see dialogRows).
CellRect cellRect(const Window &w);

// The rows of the template on which a group box draws its top and bottom lines.
int groupBoxTopRow(const Window &box);
int groupBoxBottomRow(const Window &box);
// Where a group box's frame is drawn in its dialog's client area.
CellRect groupBoxFrame(const Window &box);

// The row on which a one-line control (button, radio button, check box) is drawn: its middle.
int middleRow(const Window &w);

// The rows of a dialog's client area, one per 8 dialog units, and where each
// of them is drawn. On a screen too low for the dialog, rows that no control
// draws on are closed up (from the longest run of such rows on) until the
// dialog fits or none is left; controls keep their order and never overlap.
struct DialogRows {
    std::vector<int> shownRow;  // for each row of the template: the row it is drawn on
    int height = 0;
    int shown(int templateRow) const;
};
// availableRows: the client rows the screen offers (0: as few as can be).
DialogRows dialogRows(const std::vector<const Window *> &controls, int cy, int availableRows);
DialogRows dialogRows(const Window &dialog, int availableRows);

// Pixels per character cell, for list box extents (4 dialog units of an 8-point dialog font).
constexpr int pixelsPerCell = 6;

// List box interior: rows of entries and columns of entry text.
int listVisibleRows(const Window &list);
int listTextColumns(const Window &list);
// How many cells the entries can be scrolled sideways: as far as the
// extent set with LB_SETHORIZONTALEXTENT reaches beyond the entries' columns.
int listHorizontalRange(const Window &list);
bool hasHorizontalBar(const Window &list);

// A list box's scroll bars, in cells from its frame's top left corner: the
// vertical one beside the entries, the horizontal one below them. A thumb is
// -1 while there is nothing to scroll; a bar the list lacks is all -1.
struct ListScrollBars {
    int verticalColumn = -1, verticalThumbRow = -1;
    int horizontalRow = -1, horizontalLength = 0, horizontalThumbColumn = -1;
};
ListScrollBars listScrollBars(const Window &list);

// Where a dialog stands on a screen of this size: its frame (the client area
// and a border cell around it), centred.
CellRect dialogFrame(const Window &dialog, int screenColumns, int screenRows);

// The face of a push button: as narrow as its caption allows, so that long
// neighbouring labels stay readable, centred in the control, on its middle row.
CellRect pushButtonFace(const Window &button);

// The cells of a control that the mouse reaches, in its dialog's client
// cells: what is drawn of it. Empty (no width) for the controls a click
// passes through, labels and group boxes.
CellRect mouseArea(const Window &control);
inline bool contains(const CellRect &r, int column, int row) {
    return column >= r.left && column < r.left + r.width && row >= r.top && row < r.top + r.height;
}

}  // namespace corvant::ui
