#include "platform/portable/ui/edit_field.h"

#include <algorithm>

#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/layout.h"

namespace corvant::ui {

namespace {

constexpr char controlA = 0x01, controlE = 0x05, controlK = 0x0B, controlU = 0x15, controlW = 0x17;

bool isBlank(char c) { return c == ' ' || c == '\t'; }

void moveTo(Window &field, size_t position) { field.cursor = field.anchor = position; }

void erase(Window &field, size_t start, size_t end) {
    field.text.erase(start, end - start);
    moveTo(field, start);
}

// Deletes the selection; false when there is none.
bool eraseSelection(Window &field) {
    size_t start, end;
    fieldSelection(field, start, end);
    if (start == end) return false;
    erase(field, start, end);
    return true;
}

// The keys readline gives these control characters; the selection goes first.
bool lineEditingKey(Window &field, char control) {
    moveTo(field, field.cursor);
    const size_t cursor = field.cursor;
    switch (control) {
    case controlA: moveTo(field, 0); return true;
    case controlE: moveTo(field, field.text.size()); return true;
    case controlU: erase(field, 0, cursor); return true;
    case controlK: erase(field, cursor, field.text.size()); return true;
    case controlW: {
        // Back over blanks, then over the word up to the blank before it.
        size_t start = cursor;
        while (start > 0 && isBlank(field.text[start - 1])) --start;
        while (start > 0 && !isBlank(field.text[start - 1])) --start;
        erase(field, start, cursor);
        return true;
    }
    default: return false;
    }
}

void insert(Window &field, char character) {
    eraseSelection(field);
    field.text.insert(field.cursor, 1, character);
    moveTo(field, field.cursor + 1);
}

}  // namespace

void setFieldText(Window &field, const std::string &text) {
    field.text = text;
    moveTo(field, text.size());
}

void selectAllText(Window &field) {
    field.anchor = 0;
    field.cursor = field.text.size();
}

void fieldSelection(const Window &field, size_t &start, size_t &end) {
    const size_t cursor = std::min(field.cursor, field.text.size());
    const size_t anchor = std::min(field.anchor, field.text.size());
    start = std::min(cursor, anchor);
    end = std::max(cursor, anchor);
}

bool editFieldKey(Window &field, const Key &key) {
    field.cursor = std::min(field.cursor, field.text.size());
    field.anchor = std::min(field.anchor, field.text.size());
    size_t start, end;
    fieldSelection(field, start, end);
    switch (key.code) {
    case KeyCode::Character:
        // A character of several bytes arrives as one message per byte, as
        // on Windows for an ANSI window; the cursor then stands after it.
        if (key.alt || key.character == 0x7f) return false;
        if (static_cast<unsigned char>(key.character) < 0x20)
            return !key.pasted && lineEditingKey(field, key.character);
        insert(field, key.character);
        return true;
    case KeyCode::Space: insert(field, ' '); return true;
    case KeyCode::Backspace:
        if (!eraseSelection(field) && field.cursor > 0)
            erase(field, previousCharacter(field.text, field.cursor), field.cursor);
        return true;
    case KeyCode::Delete:
        if (!eraseSelection(field) && field.cursor < field.text.size())
            erase(field, field.cursor, nextCharacter(field.text, field.cursor));
        return true;
    case KeyCode::Left: moveTo(field, start != end ? start : previousCharacter(field.text, field.cursor)); return true;
    case KeyCode::Right: moveTo(field, start != end ? end : nextCharacter(field.text, field.cursor)); return true;
    case KeyCode::Home: moveTo(field, 0); return true;
    case KeyCode::End: moveTo(field, field.text.size()); return true;
    default: return false;
    }
}

size_t firstShownCharacter(const Window &field) {
    const int width = std::max(1, cellRect(field).width);
    size_t cursor = std::min(field.cursor, field.text.size());
    // Back from the cursor while what lies between, and the cursor's own cell, fits.
    size_t first = cursor;
    while (first > 0) {
        size_t before = previousCharacter(field.text, first);
        if (textWidth(field.text.substr(before, cursor - before)) + 1 > width) break;
        first = before;
    }
    return first;
}

void editFieldClick(Window &field, int column) {
    if (column < 0 || column >= cellRect(field).width) return;
    size_t at = std::min(firstShownCharacter(field), field.text.size());
    for (int used = 0; at < field.text.size();) {
        Glyph glyph = glyphAt(field.text, at);
        if (used + glyph.width > column) break;
        used += glyph.width;
        at += glyph.length;
    }
    moveTo(field, at);
}

}  // namespace corvant::ui
