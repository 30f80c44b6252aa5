#include "platform/portable/ui/edit_field.h"

#include <algorithm>

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
        if (key.alt || static_cast<unsigned char>(key.character) < 0x20) return false;
        field.text.insert(field.cursor++, 1, key.character);
        return true;
    case KeyCode::Space: field.text.insert(field.cursor++, 1, ' '); return true;
    case KeyCode::Backspace:
        if (field.cursor > 0) field.text.erase(--field.cursor, 1);
        return true;
    case KeyCode::Delete:
        if (field.cursor < field.text.size()) field.text.erase(field.cursor, 1);
        return true;
    case KeyCode::Left:
        if (field.cursor > 0) --field.cursor;
        return true;
    case KeyCode::Right:
        if (field.cursor < field.text.size()) ++field.cursor;
        return true;
    case KeyCode::Home: field.cursor = 0; return true;
    case KeyCode::End: field.cursor = field.text.size(); return true;
    default: return false;
    }
}

size_t firstShownCharacter(const Window &field) {
    size_t width = static_cast<size_t>(std::max(1, cellRect(field).width));
    size_t cursor = std::min(field.cursor, field.text.size());
    return cursor >= width ? cursor - width + 1 : 0;
}

void editFieldClick(Window &field, int column) {
    if (column < 0 || column >= cellRect(field).width) return;
    field.cursor = std::min(firstShownCharacter(field) + static_cast<size_t>(column), field.text.size());
}

}  // namespace corvant::ui
