#include "tests/dialogs/recording_dialog.h"

#include <algorithm>
#include <utility>
#include <map>

namespace corvant::testing {
namespace {

std::map<HWND, RecordingDialog *> &running() {
    static std::map<HWND, RecordingDialog *> dialogs;
    return dialogs;
}

INT_PTR CALLBACK recordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto *dialog = reinterpret_cast<RecordingDialog *>(lParam);
        dialog->window = window;
        running()[window] = dialog;
        return dialog->onInit(window);
    }
    auto found = running().find(window);
    if (found == running().end() || message != WM_COMMAND) return FALSE;
    RecordingDialog *dialog = found->second;
    dialog->commands.push_back({LOWORD(wParam), HIWORD(wParam)});
    return dialog->onCommand(window, LOWORD(wParam));
}

}  // namespace

std::vector<int> RecordingDialog::clicks() const {
    std::vector<int> ids;
    for (const Command &command : commands)
        if (command.code == BN_CLICKED) ids.push_back(command.id);
    return ids;
}

INT_PTR runRecordingDialog(int templateId, RecordingDialog &dialog, HWND owner) {
    INT_PTR result = runKeyedDialog(templateId, recordingProc, reinterpret_cast<LPARAM>(&dialog), owner);
    if (dialog.window) running().erase(dialog.window);
    return result;
}

std::function<BOOL(HWND, int)> endOn(std::vector<int> ids) {
    return [ids](HWND window, int id) {
        if (std::find(ids.begin(), ids.end(), id) == ids.end()) return FALSE;
        EndDialog(window, id);
        return TRUE;
    };
}

void runNestedRecordingDialogs(RecordingDialog &outer, RecordingDialog &inner, std::vector<int> innerEnds) {
    outer.onCommand = [&inner](HWND window, int id) {
        if (id == IDC_NESTED) runRecordingDialog(IDD_DEFAULT_BUTTON, inner, window);
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    inner.onCommand = endOn(std::move(innerEnds));
    runRecordingDialog(IDD_CONTROLS, outer);
}

}  // namespace corvant::testing
