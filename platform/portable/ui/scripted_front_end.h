// A front end for the native tests: instead of a terminal, the dialog layer
// reads its keys from a script and draws into an in-memory screen that the
// test can read back as plain text. Nothing here exists in the Windows build.
#pragma once

#include <string>
#include <vector>

#include "platform/portable/types.h"
#include "platform/portable/ui/canvas.h"

namespace corvant::testing {

// Replaces the terminal with an in-memory screen of this size and forgets
// every queued key, snapshot and open window. With utf8, text is laid out
// as in a UTF-8 locale, which the process's LC_CTYPE then is.
void startScriptedFrontEnd(int columns = 120, int rows = 50, bool utf8 = false);
void stopScriptedFrontEnd();
// Until the next start, the screen is drawn as for a terminal that cannot
// show dimmed cells (TERM=vt100).
void showWithoutDimming();

// Queues keys. Plain characters stand for themselves; named keys are written
// in braces: {Enter} {Esc} {Tab} {S-Tab} {Space} {Up} {Down} {Left} {Right}
// {Home} {End} {PgUp} {PgDn} {Backspace} {A-x} (Alt+x) {C-x} (Ctrl+x, a to
// z). {Snap} records the
// screen when the script reaches it; {Resize:COLSxROWS} resizes the screen.
// "{{" stands for a literal "{".
// The mouse: {Click:WHERE} presses and releases the left button, {Press:WHERE}
// and {Release:WHERE} do one of the two, {WheelUp:WHERE} and {WheelDown:WHERE}
// turn the wheel one notch. WHERE is a screen cell, "COLUMN,ROW" counted
// from 0, or a text: the first cell of its first appearance on the screen as
// the step arrives (a text that is not there throws std::invalid_argument).
// A click is released where it was pressed.
// A step arrives once the dialog waits for input. After {Busy} the next step
// arrives instead while the dialog is busy with a command and looks for
// waiting input itself (PeekMessageA until it answers FALSE); {Busy} steps
// one after the other arrive at the same look, and a busy {Pass} ends a look
// without a key: "{Busy}{Pass}{Busy}{Esc}" brings Escape at the second look.
void typeKeys(const std::string &script);

// The current screen, one line per row (glyphs beyond ASCII in UTF-8).
std::string screenText();
// The screens recorded by {Snap}, in order.
std::vector<std::string> snapshots();
// The same screens with every cell's attributes, lines and surface.
ui::Canvas screenCanvas();
std::vector<ui::Canvas> snapshotCanvases();

// True once a dialog wanted a key after the script had run out. Every open
// dialog is then ended with -1, so a test never waits for input.
bool scriptRanDry();
// True once a {Busy} step was still there when the dialog waited for input
// again: the command ended before it looked for input.
bool busyKeysCameLate();

// GetTickCount answers a clock that moves on by this many milliseconds at
// every call, so that work which looks at the time does so in a fixed
// rhythm (0 returns to the real clock).
void setClockStep(unsigned long milliseconds);

// A list box window that belongs to no dialog (for code that only fills one).
HWND createStandaloneListBox(unsigned long style);
void destroyStandaloneWindow(HWND window);

// Where no registered program can open an address, ShellExecuteA starts
// this program instead of xdg-open ("" restores it).
void setUrlOpener(const std::string &program);

}  // namespace corvant::testing
