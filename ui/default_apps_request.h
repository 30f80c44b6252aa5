#pragma once

#include "platform/win32.h"

// Opens the page where the user chooses the apps that Windows opens web
// pages with: Default apps in Settings (Windows 10 and 11), or, where there
// is none, Default Programs in Control Panel (Vista to 8.1). Says so in a
// box when neither opens.
void openDefaultAppsPage(HWND owner);
