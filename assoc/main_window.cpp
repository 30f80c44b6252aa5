#include "assoc/main_window.h"

HWND mainDialogWindow = nullptr;
