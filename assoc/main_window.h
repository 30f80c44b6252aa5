#pragma once

#include "platform/win32.h"

// The main dialog, owner of every message box; empty until that dialog opens.
extern HWND mainDialogWindow;
