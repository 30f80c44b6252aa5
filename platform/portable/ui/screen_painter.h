// Draws the open dialogs onto a character screen: each one framed with its
// title and centred, the active one last and the ones below it dimmed.
#pragma once

#include <vector>

#include "platform/portable/ui/canvas.h"
#include "platform/portable/user.h"

namespace corvant::ui {

void paintScreen(Canvas &screen, const std::vector<HWND> &dialogs);

// The screen size that every open dialog needs, frame included.
void requiredScreenSize(const std::vector<HWND> &dialogs, int &columns, int &rows);
bool screenTooSmall(int columns, int rows, const std::vector<HWND> &dialogs);

// Static text laid out in a box: line feeds kept, tabs expanded, words
// wrapped at the width (a word longer than a line is split).
std::vector<std::string> wrapText(const std::string &text, int width);
// A caption in at most this many cells: a long one keeps its head up to the
// last " - " and the end of the rest (the end of a path), behind an ellipsis.
std::string fitCaption(const std::string &caption, int width);
// "..." as one character where the terminal has it.
const char *ellipsis();

// The lines a label shows, before its height cuts them off.
struct Window;
int staticTextLines(const Window &control);

}  // namespace corvant::ui
