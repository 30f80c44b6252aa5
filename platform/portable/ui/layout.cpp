#include "platform/portable/ui/layout.h"

#include <algorithm>
#include <string>

#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/front_end.h"
#include "platform/portable/ui/mnemonic.h"
#include "platform/portable/ui/screen_painter.h"

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

namespace {

int templateMiddleRow(const Window &w) { return floorDiv(w.y + w.cy / 2, 8); }

// The rows of the template a control draws on.
void markDrawnRows(const Window &control, std::vector<bool> &drawn) {
    if (!(control.style & WS_VISIBLE)) return;
    CellRect r = cellRect(control.x, control.y, control.cx, control.cy);
    auto mark = [&drawn](int row) {
        if (row >= 0 && row < static_cast<int>(drawn.size())) drawn[row] = true;
    };
    switch (control.kind) {
    case WindowKind::PushButton:
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
    case WindowKind::Edit: mark(templateMiddleRow(control)); return;
    case WindowKind::GroupBox:
        mark(groupBoxTopRow(control));
        mark(groupBoxBottomRow(control));
        return;
    case WindowKind::Static: {
        int lines = std::min(r.height, staticTextLines(control));
        for (int i = 0; i < lines; ++i) mark(r.top + i);
        return;
    }
    default:
        for (int i = 0; i < r.height; ++i) mark(r.top + i);
        return;
    }
}

std::vector<const Window *> childrenOf(const Window &dialog) {
    std::vector<const Window *> controls;
    for (HWND child : dialog.children)
        if (const Window *control = findWindow(child)) controls.push_back(control);
    return controls;
}

int activeScreenRows() {
    FrontEnd *frontEnd = activeFrontEnd();
    return frontEnd ? frontEnd->rows() : 1 << 20;
}

// The dialog a control is drawn in, or null for one that belongs to none.
const Window *dialogOf(const Window &control) {
    const Window *parent = findWindow(control.parent);
    return parent && parent->kind == WindowKind::Dialog ? parent : nullptr;
}

}  // namespace

int groupBoxTopRow(const Window &box) { return floorDiv(box.y + 4, 8); }
int groupBoxBottomRow(const Window &box) { return floorDiv(box.y + box.cy - 1, 8); }

int DialogRows::shown(int templateRow) const {
    if (shownRow.empty()) return templateRow;
    if (templateRow < 0) return templateRow;
    if (templateRow >= static_cast<int>(shownRow.size()))
        return height + templateRow - static_cast<int>(shownRow.size());
    return shownRow[templateRow];
}

DialogRows dialogRows(const std::vector<const Window *> &controls, int cy, int availableRows) {
    const int rows = cellRect(0, 0, 0, cy).height;
    std::vector<bool> drawn(rows, false), closed(rows, false);
    for (const Window *control : controls) markDrawnRows(*control, drawn);
    int height = rows;
    while (height > availableRows) {
        // The middle row of the longest run of empty rows (the first such run).
        int bestStart = -1, bestLength = 0;
        for (int row = 0; row < rows;) {
            if (drawn[row]) {
                ++row;
                continue;
            }
            int start = row, length = 0;
            for (; row < rows && !drawn[row]; ++row)
                if (!closed[row]) ++length;
            if (length > bestLength) {
                bestStart = start;
                bestLength = length;
            }
        }
        if (bestLength == 0) break;
        int skip = bestLength / 2;
        for (int row = bestStart;; ++row)
            if (!closed[row] && skip-- == 0) {
                closed[row] = true;
                break;
            }
        --height;
    }
    DialogRows result;
    result.height = height;
    int next = 0;
    for (int row = 0; row < rows; ++row) {
        result.shownRow.push_back(next);  // a closed row: where the next kept one is drawn
        if (!closed[row]) ++next;
    }
    return result;
}

DialogRows dialogRows(const Window &dialog, int availableRows) {
    // Asked for by every control as it is drawn or clicked: the last answer
    // is kept while what it depends on stays as it was.
    struct Remembered {
        HWND dialog = nullptr;
        int availableRows = 0;
        std::string controls;
        DialogRows rows;
    };
    static Remembered last;
    std::string controls = std::to_string(dialog.cy);
    for (const Window *control : childrenOf(dialog))
        controls += "|" + std::to_string(control->style) + "," + std::to_string(control->x) + "," +
                    std::to_string(control->y) + "," + std::to_string(control->cx) + "," + std::to_string(control->cy) +
                    "," + control->text;
    if (last.dialog != dialog.handle || last.availableRows != availableRows || last.controls != controls)
        last = Remembered{dialog.handle, availableRows, controls,
                          dialogRows(childrenOf(dialog), dialog.cy, availableRows)};
    return last.rows;
}

CellRect cellRect(const Window &w) {
    CellRect r = cellRect(w.x, w.y, w.cx, w.cy);
    const Window *dialog = dialogOf(w);
    if (!dialog) return r;
    DialogRows rows = dialogRows(*dialog, activeScreenRows() - 2);
    // Down to the row before where the row after the control is drawn: rows
    // closed up at its end go with it, not with what follows.
    int top = rows.shown(r.top), bottom = rows.shown(r.top + r.height) - 1;
    r.top = top;
    r.height = std::max(1, bottom - top + 1);
    return r;
}

CellRect groupBoxFrame(const Window &box) {
    CellRect r;
    r.left = floorDiv(box.x, 4);
    r.width = floorDiv(box.x + box.cx - 1, 4) - r.left + 1;
    int top = groupBoxTopRow(box), bottom = groupBoxBottomRow(box);
    if (const Window *dialog = dialogOf(box)) {
        DialogRows rows = dialogRows(*dialog, activeScreenRows() - 2);
        top = rows.shown(top);
        bottom = rows.shown(bottom);
    }
    r.top = top;
    r.height = bottom - top + 1;
    return r;
}

int middleRow(const Window &w) {
    const Window *dialog = dialogOf(w);
    if (!dialog) return templateMiddleRow(w);
    return dialogRows(*dialog, activeScreenRows() - 2).shown(templateMiddleRow(w));
}

int listVisibleRows(const Window &list) {
    int rows = cellRect(list).height - 2 - (hasHorizontalBar(list) ? 1 : 0);
    return std::max(1, rows);
}

// The sideways scroll bar is there while the extent hides part of the entries.
bool hasHorizontalBar(const Window &list) { return listHorizontalRange(list) > 0; }

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
    if (hasHorizontalBar(list)) {
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
    frame.height = dialogRows(dialog, screenRows - 2).height + 2;
    frame.left = std::max(0, (screenColumns - frame.width) / 2);
    frame.top = std::max(0, (screenRows - frame.height) / 2);
    return frame;
}

CellRect pushButtonFace(const Window &button) {
    CellRect r = cellRect(button);
    const int length = textWidth(withoutMnemonic(button.text).text);
    CellRect face;
    face.top = middleRow(button);
    face.height = 1;
    // The cells the face may take: clear of the frames around it and of a
    // check box's text before it on its row, with a cell between for the
    // focus mark (a blank on the right).
    int first = 1, last = 1 << 20;
    if (const Window *dialog = dialogOf(button)) {
        last = cellRect(0, 0, dialog->cx, dialog->cy).width - 2;
        for (const Window *other : childrenOf(*dialog)) {
            if (!(other->style & WS_VISIBLE) || other == &button) continue;
            if (other->kind == WindowKind::GroupBox) {
                CellRect box = groupBoxFrame(*other);
                int right = box.left + box.width - 1;
                if (face.top > box.top && face.top < box.top + box.height - 1 && r.left > box.left && r.left < right) {
                    first = std::max(first, box.left + 2);
                    last = std::min(last, right - 2);
                }
            } else if ((other->kind == WindowKind::CheckBox || other->kind == WindowKind::RadioButton) &&
                       middleRow(*other) == face.top && cellRect(*other).left < r.left) {
                first = std::max(first, cellRect(*other).left + 4 + textWidth(withoutMnemonic(other->text).text) + 2);
            }
        }
    }
    // "[ OK ]" everywhere, "[OK]" only where there is no room for the blanks.
    face.width = length + 4 <= last - first + 1 ? length + 4 : length + 2;
    face.left = r.left + (r.width - face.width) / 2;
    face.left = std::max(std::min(face.left, last - face.width + 1), first);
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
