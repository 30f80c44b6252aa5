// The terminal front end: draws the dialog screen with ncurses and reads the
// keyboard and the mouse. The terminal is restored by stop(), at exit, and on
// the signals that end the program.
//
// Frames are drawn with the terminal's line drawing characters (box drawing
// in a UTF-8 locale) unless its description has none; then in ASCII. Where
// the terminal has colours and NO_COLOR is not set, the screen is coloured
// as terminal dialogs usually are; otherwise reverse video and bold show the
// focus and the default button.
#pragma once

namespace corvant::ui {

// False when standard input or output is not a terminal ncurses can drive.
bool startTerminalFrontEnd();
// The same on another terminal (a pseudo-terminal in the tests): its input
// and output, which are not closed, and its type.
bool startTerminalFrontEnd(int input, int output, const char *terminalType);
void stopTerminalFrontEnd();

}  // namespace corvant::ui
