// Device contexts and text measurement (user32, gdi32), enough to measure
// a control's text. On the terminal every character takes one cell, and a
// cell stands for pixelsPerCell pixels across (platform/portable/ui/layout.h).
#pragma once

#include "types.h"

struct HDC__;
typedef HDC__ *HDC;
struct HGDIOBJ__;
typedef HGDIOBJ__ *HGDIOBJ;
typedef HGDIOBJ HFONT;

typedef struct tagSIZE {
    LONG cx;
    LONG cy;
} SIZE, *PSIZE, *LPSIZE;

#define WM_GETFONT 0x0031

HDC WINAPI GetDC(HWND window);
int WINAPI ReleaseDC(HWND window, HDC dc);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size);
