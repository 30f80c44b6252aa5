#include "ui/auto_find_dialog.h"

#include "assoc/browser_settings.h"
#include "search/tree_search.h"
#include "ui/resources/resource_ids.h"
#include "ui/list_extent.h"
#include "ui/search_progress.h"

namespace {

constexpr int captionSize = 128;

enum class Stage { Ready, Searching, Searched };

// The one Auto find dialog that can be open (it is modal).
struct AutoFind {
    Stage stage = Stage::Ready;
    SearchProgress *progress = nullptr;  // while searching
    char caption[captionSize] = "";
};
AutoFind autoFind;

void enableControl(HWND window, int control, bool enable) {
    EnableWindow(GetDlgItem(window, control), enable ? TRUE : FALSE);
}

// Moves the focus the way the dialog manager does, so that the default
// button and the keyboard follow it.
void focusControl(HWND window, int control) {
    SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, control)), TRUE);
}

void startSearch(HWND window) {
    // Nothing that has been disabled may keep the focus: the keyboard would
    // be left with nowhere to go. The list takes it while it fills.
    focusControl(window, IDC_SEARCH_RESULTS);
    enableControl(window, IDC_SEARCH_START, false);
    autoFind.stage = Stage::Searching;
    SetCursor(LoadCursorA(nullptr, IDC_WAIT));

    SearchProgress progress(window, autoFind.caption);
    autoFind.progress = &progress;
    searchTree(progress);
    autoFind.progress = nullptr;
    SetCursor(LoadCursorA(nullptr, IDC_ARROW));

    if (progress.cancelled()) {
        EndDialog(window, 0);
        return;
    }
    autoFind.stage = Stage::Searched;
    const LRESULT found = SendDlgItemMessageA(window, IDC_SEARCH_RESULTS, LB_GETCOUNT, 0, 0);
    progress.showResult(found);
    fitHorizontalExtent(GetDlgItem(window, IDC_SEARCH_RESULTS));
    // With nothing found there is nothing to accept.
    if (found > 0) {
        enableControl(window, IDC_SEARCH_ACCEPT, true);
        focusControl(window, IDC_SEARCH_RESULTS);
    } else {
        focusControl(window, IDCANCEL);
    }
}

// Copies the entry with the caret into browserPath. False when there is no
// entry, or one that would not fit browserPath; the dialog then stays open.
bool takeChosenEntry(HWND window) {
    HWND list = GetDlgItem(window, IDC_SEARCH_RESULTS);
    LRESULT index = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
    if (length < 0 || static_cast<size_t>(length) >= browserPathSize) {
        return false;
    }
    SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(browserSettings.browserPath));
    return true;
}

INT_PTR onCommand(HWND window, int command) {
    switch (command) {
    case IDCANCEL:
        // During the search the walk is stopped first; the dialog ends once
        // it has unwound.
        if (autoFind.progress) {
            autoFind.progress->cancel();
        } else {
            EndDialog(window, 0);
        }
        return TRUE;
    case IDC_SEARCH_START:
        // The list is filled at most once per opening.
        if (autoFind.stage == Stage::Ready) startSearch(window);
        return TRUE;
    case IDC_SEARCH_ACCEPT:
        if (autoFind.stage == Stage::Searched && takeChosenEntry(window)) {
            EndDialog(window, IDOK);
        }
        return TRUE;
    default: return FALSE;
    }
}

void initialize(HWND window) {
    autoFind = AutoFind{};
    GetWindowTextA(window, autoFind.caption, captionSize);
    enableControl(window, IDC_SEARCH_ACCEPT, false);
    resultList = GetDlgItem(window, IDC_SEARCH_RESULTS);
    // Until there are entries there is nothing to scroll to.
    fitHorizontalExtent(resultList);
}

}  // namespace

INT_PTR CALLBACK AutoFindDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: initialize(window); return TRUE;
    case WM_COMMAND: return onCommand(window, LOWORD(wParam));
    case WM_SETCURSOR:
        // The wait cursor over the whole dialog while it searches.
        if (autoFind.stage != Stage::Searching) return FALSE;
        SetCursor(LoadCursorA(nullptr, IDC_WAIT));
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return TRUE;
    default: return FALSE;
    }
}
