// The keys of the shared dialog tests, natively: the scripted front end
// provides typeKeys, scriptRanDry and busyKeysCameLate itself.
#include "platform/portable/ui/scripted_front_end.h"
#include "tests/dialogs/key_script.h"

namespace corvant::testing {

KeyboardSession::KeyboardSession() { startScriptedFrontEnd(); }

KeyboardSession::~KeyboardSession() { stopScriptedFrontEnd(); }

INT_PTR runKeyedDialog(int templateId, DLGPROC proc, LPARAM initParam, HWND owner) {
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner ? owner : GetDesktopWindow(),
                           proc, initParam);
}

}  // namespace corvant::testing
