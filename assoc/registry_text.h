// Value writes shared by the class chain and the extension keys.
#pragma once

#include "platform/win32.h"

// Stores text as REG_SZ with its terminating zero.
bool setStringValue(HKEY key, const char *valueName, const char *text);
// Stores a REG_DWORD (four bytes, little-endian as the registry keeps it).
bool setDwordValue(HKEY key, const char *valueName, DWORD number);
