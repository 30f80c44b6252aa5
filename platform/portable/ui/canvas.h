// A screen of character cells that the dialogs are drawn into; each front
// end shows it in its own way.
#pragma once

#include <string>
#include <vector>

namespace corvant::ui {

enum CellAttribute : unsigned {
    attrNormal = 0,
    attrReverse = 1,   // focus and highlighted list entries
    attrDim = 2,       // disabled controls and dialogs below the active one
    attrBold = 4,      // titles and default push buttons
    attrUnderline = 8  // mnemonic letters
};

struct Cell {
    char character = ' ';
    unsigned attributes = attrNormal;
};

class Canvas {
public:
    Canvas(int columns = 0, int rows = 0);

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // Drawing outside the clip rectangle (and outside the screen) is dropped.
    void setClip(int left, int top, int width, int height);
    void clearClip();
    void put(int column, int row, char character, unsigned attributes = attrNormal);
    void write(int column, int row, const std::string &text, unsigned attributes = attrNormal);
    void fill(int left, int top, int width, int height, char character, unsigned attributes = attrNormal);
    void addAttributes(int left, int top, int width, int height, unsigned attributes);
    const Cell &at(int column, int row) const;
    bool isBlank(int column, int row) const;

    // Where the terminal cursor should stand, or -1 for hidden.
    int cursorColumn = -1;
    int cursorRow = -1;

    // One line per row, trailing blanks removed, joined by '\n'.
    std::string text() const;

private:
    bool visible(int column, int row) const;
    int columns_;
    int rows_;
    int clipLeft_ = 0, clipTop_ = 0, clipRight_ = 0, clipBottom_ = 0;
    std::vector<Cell> cells_;
};

}  // namespace corvant::ui
