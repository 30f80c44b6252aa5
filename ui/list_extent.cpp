#include "ui/list_extent.h"

#include <string>

void fitHorizontalExtent(HWND list) {
    HDC dc = GetDC(list);
    if (!dc) return;
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(list, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    // A blank's width beyond the text keeps its last letter clear of the edge.
    SIZE size = {0, 0};
    const LONG margin = GetTextExtentPoint32A(dc, " ", 1, &size) ? size.cx : 0;
    LONG widest = 0;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    std::string entry;
    for (LRESULT index = 0; index < count; ++index) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length <= 0) continue;
        entry.assign(static_cast<size_t>(length) + 1, '\0');
        const LRESULT copied =
            SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&entry[0]));
        if (copied <= 0 || copied > length) continue;
        if (GetTextExtentPoint32A(dc, entry.c_str(), static_cast<int>(copied), &size) && size.cx > widest)
            widest = size.cx;
    }
    if (previous) SelectObject(dc, previous);
    ReleaseDC(list, dc);
    SendMessageA(list, LB_SETHORIZONTALEXTENT, static_cast<WPARAM>(widest > 0 ? widest + margin : 0), 0);
}
