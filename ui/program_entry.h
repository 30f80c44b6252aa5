#pragma once

#include "platform/win32.h"

// Runs the main dialog with the run's default settings; returns 0 once the
// dialog has ended. The command line and show state are not used.
int WINAPI WinMain(HINSTANCE instance, HINSTANCE previousInstance, LPSTR commandLine, int showCommand);
