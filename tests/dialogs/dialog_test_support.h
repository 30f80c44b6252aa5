// Runs the test templates with a procedure that records what it receives.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/portable/ui/scripted_front_end.h"
#include "platform/win32.h"
#include "test_dialog_ids.h"

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

// Ends the dialog with the command's identifier when it is one of `ids`.
std::function<BOOL(HWND, int)> endOn(std::vector<int> ids);

// Starts the scripted front end for one test and stops it afterwards.
class ScriptedScreen {
public:
    explicit ScriptedScreen(int columns = 120, int rows = 50) { startScriptedFrontEnd(columns, rows); }
    ~ScriptedScreen() { stopScriptedFrontEnd(); }
    ScriptedScreen(const ScriptedScreen &) = delete;
    ScriptedScreen &operator=(const ScriptedScreen &) = delete;
};

}  // namespace corvant::testing
