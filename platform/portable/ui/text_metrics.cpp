// Text measured in terminal cells, as the screen shows it: wide characters
// take two cells, and each byte that is not UTF-8 one.
#include "platform/portable/text_metrics.h"

#include <string>

#include "platform/portable/ui/display_text.h"
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
    const LONG cells = length > 0 ? corvant::ui::textWidth(std::string(text, static_cast<size_t>(length))) : 0;
    size->cx = cells * corvant::ui::pixelsPerCell;
    size->cy = corvant::ui::pixelsPerCell;  // heights are not asked for
    return TRUE;
}
