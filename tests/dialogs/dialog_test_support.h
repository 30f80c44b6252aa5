// The native dialog-layer tests: recording dialogs on the scripted screen.
#pragma once

#include "platform/portable/ui/scripted_front_end.h"
#include "tests/dialogs/recording_dialog.h"

namespace corvant::testing {

// Starts the scripted front end for one test and stops it afterwards.
class ScriptedScreen {
public:
    explicit ScriptedScreen(int columns = 120, int rows = 50) { startScriptedFrontEnd(columns, rows); }
    ~ScriptedScreen() { stopScriptedFrontEnd(); }
    ScriptedScreen(const ScriptedScreen &) = delete;
    ScriptedScreen &operator=(const ScriptedScreen &) = delete;
};

}  // namespace corvant::testing
