// Run-time linking (kernel32) over the portable layer's own modules. No
// file is ever loaded: a module that the layer implements itself is handed
// out when it is asked for by its full path in the system folder, as the
// program asks for the DLLs that it looks up at run time.
#pragma once

#include "types.h"

#define ERROR_BAD_FORMAT 11L
#define ERROR_MOD_NOT_FOUND 126L
#define ERROR_PROC_NOT_FOUND 127L

typedef INT_PTR(WINAPI *FARPROC)();

HMODULE WINAPI LoadLibraryA(LPCSTR fileName);
FARPROC WINAPI GetProcAddress(HMODULE module, LPCSTR procName);
BOOL WINAPI FreeLibrary(HMODULE module);
// The system folder: "system32" in the Windows directory. Like Windows, the
// length without the terminating zero, or the size needed when it does not fit.
UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size);
