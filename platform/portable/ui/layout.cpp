#include "platform/portable/ui/layout.h"

#include <algorithm>

#include "platform/portable/ui/mnemonic.h"

namespace corvant::ui {
namespace {
int floorDiv(int value, int divisor) { return value >= 0 ? value / divisor : -((-value + divisor - 1) / divisor); }
int ceilDiv(int value, int divisor) { return -floorDiv(-value, divisor); }
}  // namespace

CellRect cellRect(int x, int y, int cx, int cy) {
    CellRect r;
    r.left = floorDiv(x, 4);
    r.top = floorDiv(y, 8);
    r.width = std::max(1, ceilDiv(x + std::max(cx, 0), 4) - r.left);
    r.height = std::max(1, ceilDiv(y + std::max(cy, 0), 8) - r.top);
    return r;
}

int middleRow(const Window &w) { return floorDiv(w.y + w.cy / 2, 8); }

int listVisibleRows(const Window &list) {
    int rows = cellRect(list).height - 2 - ((list.style & WS_HSCROLL) ? 1 : 0);
    return std::max(1, rows);
}

int listTextColumns(const Window &list) {
    // Border on both sides, a marker column, and the vertical scroll bar.
    int columns = cellRect(list).width - 3 - ((list.style & WS_VSCROLL) ? 1 : 0);
    return std::max(1, columns);
}

int listHorizontalRange(const Window &list) {
    if (!(list.style & WS_HSCROLL)) return 0;
    int extentCells = (list.horizontalExtent + pixelsPerCell - 1) / pixelsPerCell;
    return std::max(0, extentCells - listTextColumns(list));
}

ListScrollBars listScrollBars(const Window &list) {
    ListScrollBars bars;
    CellRect r = cellRect(list);
    int rows = listVisibleRows(list), count = static_cast<int>(list.items.size());
    if (list.style & WS_VSCROLL) {
        bars.verticalColumn = r.width - 2;
        if (count > rows) bars.verticalThumbRow = 1 + (rows - 1) * list.topIndex / std::max(1, count - rows);
    }
    if (list.style & WS_HSCROLL) {
        bars.horizontalRow = r.height - 2;
        bars.horizontalLength = r.width - 2 - ((list.style & WS_VSCROLL) ? 1 : 0);
        int range = listHorizontalRange(list);
        if (range > 0)
            bars.horizontalThumbColumn =
                1 + (bars.horizontalLength - 1) * std::min(list.horizontalOffset, range) / range;
    }
    return bars;
}

CellRect dialogFrame(const Window &dialog, int screenColumns, int screenRows) {
    CellRect client = cellRect(0, 0, dialog.cx, dialog.cy);
    CellRect frame;
    frame.width = client.width + 2;
    frame.height = client.height + 2;
    frame.left = std::max(0, (screenColumns - frame.width) / 2);
    frame.top = std::max(0, (screenRows - frame.height) / 2);
    return frame;
}

CellRect pushButtonFace(const Window &button) {
    CellRect r = cellRect(button);
    int length = static_cast<int>(withoutMnemonic(button.text).text.size());
    CellRect face;
    face.width = std::min(std::max(r.width, length + 2), length + 4);
    face.left = r.left + (r.width - face.width) / 2;
    face.top = middleRow(button);
    face.height = 1;
    return face;
}

CellRect mouseArea(const Window &control) {
    switch (control.kind) {
    case WindowKind::PushButton: return pushButtonFace(control);
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
    case WindowKind::Edit: {
        CellRect r = cellRect(control);
        r.top = middleRow(control);
        r.height = 1;
        return r;
    }
    case WindowKind::ListBox: return cellRect(control);
    default: return CellRect{};
    }
}

}  // namespace corvant::ui
