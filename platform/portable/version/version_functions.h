// The portable layer's version.dll: what LoadLibraryA hands out for it.
// Not declared in the Win32 headers, since the program looks these up at run
// time and never imports them.
#pragma once

#include "platform/portable/types.h"

namespace corvant::version {

DWORD WINAPI getFileVersionInfoSize(LPCSTR fileName, LPDWORD handle);
BOOL WINAPI getFileVersionInfo(LPCSTR fileName, DWORD handle, DWORD length, LPVOID data);
BOOL WINAPI verQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID *buffer, UINT *length);

}  // namespace corvant::version
