// A screen of character cells that the dialogs are drawn into; each front
// end shows it in its own way. Every cell holds a plain ASCII character, so
// that the screen reads the same everywhere; what a terminal may show better
// (a line of a frame, a colour, a character beyond ASCII) is said beside it.
#pragma once

#include <string>
#include <vector>

namespace corvant::ui {

enum CellAttribute : unsigned {
    attrNormal = 0,
    attrReverse = 1,    // focus and highlighted list entries
    attrDim = 2,        // disabled controls and dialogs below the active one
    attrBold = 4,       // default push buttons
    attrUnderline = 8,  // text fields
    attrTitle = 16,     // dialog titles (bold where there is no colour)
    attrMnemonic = 32,  // mnemonic letters: underlined, or another cue where the terminal cannot underline
};

// A piece of a line that a terminal with line drawing shows as such; the
// cell's character is its ASCII form.
enum class Line : unsigned char {
    None,
    Horizontal,   // '-'
    Vertical,     // '|'
    TopLeft,      // '+'
    TopRight,     // '+'
    BottomLeft,   // '+'
    BottomRight,  // '+'
    // Scroll bars.
    VerticalTrack,    // '|'
    HorizontalTrack,  // '-'
    Thumb,            // '#'
};

// What a cell belongs to, for a terminal that shows it in colour.
enum class Surface : unsigned char {
    Screen,  // the background around the dialogs
    Dialog,
    Shadow,  // cast by a dialog on what lies below and to the right of it
};

struct Cell {
    char character = ' ';  // '?' for a glyph beyond ASCII
    std::string glyph;     // UTF-8 of a glyph beyond ASCII (see display_text.h)
    // Cells taken: 2 for a wide glyph, whose right half is a cell of width 0.
    unsigned char width = 1;
    unsigned attributes = attrNormal;
    Line line = Line::None;
    Surface surface = Surface::Screen;
};

class Canvas {
public:
    Canvas(int columns = 0, int rows = 0);

    int columns() const { return columns_; }
    int rows() const { return rows_; }

    // Drawing outside the clip rectangle (and outside the screen) is dropped.
    // Characters and lines leave the surface of a cell as it was.
    void setClip(int left, int top, int width, int height);
    void clearClip();
    struct Clip {
        int left, top, right, bottom;
    };
    Clip clip() const { return Clip{clipLeft_, clipTop_, clipRight_, clipBottom_}; }
    void restoreClip(const Clip &clip);
    // Clips to the part of the current clip rectangle that this one covers.
    void narrowClip(int left, int top, int width, int height);
    void put(int column, int row, char character, unsigned attributes = attrNormal);
    void putLine(int column, int row, Line line, unsigned attributes = attrNormal);
    // Text as glyphs (see display_text.h); a wide glyph cut by the clip is a blank.
    void write(int column, int row, const std::string &text, unsigned attributes = attrNormal);
    void fill(int left, int top, int width, int height, char character, unsigned attributes = attrNormal);
    void addAttributes(int left, int top, int width, int height, unsigned attributes);
    void setSurface(int left, int top, int width, int height, Surface surface);
    const Cell &at(int column, int row) const;
    bool isBlank(int column, int row) const;

    // Where the terminal cursor should stand, or -1 for hidden.
    int cursorColumn = -1;
    int cursorRow = -1;

    // Whether the screen is shown where dimmed cells look dimmed; where they
    // do not, disabled push buttons are drawn without their brackets.
    bool dimShown = true;

    // One line per row, trailing blanks removed, joined by '\n'.
    std::string text() const;
    // The same with the lines drawn as a terminal with line drawing shows
    // them (UTF-8 box drawing characters).
    std::string drawing() const;

private:
    bool visible(int column, int row) const;
    Cell &cell(int column, int row);
    // Before a cell is drawn over: the other half of a wide glyph it holds becomes a blank.
    void splitWide(int column, int row);
    void putGlyph(int column, int row, const std::string &glyph, int width, unsigned attributes);
    std::string rows(bool lines) const;
    int columns_;
    int rows_;
    int clipLeft_ = 0, clipTop_ = 0, clipRight_ = 0, clipBottom_ = 0;
    std::vector<Cell> cells_;
};

// The ASCII character that stands for a piece of line.
char asciiFor(Line line);
// Its box drawing character, UTF-8 encoded.
const char *boxDrawingFor(Line line);

}  // namespace corvant::ui
