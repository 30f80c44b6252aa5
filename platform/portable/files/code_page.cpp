// The ANSI code page of the portable layer: UTF-8, which has no lead bytes
// in Windows' sense, so every character is stepped over byte by byte.
#include "platform/portable/code_page.h"

UINT WINAPI GetACP() { return CP_UTF8; }

BOOL WINAPI IsDBCSLeadByteEx(UINT, BYTE) { return FALSE; }

LPSTR WINAPI CharNextExA(WORD, LPCSTR current, DWORD) {
    if (current == nullptr) return nullptr;
    return const_cast<LPSTR>(*current == '\0' ? current : current + 1);
}
