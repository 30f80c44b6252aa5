#pragma once

#include "platform/win32.h"

// "&Auto find": searches the drive that holds the Windows directory for the
// chosen browser's executable and applies the path the user accepts. Always
// answers TRUE (handled).
INT_PTR runAutoFind(HWND mainWindow);
