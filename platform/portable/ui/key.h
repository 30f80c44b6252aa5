// One key press as the dialog layer sees it, whatever front end produced it,
// and the input events a front end delivers.
#pragma once

namespace corvant::ui {

enum class KeyCode {
    Character,
    Enter,
    Escape,
    Tab,
    BackTab,
    Space,
    Up,
    Down,
    Left,
    Right,
    Home,
    End,
    PageUp,
    PageDown,
    Backspace,
    Delete,
};

struct Key {
    KeyCode code = KeyCode::Character;
    char character = 0;  // for KeyCode::Character
    bool alt = false;
};

enum class InputKind {
    Key,
    Resize,  // the screen changed size and must be drawn again
};

// What a front end reads: a key press, or news about the screen. Further
// kinds (a mouse click) carry their own fields beside the key.
struct InputEvent {
    InputKind kind = InputKind::Key;
    Key key;
};

}  // namespace corvant::ui
