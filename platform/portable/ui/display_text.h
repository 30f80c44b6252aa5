// How text is laid out in character cells, and the one filter that every
// text passes on its way to the terminal (the screen and standard error).
// In a UTF-8 locale each character takes the cells its display width says
// (two for most East Asian ones) and a combining mark shares its base's
// cell; a byte that does not begin a valid character is shown as a
// replacement character, one per byte, and so is each control character,
// bidi control and zero-width format character, one per character, so that
// names that differ never look alike and the terminal counts the cells as
// this layer does. Otherwise (the "C" locale) every byte is one cell and
// only printable ASCII is shown as itself, the rest as '?'. Only how text is
// shown depends on this: the bytes themselves are never changed.
#pragma once

#include <cstddef>
#include <string>

namespace corvant::ui {

void setUtf8Text(bool utf8);
bool utf8Text();

// U+FFFD, shown for what cannot be shown as itself.
extern const char replacementCharacter[];

struct Glyph {
    size_t length = 1;  // bytes of the text it takes
    int width = 1;      // cells
    std::string shown;  // UTF-8 of what a cell shows; empty: the byte itself
};

// The glyph that starts at a byte of the text (at < text.size()).
Glyph glyphAt(const std::string &text, size_t at);
int textWidth(const std::string &text);
// The last bytes of the text that fit in this many cells, whole glyphs only.
std::string textTail(const std::string &text, int width);

// The text as the terminal is sent it: each glyph as shown, line feeds kept.
std::string shownText(const std::string &text);

// The byte where the character after (before) the one at `at` starts.
size_t nextCharacter(const std::string &text, size_t at);
size_t previousCharacter(const std::string &text, size_t at);

}  // namespace corvant::ui
