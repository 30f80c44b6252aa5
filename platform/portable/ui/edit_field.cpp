#include "platform/portable/ui/edit_field.h"

#include <algorithm>

#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/layout.h"

namespace corvant::ui {

void setFieldText(Window &field, const std::string &text) {
    field.text = text;
    field.cursor = text.size();
}

bool editFieldKey(Window &field, const Key &key) {
    field.cursor = std::min(field.cursor, field.text.size());
    switch (key.code) {
    case KeyCode::Character:
        // A character of several bytes arrives as one message per byte, as
        // on Windows for an ANSI window; the cursor then stands after it.
        if (key.alt || static_cast<unsigned char>(key.character) < 0x20 || key.character == 0x7f) return false;
        field.text.insert(field.cursor++, 1, key.character);
        return true;
    case KeyCode::Space: field.text.insert(field.cursor++, 1, ' '); return true;
    case KeyCode::Backspace:
        if (field.cursor > 0) {
            size_t start = previousCharacter(field.text, field.cursor);
            field.text.erase(start, field.cursor - start);
            field.cursor = start;
        }
        return true;
    case KeyCode::Delete:
        if (field.cursor < field.text.size())
            field.text.erase(field.cursor, nextCharacter(field.text, field.cursor) - field.cursor);
        return true;
    case KeyCode::Left: field.cursor = previousCharacter(field.text, field.cursor); return true;
    case KeyCode::Right: field.cursor = nextCharacter(field.text, field.cursor); return true;
    case KeyCode::Home: field.cursor = 0; return true;
    case KeyCode::End: field.cursor = field.text.size(); return true;
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
    field.cursor = at;
}

}  // namespace corvant::ui
