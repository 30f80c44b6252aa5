#pragma once

#include "platform/win32.h"

// The program's one main dialog (template IDD_MAIN).
INT_PTR CALLBACK MainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
