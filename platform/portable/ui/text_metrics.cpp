// Text measured in terminal cells: each character of the UTF-8 text (each
// byte that does not continue a character) is one cell wide.
#include "platform/portable/text_metrics.h"
#include "platform/portable/ui/layout.h"

namespace {
// The one device context: the terminal, whatever window asked for it.
HDC const terminalContext = reinterpret_cast<HDC>(static_cast<uintptr_t>(0x7dc));
}  // namespace

HDC WINAPI GetDC(HWND) { return terminalContext; }

int WINAPI ReleaseDC(HWND, HDC dc) { return dc == terminalContext ? 1 : 0; }

// The terminal has one font, so nothing is selected; nothing was before.
HGDIOBJ WINAPI SelectObject(HDC, HGDIOBJ) { return nullptr; }

BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size) {
    if (dc != terminalContext || size == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
    LONG cells = 0;
    for (int i = 0; i < length; ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) ++cells;
    }
    size->cx = cells * corvant::ui::pixelsPerCell;
    size->cy = corvant::ui::pixelsPerCell;  // heights are not asked for
    return TRUE;
}
