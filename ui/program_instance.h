#pragma once

#include "platform/win32.h"

// The program's module, from which the dialog templates are loaded.
extern HINSTANCE programInstance;
