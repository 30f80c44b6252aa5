#include "ui/browser_file_dialog.h"

#include "assoc/browser_settings.h"

bool chooseBrowserExecutable(HWND owner) {
    // Pairs of description and pattern, ended by an empty description.
    static const char filter[] = "Executables (*.exe)\0*.exe\0";

    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = browserSettings.browserPath;
    dialog.nMaxFile = browserPathSize;
    dialog.lpstrTitle = "Select browser executable";
    dialog.lpstrDefExt = "exe";
    dialog.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    return GetOpenFileNameA(&dialog) != 0;
}
