#include "ui/auto_find_command.h"

#include "assoc/apply.h"
#include "assoc/browser_settings.h"
#include "ui/auto_find_dialog.h"
#include "ui/program_instance.h"
#include "ui/resources/resource_ids.h"
#include "ui/success_box.h"

namespace {

constexpr UINT windowsDirectorySize = 1024;

// Makes the root of the drive that holds the Windows directory the current
// directory; the search starts there. It is not changed back afterwards.
bool moveToWindowsDrive() {
    char windowsDirectory[windowsDirectorySize];
    UINT length = GetWindowsDirectoryA(windowsDirectory, windowsDirectorySize);
    if (length == 0 || length >= windowsDirectorySize) {
        return false;
    }
    SetCurrentDirectoryA(windowsDirectory);
    SetCurrentDirectoryA("\\");
    return true;
}

}  // namespace

INT_PTR runAutoFind(HWND mainWindow) {
    if (browserSettings.browserIsOther) {
        // No caption: the system's default title goes with the error icon.
        MessageBoxA(mainWindow,
                    "Corvant can't search for \"other\" browsers because their filenames are "
                    "not known.",
                    nullptr, MB_OK | MB_ICONERROR);
        return TRUE;
    }
    if (!moveToWindowsDrive()) {
        return TRUE;
    }
    INT_PTR result =
        DialogBoxParamA(programInstance, MAKEINTRESOURCEA(IDD_AUTO_FIND), mainWindow, AutoFindDialogProc, 0);
    if (result == IDOK && applyAssociations()) {
        showSuccessBox();
    }
    return TRUE;
}
