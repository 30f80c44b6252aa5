// Shell request (shell32): open a document or address with its handler.
#pragma once

#include "types.h"

HINSTANCE WINAPI ShellExecuteA(HWND owner, LPCSTR operation, LPCSTR file, LPCSTR parameters, LPCSTR directory,
                               INT showCommand);
