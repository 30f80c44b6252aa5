// The system's ANSI code page (kernel32, user32). The portable layer's text
// is UTF-8, in which no byte of a character of several bytes is below 0x80.
#pragma once

#include "types.h"

#define CP_ACP 0
#define CP_UTF8 65001

UINT WINAPI GetACP();
BOOL WINAPI IsDBCSLeadByteEx(UINT codePage, BYTE byte);
LPSTR WINAPI CharNextExA(WORD codePage, LPCSTR current, DWORD flags);
