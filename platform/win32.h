// The one header through which the rest of Corvant reaches the Win32 API.
// On Windows it is the system's own headers; elsewhere it is the portable
// layer, which declares and implements the same names with the same values.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#include <commdlg.h>
#include <shellapi.h>
#else
#include "portable/windows_api.h"
#endif
