// Runs the test templates with a procedure that records what it receives,
// with the keys of the key script (both builds).
#pragma once

#include <functional>
#include <vector>

#include "platform/win32.h"
#include "test_dialog_ids.h"
#include "tests/dialogs/key_script.h"

namespace corvant::testing {

struct Command {
    int id;
    int code;
};

struct RecordingDialog {
    // Called on WM_INITDIALOG; its result is the procedure's.
    std::function<BOOL(HWND)> onInit = [](HWND) { return TRUE; };
    // Called for every WM_COMMAND after it is recorded; its result is the procedure's.
    std::function<BOOL(HWND, int id)> onCommand = [](HWND, int) { return FALSE; };
    std::vector<Command> commands;
    HWND window = nullptr;

    // Only the identifiers of BN_CLICKED commands, in order.
    std::vector<int> clicks() const;
};

INT_PTR runRecordingDialog(int templateId, RecordingDialog &dialog, HWND owner = nullptr);

// Runs the controls dialog as `outer`, which opens the default-button dialog
// as `inner` on its "nested" command and ends on Cancel; `inner` ends on one
// of `innerEnds`.
void runNestedRecordingDialogs(RecordingDialog &outer, RecordingDialog &inner, std::vector<int> innerEnds);

// Ends the dialog with the command's identifier when it is one of `ids`.
std::function<BOOL(HWND, int)> endOn(std::vector<int> ids);

}  // namespace corvant::testing
