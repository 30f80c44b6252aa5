#pragma once

#include "platform/win32.h"

// Lets the user pick the browser's executable with the file-open dialog,
// starting from the path chosen last. The choice goes straight into
// browserSettings.browserPath; false when the user chose nothing.
bool chooseBrowserExecutable(HWND owner);
