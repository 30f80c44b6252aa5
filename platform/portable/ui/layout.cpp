#include "platform/portable/ui/layout.h"

#include <algorithm>

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

}  // namespace corvant::ui
