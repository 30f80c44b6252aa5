// One key press as the dialog layer sees it, whatever front end produced it.
#pragma once

namespace corvant::ui {

enum class KeyCode {
    Character, Enter, Escape, Tab, BackTab, Space, Up, Down, Left, Right,
    Home, End, PageUp, PageDown, Backspace, Delete,
    Resize,  // not a key: the screen changed size and must be drawn again
};

struct Key {
    KeyCode code = KeyCode::Character;
    char character = 0;  // for KeyCode::Character
    bool alt = false;
};

}  // namespace corvant::ui
