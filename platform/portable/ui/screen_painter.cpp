#include "platform/portable/ui/screen_painter.h"

#include <algorithm>

#include "platform/portable/ui/dialog_sizes.h"
#include "platform/portable/ui/edit_field.h"
#include "platform/portable/ui/layout.h"
#include "platform/portable/ui/mnemonic.h"
#include "platform/portable/ui/window.h"

namespace corvant::ui {
namespace {

constexpr int tabWidth = 8;

struct Origin {
    int column;
    int row;
};

void frame(Canvas &screen, int left, int top, int width, int height, unsigned attributes) {
    if (width < 2 || height < 2) return;
    int right = left + width - 1, bottom = top + height - 1;
    for (int c = left + 1; c < right; ++c) {
        screen.putLine(c, top, Line::Horizontal, attributes);
        screen.putLine(c, bottom, Line::Horizontal, attributes);
    }
    for (int r = top + 1; r < bottom; ++r) {
        screen.putLine(left, r, Line::Vertical, attributes);
        screen.putLine(right, r, Line::Vertical, attributes);
    }
    screen.putLine(left, top, Line::TopLeft, attributes);
    screen.putLine(right, top, Line::TopRight, attributes);
    screen.putLine(left, bottom, Line::BottomLeft, attributes);
    screen.putLine(right, bottom, Line::BottomRight, attributes);
}

// Writes a control's text, underlining its mnemonic letter.
void writeLabel(Canvas &screen, int column, int row, const DisplayText &label, unsigned attributes) {
    screen.write(column, row, label.text, attributes);
    if (label.mnemonicIndex >= 0)
        screen.put(column + label.mnemonicIndex, row, label.text[label.mnemonicIndex], attributes | attrUnderline);
}

unsigned stateAttributes(const Window &control, bool focused) {
    unsigned attributes = attrNormal;
    if (!control.enabled) attributes |= attrDim;
    if (focused) attributes |= attrReverse;
    return attributes;
}

void focusMarker(Canvas &screen, int column, int row) {
    screen.put(column - 1, row, '>', attrBold);
    screen.cursorColumn = column;
    screen.cursorRow = row;
}

bool drawsText(const Window &control) {
    DWORD type = control.style & SS_TYPEMASK;
    return type == SS_LEFT || type == SS_CENTER || type == SS_RIGHT || type == SS_LEFTNOWORDWRAP;
}

DisplayText staticText(const Window &control) {
    return control.style & SS_NOPREFIX ? DisplayText{control.text, -1} : withoutMnemonic(control.text);
}

// The lines of a label, wrapped at its width (which closing up rows leaves as it is).
std::vector<std::string> staticLines(const Window &control) {
    int width = (control.style & SS_TYPEMASK) == SS_LEFTNOWORDWRAP
                    ? 1 << 20
                    : cellRect(control.x, control.y, control.cx, control.cy).width;
    return wrapText(staticText(control).text, width);
}

void paintStatic(Canvas &screen, Origin o, const Window &control) {
    if (!drawsText(control)) return;
    DWORD type = control.style & SS_TYPEMASK;
    CellRect r = cellRect(control);
    DisplayText shown = staticText(control);
    std::vector<std::string> lines = staticLines(control);
    unsigned attributes = control.enabled ? attrNormal : attrDim;
    for (size_t i = 0; i < lines.size() && static_cast<int>(i) < r.height; ++i) {
        int indent = 0;
        int length = static_cast<int>(lines[i].size());
        if (type == SS_CENTER)
            indent = std::max(0, (r.width - length) / 2);
        else if (type == SS_RIGHT)
            indent = std::max(0, r.width - length);
        screen.write(o.column + r.left + indent, o.row + r.top + static_cast<int>(i), lines[i], attributes);
    }
    // Underline the mnemonic only on a single-line label, where its place is plain.
    if (shown.mnemonicIndex >= 0 && lines.size() == 1 && shown.text.find('\t') == std::string::npos && type == SS_LEFT)
        screen.put(o.column + r.left + shown.mnemonicIndex, o.row + r.top, shown.text[shown.mnemonicIndex],
                   attributes | attrUnderline);
}

void paintGroupBox(Canvas &screen, Origin o, const Window &control) {
    CellRect box = groupBoxFrame(control);
    int left = box.left, right = box.left + box.width - 1, top = box.top;
    unsigned attributes = control.enabled ? attrNormal : attrDim;
    frame(screen, o.column + left, o.row + top, box.width, box.height, attributes);
    DisplayText label = withoutMnemonic(control.text);
    int room = right - left - 1;
    if (!label.text.empty() && room > 2) {
        label.text = " " + label.text + " ";
        if (static_cast<int>(label.text.size()) > room) label.text = label.text.substr(0, room);
        if (label.mnemonicIndex + 1 >= room) label.mnemonicIndex = -1;
        if (label.mnemonicIndex >= 0) ++label.mnemonicIndex;
        writeLabel(screen, o.column + left + 1, o.row + top, label, attributes);
    }
}

// A default push button is drawn "< OK >", any other "[ OK ]".
void paintPushButton(Canvas &screen, Origin o, const Window &control, bool focused, bool isDefault) {
    CellRect face = pushButtonFace(control);
    DisplayText label = withoutMnemonic(control.text);
    int length = static_cast<int>(label.text.size());
    int start = o.column + face.left;
    int row = o.row + face.top;
    unsigned attributes = stateAttributes(control, focused) | (isDefault ? attrBold : attrNormal);
    screen.fill(start, row, face.width, 1, ' ', attributes);
    screen.put(start, row, isDefault ? '<' : '[', attributes);
    screen.put(start + face.width - 1, row, isDefault ? '>' : ']', attributes);
    writeLabel(screen, start + 1 + (face.width - 2 - length) / 2, row, label, attributes);
    if (focused) focusMarker(screen, start, row);
}

void paintCheckable(Canvas &screen, Origin o, const Window &control, bool focused) {
    CellRect r = cellRect(control);
    int column = o.column + r.left, row = o.row + middleRow(control);
    bool radio = control.kind == WindowKind::RadioButton;
    std::string box = radio ? (control.check ? "(*)" : "( )")
                            : (control.check == BST_CHECKED ? "[X]"
                               : control.check              ? "[?]"
                                                            : "[ ]");
    unsigned attributes = stateAttributes(control, false);
    screen.write(column, row, box + " ", attributes);
    writeLabel(screen, column + 4, row, withoutMnemonic(control.text), stateAttributes(control, focused));
    if (focused) focusMarker(screen, column, row);
}

void paintListBox(Canvas &screen, Origin o, const Window &list, bool focused) {
    CellRect r = cellRect(list);
    int left = o.column + r.left, top = o.row + r.top;
    unsigned attributes = list.enabled ? attrNormal : attrDim;
    screen.fill(left, top, r.width, r.height, ' ');
    frame(screen, left, top, r.width, r.height, attributes);
    int rows = listVisibleRows(list), columns = listTextColumns(list);
    int count = static_cast<int>(list.items.size());
    for (int i = 0; i < rows && list.topIndex + i < count; ++i) {
        int index = list.topIndex + i;
        const std::string &item = list.items[index];
        std::string visible = static_cast<int>(item.size()) > list.horizontalOffset
                                  ? item.substr(list.horizontalOffset, columns)
                                  : std::string();
        bool highlighted = index == list.selected;
        unsigned itemAttributes = attributes | (highlighted ? attrReverse : attrNormal);
        screen.put(left + 1, top + 1 + i, highlighted ? '*' : ' ', attributes);
        screen.fill(left + 2, top + 1 + i, columns, 1, ' ', highlighted ? itemAttributes : attributes);
        screen.write(left + 2, top + 1 + i, visible, itemAttributes);
    }
    // Scroll bars: a track with a thumb, drawn as dots while there is nothing to scroll.
    const ListScrollBars bars = listScrollBars(list);
    if (bars.verticalColumn >= 0) {
        for (int i = 1; i <= rows; ++i) {
            if (bars.verticalThumbRow < 0)
                screen.put(left + bars.verticalColumn, top + i, '.', attrDim);
            else
                screen.putLine(left + bars.verticalColumn, top + i,
                               i == bars.verticalThumbRow ? Line::Thumb : Line::VerticalTrack, attributes);
        }
    }
    if (bars.horizontalRow >= 0) {
        for (int i = 1; i <= bars.horizontalLength; ++i) {
            if (bars.horizontalThumbColumn < 0)
                screen.put(left + i, top + bars.horizontalRow, '.', attrDim);
            else
                screen.putLine(left + i, top + bars.horizontalRow,
                               i == bars.horizontalThumbColumn ? Line::Thumb : Line::HorizontalTrack, attributes);
        }
    }
    if (focused) {
        focusMarker(screen, left, top);
        screen.cursorColumn = left + 2;
        screen.cursorRow = top + 1 + std::max(0, std::min(rows - 1, list.caret - list.topIndex));
    }
}

void paintEdit(Canvas &screen, Origin o, const Window &field, bool focused) {
    CellRect r = cellRect(field);
    int left = o.column + r.left, row = o.row + middleRow(field);
    int width = std::max(1, r.width);
    size_t cursor = std::min(field.cursor, field.text.size());
    size_t first = firstShownCharacter(field);
    std::string shown = field.text.substr(first, width);
    unsigned attributes = field.enabled ? attrUnderline : attrDim;
    screen.fill(left, row, width, 1, '_', attributes);
    screen.write(left, row, shown, attributes);
    if (focused) {
        screen.put(left - 1, row, '>', attrBold);
        screen.cursorColumn = left + static_cast<int>(cursor - first);
        screen.cursorRow = row;
    }
}

// As on Windows, a push button with the focus is the default one; while the
// focus is elsewhere, the template's default push button is.
bool isDefaultButton(const Window &dialog, const Window &button) {
    const Window *focus = findWindow(dialog.focus);
    if (focus && focus->parent == dialog.handle && focus->kind == WindowKind::PushButton) return focus == &button;
    return (button.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON;
}

// The shadow falls one row below the dialog and two columns to its right, as
// a character cell is about twice as high as it is wide.
void castShadow(Canvas &screen, const CellRect &frame) {
    screen.setSurface(frame.left + 2, frame.top + frame.height, frame.width, 1, Surface::Shadow);
    screen.setSurface(frame.left + frame.width, frame.top + 1, 2, frame.height, Surface::Shadow);
}

void paintDialog(Canvas &screen, const Window &dialog, bool active) {
    CellRect place = dialogFrame(dialog, screen.columns(), screen.rows());
    int left = place.left, top = place.top, width = place.width, height = place.height;
    castShadow(screen, place);
    screen.fill(left, top, width, height, ' ');
    screen.setSurface(left, top, width, height, Surface::Dialog);
    frame(screen, left, top, width, height, attrNormal);
    std::string title = " " + dialog.text + " ";
    if (static_cast<int>(title.size()) > width - 4) title = title.substr(0, std::max(0, width - 4));
    screen.write(left + 2, top, title, attrTitle);

    screen.setClip(left + 1, top + 1, width - 2, height - 2);
    Origin o{left + 1, top + 1};
    for (HWND child : dialog.children) {
        const Window *control = findWindow(child);
        if (!control || !(control->style & WS_VISIBLE)) continue;
        bool focused = active && dialog.focus == child;
        switch (control->kind) {
        case WindowKind::Static: paintStatic(screen, o, *control); break;
        case WindowKind::GroupBox: paintGroupBox(screen, o, *control); break;
        case WindowKind::PushButton:
            paintPushButton(screen, o, *control, focused, isDefaultButton(dialog, *control));
            break;
        case WindowKind::RadioButton:
        case WindowKind::CheckBox: paintCheckable(screen, o, *control, focused); break;
        case WindowKind::ListBox: paintListBox(screen, o, *control, focused); break;
        case WindowKind::Edit: paintEdit(screen, o, *control, focused); break;
        default: break;
        }
    }
    screen.clearClip();
    if (!active) screen.addAttributes(left, top, width, height, attrDim);
}

}  // namespace

int staticTextLines(const Window &control) {
    return drawsText(control) ? static_cast<int>(staticLines(control).size()) : 0;
}

std::vector<std::string> wrapText(const std::string &text, int width) {
    std::vector<std::string> lines;
    width = std::max(1, width);
    size_t start = 0;
    for (;;) {
        size_t end = text.find('\n', start);
        std::string paragraph = text.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        std::string expanded;
        for (char c : paragraph) {
            if (c == '\t')
                expanded.append(tabWidth - expanded.size() % tabWidth, ' ');
            else
                expanded += c;
        }
        size_t position = 0;
        do {
            size_t remaining = expanded.size() - position;
            if (remaining <= static_cast<size_t>(width)) {
                lines.push_back(expanded.substr(position));
                break;
            }
            size_t breakAt = expanded.rfind(' ', position + width);
            if (breakAt == std::string::npos || breakAt <= position) {
                lines.push_back(expanded.substr(position, width));
                position += width;
            } else {
                lines.push_back(expanded.substr(position, breakAt - position));
                position = breakAt + 1;
            }
            while (position < expanded.size() && expanded[position] == ' ') ++position;
        } while (position < expanded.size());
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

void requiredScreenSize(const std::vector<HWND> &dialogs, int &columns, int &rows) {
    columns = rows = 0;
    for (HWND handle : dialogs)
        if (const Window *dialog = findWindow(handle)) {
            CellRect frame = dialogFrame(*dialog, 0, 0);
            columns = std::max(columns, frame.width);
            rows = std::max(rows, frame.height);
        }
}

bool screenTooSmall(int columns, int rows, const std::vector<HWND> &dialogs) {
    int needColumns, needRows;
    requiredScreenSize(dialogs, needColumns, needRows);
    return columns < needColumns || rows < needRows;
}

void paintScreen(Canvas &screen, const std::vector<HWND> &dialogs) {
    if (screenTooSmall(screen.columns(), screen.rows(), dialogs)) {
        // The size named is the one every dialog fits, so that one enlarging is enough.
        int needColumns, needRows, openColumns, openRows;
        programScreenSize(needColumns, needRows);
        requiredScreenSize(dialogs, openColumns, openRows);
        needColumns = std::max(needColumns, openColumns);
        needRows = std::max(needRows, openRows);
        std::string message = "The terminal is too small: Corvant needs at least " + std::to_string(needColumns) + "x" +
                              std::to_string(needRows) + " characters (columns x rows), this one has " +
                              std::to_string(screen.columns()) + "x" + std::to_string(screen.rows()) +
                              ". Please enlarge it.";
        std::vector<std::string> lines = wrapText(message, screen.columns());
        for (size_t i = 0; i < lines.size(); ++i) screen.write(0, static_cast<int>(i), lines[i]);
        return;
    }
    for (size_t i = 0; i < dialogs.size(); ++i)
        if (const Window *dialog = findWindow(dialogs[i])) paintDialog(screen, *dialog, i + 1 == dialogs.size());
}

}  // namespace corvant::ui
