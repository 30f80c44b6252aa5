// The terminal front end: draws the dialog screen with ncurses and reads the
// keyboard. The terminal is restored by stop(), at exit, and on the signals
// that end the program.
#pragma once

namespace corvant::ui {

// False when standard input or output is not a terminal ncurses can drive.
bool startTerminalFrontEnd();
void stopTerminalFrontEnd();

}  // namespace corvant::ui
