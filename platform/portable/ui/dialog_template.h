// Dialog templates as the resource compiler writes them: the extended form
// (DLGTEMPLATEEX) and the plain one (DLGTEMPLATE).
#pragma once

#include <string>
#include <vector>

#include "platform/portable/types.h"

namespace corvant::ui {

// A class, menu or text field: a name, or a number (0xFFFF form).
struct NameOrNumber {
    bool isNumber = false;
    WORD number = 0;
    std::string name;
};

struct DialogControlTemplate {
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    DWORD id = 0;
    // Predefined classes given by number are named here: "Button", "Edit",
    // "Static", "ListBox", "ScrollBar" or "ComboBox".
    std::string className;
    NameOrNumber text;
    std::vector<BYTE> creationData;
};

struct DialogTemplate {
    bool extended = false;
    WORD version = 0;
    DWORD helpId = 0;
    DWORD exStyle = 0;
    DWORD style = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    NameOrNumber menu;
    NameOrNumber windowClass;
    std::string title;
    WORD pointSize = 0;
    WORD weight = 0;
    BYTE italic = 0;
    BYTE charset = 0;
    std::string typeface;
    std::vector<DialogControlTemplate> controls;
};

// A control for a template that the portable layer builds itself, placed in
// character cells (4 by 8 dialog units each).
DialogControlTemplate cellControl(const char *className, const std::string &text, DWORD style, int id, int column,
                                  int row, int columns, int rows);

// False for data that is not a complete template.
bool parseDialogTemplate(const BYTE *data, size_t size, DialogTemplate &parsed);

// Loads RT_DIALOG `name` (MAKEINTRESOURCE number or name) from the embedded resources.
bool loadDialogTemplate(LPCSTR name, DialogTemplate &parsed);

}  // namespace corvant::ui
