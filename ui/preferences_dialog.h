#pragma once

#include "platform/win32.h"

// Edits the five registration flags (template IDD_PREFERENCES). OK is its
// only way out: Escape and the close box are deliberately ignored.
INT_PTR CALLBACK PreferencesDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
