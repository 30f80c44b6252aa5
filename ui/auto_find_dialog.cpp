#include "ui/auto_find_dialog.h"

#include "assoc/browser_settings.h"
#include "search/tree_search.h"
#include "ui/resources/resource_ids.h"

namespace {

// Wide enough for the long paths a search can turn up.
constexpr WPARAM resultListExtent = 600;

void enableControl(HWND window, int control, bool enable) {
    EnableWindow(GetDlgItem(window, control), enable ? TRUE : FALSE);
}

void startSearch(HWND window) {
    // The list is filled at most once per opening.
    enableControl(window, IDC_SEARCH_START, false);
    searchTree();
    enableControl(window, IDC_SEARCH_ACCEPT, true);
}

// Copies the entry with the caret into browserPath. An empty list copies
// nothing, so browserPath keeps the path chosen before (if any). False for an
// entry that would not fit browserPath; the dialog then stays open.
bool takeChosenEntry(HWND window) {
    HWND list = GetDlgItem(window, IDC_SEARCH_RESULTS);
    LRESULT index = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length == LB_ERR) {
        return true;
    }
    if (length < 0 || static_cast<size_t>(length) >= browserPathSize) {
        return false;
    }
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(browserSettings.browserPath));
    return true;
}

INT_PTR onCommand(HWND window, int command) {
    switch (command) {
    case IDCANCEL:
        EndDialog(window, 0);
        return TRUE;
    case IDC_SEARCH_START:
        startSearch(window);
        return TRUE;
    case IDC_SEARCH_ACCEPT:
        if (takeChosenEntry(window)) {
            EndDialog(window, IDOK);
        }
        return TRUE;
    default:
        return FALSE;
    }
}

}  // namespace

INT_PTR CALLBACK AutoFindDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        enableControl(window, IDC_SEARCH_ACCEPT, false);
        resultList = GetDlgItem(window, IDC_SEARCH_RESULTS);
        SendMessageA(resultList, LB_SETHORIZONTALEXTENT, resultListExtent, 0);
        return TRUE;
    case WM_COMMAND:
        return onCommand(window, LOWORD(wParam));
    default:
        return FALSE;
    }
}
