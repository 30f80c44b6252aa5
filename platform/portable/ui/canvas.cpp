#include "platform/portable/ui/canvas.h"

#include <algorithm>

#include "platform/portable/ui/display_text.h"

namespace corvant::ui {

char asciiFor(Line line) {
    switch (line) {
    case Line::Horizontal:
    case Line::HorizontalTrack: return '-';
    case Line::Vertical:
    case Line::VerticalTrack: return '|';
    case Line::TopLeft:
    case Line::TopRight:
    case Line::BottomLeft:
    case Line::BottomRight: return '+';
    case Line::Thumb: return '#';
    case Line::None: break;
    }
    return ' ';
}

const char *boxDrawingFor(Line line) {
    switch (line) {
    case Line::Horizontal: return "\u2500";
    case Line::Vertical: return "\u2502";
    case Line::TopLeft: return "\u250c";
    case Line::TopRight: return "\u2510";
    case Line::BottomLeft: return "\u2514";
    case Line::BottomRight: return "\u2518";
    case Line::VerticalTrack:
    case Line::HorizontalTrack: return "\u2592";
    case Line::Thumb: return "\u2588";
    case Line::None: break;
    }
    return " ";
}

Canvas::Canvas(int columns, int rows)
    : columns_(std::max(0, columns)),
      rows_(std::max(0, rows)),
      cells_(static_cast<size_t>(columns_) * static_cast<size_t>(rows_)) {
    clearClip();
}

void Canvas::setClip(int left, int top, int width, int height) {
    clipLeft_ = std::max(0, left);
    clipTop_ = std::max(0, top);
    clipRight_ = std::min(columns_, left + width);
    clipBottom_ = std::min(rows_, top + height);
}

void Canvas::clearClip() { setClip(0, 0, columns_, rows_); }

void Canvas::restoreClip(const Clip &clip) {
    clipLeft_ = clip.left;
    clipTop_ = clip.top;
    clipRight_ = clip.right;
    clipBottom_ = clip.bottom;
}

void Canvas::narrowClip(int left, int top, int width, int height) {
    clipLeft_ = std::max(clipLeft_, left);
    clipTop_ = std::max(clipTop_, top);
    clipRight_ = std::min(clipRight_, left + width);
    clipBottom_ = std::min(clipBottom_, top + height);
}

void Canvas::splitWide(int column, int row) {
    Cell &here = cell(column, row);
    int other = here.width == 2 ? column + 1 : here.width == 0 ? column - 1 : -1;
    if (other < 0 || other >= columns_) return;
    Cell &half = cell(other, row);
    half.character = ' ';
    half.glyph.clear();
    half.width = 1;
    here.width = 1;
}

void Canvas::putGlyph(int column, int row, const std::string &glyph, int width, unsigned attributes) {
    if (!visible(column, row)) return;
    splitWide(column, row);
    Cell &target = cell(column, row);
    target.attributes = attributes;
    target.line = Line::None;
    if (width == 2 && !visible(column + 1, row)) {
        target.character = ' ';
        target.glyph.clear();
        return;
    }
    target.character = glyph.size() == 1 ? glyph[0] : '?';
    target.glyph = glyph.size() == 1 ? std::string() : glyph;
    target.width = static_cast<unsigned char>(width);
    if (width == 2) {
        splitWide(column + 1, row);
        Cell &right = cell(column + 1, row);
        right.character = ' ';
        right.glyph.clear();
        right.width = 0;
        right.attributes = attributes;
        right.line = Line::None;
    }
}

bool Canvas::visible(int column, int row) const {
    return column >= clipLeft_ && column < clipRight_ && row >= clipTop_ && row < clipBottom_;
}

Cell &Canvas::cell(int column, int row) { return cells_[static_cast<size_t>(row) * columns_ + column]; }

void Canvas::put(int column, int row, char character, unsigned attributes) {
    const std::string byte(1, character);
    const Glyph glyph = glyphAt(byte, 0);
    putGlyph(column, row, glyph.shown.empty() ? byte : glyph.shown, 1, attributes);
}

void Canvas::putLine(int column, int row, Line line, unsigned attributes) {
    if (!visible(column, row)) return;
    splitWide(column, row);
    Cell &target = cell(column, row);
    target.glyph.clear();
    target.character = asciiFor(line);
    target.attributes = attributes;
    target.line = line;
}

void Canvas::write(int column, int row, const std::string &text, unsigned attributes) {
    for (size_t at = 0; at < text.size();) {
        Glyph glyph = glyphAt(text, at);
        putGlyph(column, row, glyph.shown.empty() ? text.substr(at, 1) : glyph.shown, glyph.width, attributes);
        column += glyph.width;
        at += glyph.length;
    }
}

void Canvas::fill(int left, int top, int width, int height, char character, unsigned attributes) {
    for (int row = top; row < top + height; ++row)
        for (int column = left; column < left + width; ++column) put(column, row, character, attributes);
}

void Canvas::addAttributes(int left, int top, int width, int height, unsigned attributes) {
    for (int row = top; row < top + height; ++row)
        for (int column = left; column < left + width; ++column)
            if (visible(column, row)) cell(column, row).attributes |= attributes;
}

void Canvas::setSurface(int left, int top, int width, int height, Surface surface) {
    for (int row = top; row < top + height; ++row)
        for (int column = left; column < left + width; ++column)
            if (visible(column, row)) cell(column, row).surface = surface;
}

const Cell &Canvas::at(int column, int row) const {
    static const Cell outside;
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return outside;
    return cells_[static_cast<size_t>(row) * columns_ + column];
}

bool Canvas::isBlank(int column, int row) const { return at(column, row).character == ' '; }

std::string Canvas::rows(bool lines) const {
    std::string result;
    for (int row = 0; row < rows_; ++row) {
        std::string line;
        int blanks = 0;  // trailing blanks are dropped
        for (int column = 0; column < columns_; ++column) {
            const Cell &here = at(column, row);
            if (here.width == 0) continue;
            if (here.character == ' ' && here.line == Line::None) {
                ++blanks;
                continue;
            }
            line.append(blanks, ' ');
            blanks = 0;
            if (lines && here.line != Line::None)
                line += boxDrawingFor(here.line);
            else if (!here.glyph.empty())
                line += here.glyph;
            else
                line += here.character;
        }
        if (row > 0) result += '\n';
        result += line;
    }
    return result;
}

std::string Canvas::text() const { return rows(false); }

std::string Canvas::drawing() const { return rows(true); }

}  // namespace corvant::ui
