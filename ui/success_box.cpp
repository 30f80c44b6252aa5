#include "ui/success_box.h"

#include "assoc/main_window.h"

void showSuccessBox() {
    MessageBoxA(mainDialogWindow, "Changes submitted to registry.", "Done", MB_OK);
}
