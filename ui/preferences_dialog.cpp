#include "ui/preferences_dialog.h"

#include "assoc/browser_settings.h"
#include "ui/resources/resource_ids.h"

namespace {

struct FlagBox {
    int control;
    bool BrowserSettings::*flag;
};

const FlagBox flagBoxes[] = {
    {IDC_PREF_HTMLFILE, &BrowserSettings::registerHtmlFile}, {IDC_PREF_HTTP, &BrowserSettings::registerHttp},
    {IDC_PREF_HTTPS, &BrowserSettings::registerHttps},       {IDC_PREF_GOPHER, &BrowserSettings::registerGopher},
    {IDC_PREF_FTP, &BrowserSettings::registerFtp},
};

void showFlags(HWND window) {
    for (const FlagBox &box : flagBoxes) {
        if (browserSettings.*box.flag) {
            SendDlgItemMessageA(window, box.control, BM_SETCHECK, BST_CHECKED, 0);
        }
    }
}

void storeFlags(HWND window) {
    for (const FlagBox &box : flagBoxes) {
        browserSettings.*box.flag = SendDlgItemMessageA(window, box.control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    }
}

}  // namespace

INT_PTR CALLBACK PreferencesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    if (message == WM_INITDIALOG) {
        showFlags(window);
        return TRUE;
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDOK) {
        storeFlags(window);
        EndDialog(window, IDOK);
        return TRUE;
    }
    return FALSE;
}
