#!/usr/bin/env python3
"""Draws a terminal screen captured by `tmux capture-pane -p -e -N` as an
ImageMagick drawing (MVG), in the colours of the Windows console, with the
box drawing characters drawn as lines so that they join:

    terminal_picture.py CAPTURE FONT BOLD_FONT OUTPUT.mvg
    convert mvg:OUTPUT.mvg picture.png

Only the rows and columns around the dialogs are kept: two columns and one
row of the screen (the colour of its top left corner) on each side of
whatever differs from it.
"""
import re
import sys

CELL_WIDTH, CELL_HEIGHT, FONT_SIZE, BASELINE = 9, 18, 15, 14

PALETTE = [
    "#000000", "#800000", "#008000", "#808000", "#000080", "#800080", "#008080", "#c0c0c0",
    "#808080", "#ff0000", "#00ff00", "#ffff00", "#0000ff", "#ff00ff", "#00ffff", "#ffffff",
]
DEFAULT_FOREGROUND, DEFAULT_BACKGROUND = 7, 0


class Style:
    def __init__(self):
        self.foreground = DEFAULT_FOREGROUND
        self.background = DEFAULT_BACKGROUND
        self.bold = self.dim = self.underline = self.reverse = False

    def copy(self):
        other = Style()
        other.__dict__.update(self.__dict__)
        return other

    def apply(self, parameters):
        values = [int(p) if p else 0 for p in parameters.split(";")] if parameters else [0]
        i = 0
        while i < len(values):
            v = values[i]
            if v == 0:
                self.__init__()
            elif v == 1:
                self.bold = True
            elif v == 2:
                self.dim = True
            elif v == 4:
                self.underline = True
            elif v == 7:
                self.reverse = True
            elif v == 22:
                self.bold = self.dim = False
            elif v == 24:
                self.underline = False
            elif v == 27:
                self.reverse = False
            elif 30 <= v <= 37:
                self.foreground = v - 30
            elif 40 <= v <= 47:
                self.background = v - 40
            elif 90 <= v <= 97:
                self.foreground = v - 90 + 8
            elif 100 <= v <= 107:
                self.background = v - 100 + 8
            elif v == 39:
                self.foreground = DEFAULT_FOREGROUND
            elif v == 49:
                self.background = DEFAULT_BACKGROUND
            elif v in (38, 48) and i + 2 < len(values) and values[i + 1] == 5:
                colour = values[i + 2] if values[i + 2] < 16 else DEFAULT_FOREGROUND
                if v == 38:
                    self.foreground = colour
                else:
                    self.background = colour
                i += 2
            i += 1

    def colours(self):
        foreground, background = PALETTE[self.foreground], PALETTE[self.background]
        if self.reverse:
            foreground, background = background, foreground
        if self.dim:
            foreground = blend(foreground, background)
        return foreground, background


def blend(a, b):
    mix = [(int(a[i:i + 2], 16) + int(b[i:i + 2], 16)) // 2 for i in (1, 3, 5)]
    return "#%02x%02x%02x" % tuple(mix)


def read_screen(path):
    escape = re.compile(r"\x1b\[([0-9;]*)m")
    rows, style = [], Style()
    with open(path, encoding="utf-8", errors="replace") as capture:
        for line in capture.read().split("\n"):
            cells, at = [], 0
            while at < len(line):
                match = escape.match(line, at)
                if match:
                    style.apply(match.group(1))
                    at = match.end()
                    continue
                if line[at] == "\x1b":  # another sequence: skipped
                    at += 1
                    continue
                cells.append((line[at], style.copy()))
                at += 1
            rows.append(cells)
    while rows and not rows[-1]:
        rows.pop()
    return rows


# Box drawing as strokes from the middle of the cell: (left, right, up, down).
STROKES = {
    "\u2500": (1, 1, 0, 0), "\u2502": (0, 0, 1, 1), "\u250c": (0, 1, 0, 1),
    "\u2510": (1, 0, 0, 1), "\u2514": (0, 1, 1, 0), "\u2518": (1, 0, 1, 0),
}


def text(value):
    return '"' + value.replace("\\", "\\\\").replace('"', '\\"').replace("%", "%%") + '"'


def draw(rows, font, bold_font, output):
    screen = rows[0][0][1].colours()[1] if rows and rows[0] else PALETTE[DEFAULT_BACKGROUND]
    marked = [(r, c) for r, cells in enumerate(rows) for c, (_, style) in enumerate(cells)
              if style.colours()[1] != screen]
    if not marked:
        sys.exit("terminal_picture: nothing but the screen was captured")
    top = max(0, min(r for r, _ in marked) - 1)
    bottom = min(len(rows) - 1, max(r for r, _ in marked) + 1)
    left = max(0, min(c for _, c in marked) - 2)
    right = max(c for _, c in marked) + 2
    width, height = (right - left + 1) * CELL_WIDTH, (bottom - top + 1) * CELL_HEIGHT
    commands = ["viewbox 0 0 %d %d" % (width, height), "stroke-width 0"]
    for r in range(top, bottom + 1):
        for c in range(left, right + 1):
            character, style = rows[r][c] if c < len(rows[r]) else (" ", Style())
            foreground, background = style.colours()
            x, y = (c - left) * CELL_WIDTH, (r - top) * CELL_HEIGHT
            commands.append("fill '%s' rectangle %d,%d %d,%d" % (background, x, y, x + CELL_WIDTH - 1,
                                                                 y + CELL_HEIGHT - 1))
            middle_x, middle_y = x + CELL_WIDTH // 2, y + CELL_HEIGHT // 2
            if character in STROKES:
                left_, right_, up, down = STROKES[character]
                x0 = x if left_ else middle_x
                x1 = x + CELL_WIDTH - 1 if right_ else middle_x
                y0 = y if up else middle_y
                y1 = y + CELL_HEIGHT - 1 if down else middle_y
                commands.append("fill '%s' rectangle %d,%d %d,%d" % (foreground, x0, middle_y, x1, middle_y))
                commands.append("fill '%s' rectangle %d,%d %d,%d" % (foreground, middle_x, y0, middle_x, y1))
            elif character == "\u2592":  # a scroll bar's track
                commands.append("fill '%s' rectangle %d,%d %d,%d" % (blend(foreground, background), x, y,
                                                                     x + CELL_WIDTH - 1, y + CELL_HEIGHT - 1))
            elif character == "\u2588":  # its thumb
                commands.append("fill '%s' rectangle %d,%d %d,%d" % (foreground, x, y, x + CELL_WIDTH - 1,
                                                                     y + CELL_HEIGHT - 1))
            elif character != " ":
                commands.append("font '%s' font-size %d fill '%s' text %d,%d %s" % (
                    bold_font if style.bold else font, FONT_SIZE, foreground, x, y + BASELINE, text(character)))
            if style.underline:
                commands.append("fill '%s' rectangle %d,%d %d,%d" % (foreground, x, y + BASELINE + 2,
                                                                     x + CELL_WIDTH - 1, y + BASELINE + 2))
    with open(output, "w", encoding="utf-8") as out:
        out.write("\n".join(commands) + "\n")


if __name__ == "__main__":
    if len(sys.argv) != 5:
        sys.exit(__doc__)
    draw(read_screen(sys.argv[1]), sys.argv[2], sys.argv[3], sys.argv[4])
