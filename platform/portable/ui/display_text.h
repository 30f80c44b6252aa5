// How text is laid out in character cells. In a UTF-8 locale each character
// takes the cells its display width says (two for most East Asian ones), a
// combining mark shares its base's cell, and every byte that does not begin
// a valid character, like a control character, is shown as a replacement
// character, so that names that differ never look alike. Otherwise (the "C"
// locale) every byte is one cell. Only how text is shown depends on this:
// the bytes themselves are never changed.
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

// The byte where the character after (before) the one at `at` starts.
size_t nextCharacter(const std::string &text, size_t at);
size_t previousCharacter(const std::string &text, size_t at);

}  // namespace corvant::ui
