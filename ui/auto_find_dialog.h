#pragma once

#include "platform/win32.h"

// The Auto find dialog (template IDD_AUTO_FIND): "&Start" runs the search
// once, keeping the dialog answering meanwhile (Cancel, Escape and the close
// box stop it and end the dialog with 0); "&Accept", usable once the search
// has found something, copies the highlighted path (or the first) into
// browserSettings.browserPath and ends the dialog with IDOK.
INT_PTR CALLBACK AutoFindDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
