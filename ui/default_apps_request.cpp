#include "ui/default_apps_request.h"

#include "ui/shell_request.h"

void openDefaultAppsPage(HWND owner) {
    if (openForUser(owner, "ms-settings:defaultapps", nullptr)) return;
    if (openForUser(owner, controlPanelProgram(), "/name Microsoft.DefaultPrograms /page pageDefaultProgram")) return;
    MessageBoxA(owner,
                "Windows could not open its settings for default apps. Choose the browser there yourself: in Settings "
                "under Apps, Default apps, or in Control Panel under Default Programs.",
                "Corvant Error", MB_ICONERROR);
}
