#include "ui/main_dialog.h"

#include "assoc/apply.h"
#include "assoc/browser_settings.h"
#include "assoc/main_window.h"
#include "ui/auto_find_command.h"
#include "ui/browser_file_dialog.h"
#include "ui/maker.h"
#include "ui/preferences_dialog.h"
#include "ui/program_instance.h"
#include "ui/resources/resource_ids.h"
#include "ui/shell_request.h"
#include "ui/success_box.h"

namespace {

// "&Specify location...": the associations are written as soon as the
// executable is known.
INT_PTR specifyLocation(HWND window) {
    if (!chooseBrowserExecutable(window)) {
        return FALSE;
    }
    if (applyAssociations()) {
        showSuccessBox();
    }
    return TRUE;
}

INT_PTR onCommand(HWND window, int command) {
    switch (command) {
    case IDOK:
    case IDCANCEL: EndDialog(window, command); return TRUE;
    case IDC_NETSCAPE:
        browserSettings.browserIsOther = false;
        browserSettings.browserIsNetscape = true;
        return TRUE;
    case IDC_INTERNET_EXPLORER:
        browserSettings.browserIsNetscape = false;
        browserSettings.browserIsOther = false;
        return TRUE;
    case IDC_OTHER_BROWSERS:
        // Other browsers are given the Netscape-style DDE settings.
        browserSettings.browserIsOther = true;
        browserSettings.browserIsNetscape = true;
        return TRUE;
    case IDC_SPECIFY_LOCATION: return specifyLocation(window);
    case IDC_TEST_BROWSER: openForUser(window, makerWebAddress, nullptr); return TRUE;
    case IDC_AUTO_FIND: return runAutoFind(window);
    case IDC_PREFERENCES:
        DialogBoxParamA(programInstance, MAKEINTRESOURCEA(IDD_PREFERENCES), window, PreferencesDialogProc, 0);
        return TRUE;
    default: return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        mainDialogWindow = window;
        // The check mark and the settings agree from the start.
        SendDlgItemMessageA(window, IDC_NETSCAPE, BM_SETCHECK, BST_CHECKED, 0);
        browserSettings.browserIsNetscape = true;
        return TRUE;
    case WM_COMMAND: return onCommand(window, LOWORD(wParam));
    default: return FALSE;
    }
}
