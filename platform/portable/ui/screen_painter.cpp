#include "platform/portable/ui/screen_painter.h"

#include <algorithm>

#include "platform/portable/ui/dialog_sizes.h"
#include "platform/portable/ui/display_text.h"
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

// Writes a control's text, marking its mnemonic letter.
void writeLabel(Canvas &screen, int column, int row, const DisplayText &label, unsigned attributes) {
    screen.write(column, row, label.text, attributes);
    if (label.mnemonicIndex >= 0)
        screen.put(column + label.mnemonicIndex, row, label.text[label.mnemonicIndex], attributes | attrMnemonic);
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
        int length = textWidth(lines[i]);
        if (type == SS_CENTER)
            indent = std::max(0, (r.width - length) / 2);
        else if (type == SS_RIGHT)
            indent = std::max(0, r.width - length);
        screen.write(o.column + r.left + indent, o.row + r.top + static_cast<int>(i), lines[i], attributes);
    }
    // Mark the mnemonic only on a single-line label, where its place is plain.
    if (shown.mnemonicIndex >= 0 && lines.size() == 1 && shown.text.find('\t') == std::string::npos && type == SS_LEFT)
        screen.put(o.column + r.left + shown.mnemonicIndex, o.row + r.top, shown.text[shown.mnemonicIndex],
                   attributes | attrMnemonic);
}

void paintGroupBox(Canvas &screen, Origin o, const Window &control) {
    CellRect box = groupBoxFrame(control);
    int left = box.left, right = box.left + box.width - 1, top = box.top;
    unsigned attributes = control.enabled ? attrNormal : attrDim;
    frame(screen, o.column + left, o.row + top, box.width, box.height, attributes);
    DisplayText label = withoutMnemonic(control.text);
    // A blank on either side keeps the title off the corners.
    int room = right - left - 3;
    if (!label.text.empty() && room > 0) {
        if (textWidth(label.text) > room) {
            const std::string mark = ellipsis();
            std::string kept;
            for (size_t at = 0; at < label.text.size();) {
                Glyph glyph = glyphAt(label.text, at);
                if (textWidth(kept) + glyph.width + textWidth(mark) > room) break;
                kept += label.text.substr(at, glyph.length);
                at += glyph.length;
            }
            if (label.mnemonicIndex >= static_cast<int>(kept.size())) label.mnemonicIndex = -1;
            label.text = kept + mark;
        }
        label.text = " " + label.text + " ";
        if (label.mnemonicIndex >= 0) ++label.mnemonicIndex;
        writeLabel(screen, o.column + left + 1, o.row + top, label, attributes);
    }
}

// A default push button is drawn "< OK >", any other "[ OK ]"; a disabled
// one on a screen that does not show dimming "  OK  ".
void paintPushButton(Canvas &screen, Origin o, const Window &control, bool focused, bool isDefault) {
    CellRect face = pushButtonFace(control);
    DisplayText label = withoutMnemonic(control.text);
    int length = static_cast<int>(label.text.size());
    int start = o.column + face.left;
    int row = o.row + face.top;
    unsigned attributes = stateAttributes(control, focused) | (isDefault ? attrBold : attrNormal);
    screen.fill(start, row, face.width, 1, ' ', attributes);
    const bool bracketed = control.enabled || screen.dimShown;
    screen.put(start, row, !bracketed ? ' ' : isDefault ? '<' : '[', attributes);
    screen.put(start + face.width - 1, row, !bracketed ? ' ' : isDefault ? '>' : ']', attributes);
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
    const Canvas::Clip dialogClip = screen.clip();
    for (int i = 0; i < rows && list.topIndex + i < count; ++i) {
        int index = list.topIndex + i;
        bool highlighted = index == list.selected;
        // Where Windows draws its focus rectangle: on the caret entry of a
        // list with the focus, also while nothing is highlighted.
        bool caretShown = focused && index == list.caret && !highlighted;
        unsigned itemAttributes = attributes | (highlighted ? attrReverse : caretShown ? attrUnderline : attrNormal);
        screen.put(left + 1, top + 1 + i, highlighted ? '*' : caretShown ? '>' : ' ', attributes);
        screen.fill(left + 2, top + 1 + i, columns, 1, ' ', highlighted ? itemAttributes : attributes);
        // Scrolled sideways by whole cells: the entry starts to the left of its column.
        screen.narrowClip(left + 2, top + 1 + i, columns, 1);
        screen.write(left + 2 - list.horizontalOffset, top + 1 + i, list.items[index], itemAttributes);
        screen.restoreClip(dialogClip);
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
    unsigned attributes = field.enabled ? attrUnderline : attrDim;
    screen.fill(left, row, width, 1, '_', attributes);
    const Canvas::Clip dialogClip = screen.clip();
    screen.narrowClip(left, row, width, 1);
    screen.write(left, row, field.text.substr(first), attributes);
    // The selection shows while the field has the focus.
    size_t start, end;
    fieldSelection(field, start, end);
    start = std::max(start, first);
    if (focused && start < end)
        screen.write(left + textWidth(field.text.substr(first, start - first)), row,
                     field.text.substr(start, end - start), attributes | attrReverse);
    screen.restoreClip(dialogClip);
    if (focused) {
        screen.put(left - 1, row, '>', attrBold);
        screen.cursorColumn = left + textWidth(field.text.substr(first, cursor - first));
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
    // The caption between the corner's line and a line before the other corner.
    std::string title = " " + fitCaption(dialog.text, std::max(0, width - 6)) + " ";
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
        int expandedWidth = 0;
        for (size_t at = 0; at < paragraph.size();) {
            if (paragraph[at] == '\t') {
                int blanks = tabWidth - expandedWidth % tabWidth;
                expanded.append(blanks, ' ');
                expandedWidth += blanks;
                ++at;
                continue;
            }
            Glyph glyph = glyphAt(paragraph, at);
            expanded += paragraph.substr(at, glyph.length);
            expandedWidth += glyph.width;
            at += glyph.length;
        }
        size_t position = 0;
        do {
            // The most whole glyphs from position that fit, and the last blank among them.
            size_t fits = position, blank = std::string::npos;
            for (int used = 0; fits < expanded.size();) {
                Glyph glyph = glyphAt(expanded, fits);
                if (used + glyph.width > width) break;
                if (expanded[fits] == ' ') blank = fits;
                used += glyph.width;
                fits += glyph.length;
            }
            if (fits == expanded.size()) {
                lines.push_back(expanded.substr(position));
                break;
            }
            size_t breakAt = expanded[fits] == ' ' ? fits : blank;
            if (breakAt == std::string::npos || breakAt <= position) {
                if (fits == position) fits += glyphAt(expanded, fits).length;  // wider than the line
                lines.push_back(expanded.substr(position, fits - position));
                position = fits;
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

std::string fitCaption(const std::string &caption, int width) {
    if (textWidth(caption) <= width) return caption;
    const std::string mark = ellipsis();
    const int markWidth = textWidth(mark);
    // The head up to the last " - " stays whole where it leaves room for a
    // little of the rest, whose end is kept.
    size_t split = caption.rfind(" - ");
    if (split != std::string::npos) {
        std::string head = caption.substr(0, split + 3);
        int room = width - textWidth(head) - markWidth;
        if (room >= 8) return head + mark + textTail(caption.substr(split + 3), room);
    }
    return width > markWidth ? mark + textTail(caption, width - markWidth) : textTail(caption, width);
}

const char *ellipsis() { return utf8Text() ? "\xE2\x80\xA6" : "..."; }

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
