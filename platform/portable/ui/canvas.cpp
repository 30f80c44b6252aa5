#include "platform/portable/ui/canvas.h"

#include <algorithm>

namespace corvant::ui {

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

bool Canvas::visible(int column, int row) const {
    return column >= clipLeft_ && column < clipRight_ && row >= clipTop_ && row < clipBottom_;
}

void Canvas::put(int column, int row, char character, unsigned attributes) {
    if (!visible(column, row)) return;
    Cell &cell = cells_[static_cast<size_t>(row) * columns_ + column];
    cell.character = character;
    cell.attributes = attributes;
}

void Canvas::write(int column, int row, const std::string &text, unsigned attributes) {
    for (size_t i = 0; i < text.size(); ++i) put(column + static_cast<int>(i), row, text[i], attributes);
}

void Canvas::fill(int left, int top, int width, int height, char character, unsigned attributes) {
    for (int row = top; row < top + height; ++row)
        for (int column = left; column < left + width; ++column) put(column, row, character, attributes);
}

void Canvas::addAttributes(int left, int top, int width, int height, unsigned attributes) {
    for (int row = top; row < top + height; ++row)
        for (int column = left; column < left + width; ++column)
            if (visible(column, row)) cells_[static_cast<size_t>(row) * columns_ + column].attributes |= attributes;
}

const Cell &Canvas::at(int column, int row) const {
    static const Cell outside;
    if (column < 0 || row < 0 || column >= columns_ || row >= rows_) return outside;
    return cells_[static_cast<size_t>(row) * columns_ + column];
}

bool Canvas::isBlank(int column, int row) const { return at(column, row).character == ' '; }

std::string Canvas::text() const {
    std::string result;
    for (int row = 0; row < rows_; ++row) {
        std::string line;
        for (int column = 0; column < columns_; ++column) line += at(column, row).character;
        line.erase(line.find_last_not_of(' ') + 1);
        if (row > 0) result += '\n';
        result += line;
    }
    return result;
}

}  // namespace corvant::ui
