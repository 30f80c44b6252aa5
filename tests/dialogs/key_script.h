// Keys typed at the dialogs a test runs, the same way in both builds:
// natively through the scripted front end, on Windows (Wine) as real key
// presses (SendInput), each one sent when the dialog waits for input.
#pragma once

#include <string>

#include "platform/win32.h"

namespace corvant::testing {

// A keyboard (natively with the scripted screen) for one test.
class KeyboardSession {
public:
    KeyboardSession();
    ~KeyboardSession();
    KeyboardSession(const KeyboardSession &) = delete;
    KeyboardSession &operator=(const KeyboardSession &) = delete;
};

// Queues keys in the scripted front end's notation: characters, {Enter}
// {Esc} {Tab} {S-Tab} {Space} {Up} {Down} {Left} {Right} {Home} {End} {PgUp}
// {PgDn} {Backspace} {A-x}. A key is typed once the dialog waits for input;
// after {Busy} the next key is typed instead while the dialog is busy with a
// command and looks for waiting input itself. Busy keys one after the other
// come at the same look; a busy {Pass} lets one look go by without a key.
// The mouse's left button: {Click:TEXT} presses and releases it on the
// control whose caption holds TEXT, {Press:TEXT} and {Release:TEXT} do one
// of the two (natively on the first character of TEXT on the screen, on
// Windows in the middle of the control; a TEXT that is not there counts as
// the script running dry on Windows and throws natively).
// ({Snap}, {Resize}, the wheel and clicks on a cell, {Click:COLUMN,ROW}, are
// for the scripted screen; Windows skips them.)
void typeKeys(const std::string &script);

// True once a dialog waited for a key after the script had run out; that
// dialog (natively every open one) was then ended with -1.
bool scriptRanDry();
// True once a {Busy} key was still waiting when the dialog was idle again.
bool busyKeysCameLate();

// Runs a dialog from the program's resources so that the keys reach it. On
// Windows its procedure is called through the script's own, which types
// the keys; a dialog that the procedure opens must be run this way too.
INT_PTR runKeyedDialog(int templateId, DLGPROC proc, LPARAM initParam, HWND owner = nullptr);

}  // namespace corvant::testing
