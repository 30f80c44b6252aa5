#include "assoc/browser_settings.h"
#include "ui/dll_search_path.h"
#include "ui/main_dialog.h"
#include "ui/program_entry.h"
#include "ui/program_instance.h"
#include "ui/resources/resource_ids.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    restrictDllSearchToSystemFolder();
    programInstance = instance;
    HWND parent = GetDesktopWindow();

    browserSettings.registerHtmlFile = true;
    browserSettings.registerFtp = true;
    browserSettings.registerGopher = true;
    browserSettings.registerHttp = true;
    browserSettings.registerHttps = true;

    DialogBoxParamA(programInstance, MAKEINTRESOURCEA(IDD_MAIN), parent, MainDialogProc, 0);
    return 0;
}
