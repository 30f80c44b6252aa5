#pragma once

#include "platform/win32.h"

// Sets how far the list scrolls sideways from its longest entry, measured in
// the list's own font, so that every entry can be scrolled fully into view.
void fitHorizontalExtent(HWND list);
