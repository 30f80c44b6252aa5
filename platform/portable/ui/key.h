// One key press as the dialog layer sees it, whatever front end produced it,
// and the input events (keys, mouse) a front end delivers.
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
    // For KeyCode::Character: a byte of the character typed; one of several
    // arrives as a key per byte, as a double-byte character does on Windows.
    char character = 0;
    bool alt = false;
    bool pasted = false;  // part of a paste: text for a field, never a command
};

enum class InputKind {
    Key,
    Resize,  // the screen changed size and must be drawn again
    Mouse,
};

// The left button and the wheel; the other buttons do nothing in a dialog.
enum class MouseAction { Press, Release, WheelUp, WheelDown };

struct MouseEvent {
    MouseAction action = MouseAction::Press;
    int column = 0;  // the screen cell, counted from 0
    int row = 0;
};

// What a front end reads: a key press, a mouse button or wheel, or news
// about the screen.
struct InputEvent {
    InputKind kind = InputKind::Key;
    Key key;
    MouseEvent mouse;
};

}  // namespace corvant::ui
