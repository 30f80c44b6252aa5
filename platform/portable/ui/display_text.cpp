#include "platform/portable/ui/display_text.h"

#include <cwchar>
#include <vector>

namespace corvant::ui {
namespace {

bool utf8 = false;

// A valid UTF-8 sequence at `at`: its code point and length; false otherwise
// (a stray or missing continuation byte, an overlong form, a surrogate).
bool decode(const std::string &text, size_t at, char32_t &code, size_t &length) {
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    if (lead < 0x80) {
        code = lead;
        length = 1;
        return true;
    }
    char32_t minimum;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, minimum = 0x10000;
    } else {
        return false;
    }
    if (text.size() - at < length) return false;
    for (size_t i = 1; i < length; ++i) {
        const unsigned char next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return false;
        code = (code << 6) | (next & 0x3F);
    }
    return code >= minimum && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
}

// Characters that are never sent to the terminal as themselves: controls
// (C0, DEL, C1), which move the cursor or start escape sequences; the bidi
// controls, which would let a name show in another order than its bytes
// (a reversed extension); and the zero-width format characters, which
// terminals join or drop each in their own way, so that the cells would no
// longer agree with the widths counted here.
bool neverShown(char32_t code) {
    if (code < 0x20 || (code >= 0x7F && code <= 0x9F)) return true;
    switch (code) {
    case 0x061C:  // Arabic letter mark
    case 0x200E:  // left-to-right and right-to-left marks
    case 0x200F:
    case 0xFEFF:  // zero-width no-break space (the byte order mark)
        return true;
    default: break;
    }
    return (code >= 0x200B && code <= 0x200D) ||  // zero-width space, non-joiner, joiner
           (code >= 0x202A && code <= 0x202E) ||  // embeddings and overrides
           (code >= 0x2060 && code <= 0x2064) ||  // word joiner, invisible operators
           (code >= 0x2066 && code <= 0x2069);    // isolates
}

// Cells the character takes; 0 for a combining mark, -1 for what is not shown.
int widthOf(char32_t code) { return neverShown(code) ? -1 : wcwidth(static_cast<wchar_t>(code)); }

// Combining marks kept with their base: as many as a terminal cell holds.
constexpr int marksPerCell = 4;

}  // namespace

const char replacementCharacter[] = "\xEF\xBF\xBD";

void setUtf8Text(bool on) { utf8 = on; }
bool utf8Text() { return utf8; }

Glyph glyphAt(const std::string &text, size_t at) {
    Glyph glyph;
    if (!utf8) {
        // One byte a cell, and only printable ASCII as itself.
        const unsigned char byte = static_cast<unsigned char>(text[at]);
        if (byte < 0x20 || byte >= 0x7F) glyph.shown = "?";
        return glyph;
    }
    char32_t code;
    size_t length;
    if (!decode(text, at, code, length)) {
        glyph.shown = replacementCharacter;
        return glyph;
    }
    glyph.length = length;
    const int width = widthOf(code);
    if (width <= 0) {
        // Control characters, and marks with nothing to combine with.
        glyph.shown = replacementCharacter;
        return glyph;
    }
    glyph.width = width;
    if (code >= 0x80) glyph.shown = text.substr(at, length);
    for (int marks = 0; marks < marksPerCell && at + glyph.length < text.size(); ++marks) {
        if (!decode(text, at + glyph.length, code, length) || code < 0x80 || widthOf(code) != 0) break;
        if (glyph.shown.empty()) glyph.shown = text.substr(at, glyph.length);
        glyph.shown += text.substr(at + glyph.length, length);
        glyph.length += length;
    }
    return glyph;
}

int textWidth(const std::string &text) {
    int width = 0;
    for (size_t at = 0; at < text.size();) {
        Glyph glyph = glyphAt(text, at);
        width += glyph.width;
        at += glyph.length;
    }
    return width;
}

std::string textTail(const std::string &text, int width) {
    std::vector<size_t> starts;
    std::vector<int> widths;
    for (size_t at = 0; at < text.size();) {
        Glyph glyph = glyphAt(text, at);
        starts.push_back(at);
        widths.push_back(glyph.width);
        at += glyph.length;
    }
    size_t first = starts.size();
    for (int used = 0; first > 0 && used + widths[first - 1] <= width; --first) used += widths[first - 1];
    return first == starts.size() ? std::string() : text.substr(starts[first]);
}

std::string shownText(const std::string &text) {
    std::string shown;
    for (size_t at = 0; at < text.size();) {
        if (text[at] == '\n') {
            shown += '\n';
            ++at;
            continue;
        }
        Glyph glyph = glyphAt(text, at);
        shown += glyph.shown.empty() ? text.substr(at, glyph.length) : glyph.shown;
        at += glyph.length;
    }
    return shown;
}

size_t nextCharacter(const std::string &text, size_t at) {
    if (at >= text.size()) return text.size();
    char32_t code;
    size_t length;
    return utf8 && decode(text, at, code, length) ? at + length : at + 1;
}

size_t previousCharacter(const std::string &text, size_t at) {
    if (at == 0) return 0;
    // The start of a valid character that ends at `at`, or the byte before it.
    for (size_t back = 2; utf8 && back <= 4 && back <= at; ++back) {
        char32_t code;
        size_t length;
        if (decode(text, at - back, code, length) && length == back) return at - back;
    }
    return at - 1;
}

}  // namespace corvant::ui
