#include "platform/portable/ui/dialog_template.h"

#include "platform/portable/ui/embedded_resources.h"
#include "platform/portable/ui/wide_text.h"
#include "platform/portable/user.h"

namespace corvant::ui {
namespace {

bool readNameOrNumber(WideReader &reader, NameOrNumber &field) {
    WORD first;
    if (!reader.peekWord(first)) return false;
    field = NameOrNumber();
    if (first == 0xFFFF) {
        reader.skip(2);
        field.isNumber = true;
        return reader.readWord(field.number);
    }
    return reader.readString(field.name);
}

std::string predefinedClassName(WORD number) {
    switch (number) {
    case 0x0080: return "Button";
    case 0x0081: return "Edit";
    case 0x0082: return "Static";
    case 0x0083: return "ListBox";
    case 0x0084: return "ScrollBar";
    case 0x0085: return "ComboBox";
    default: return "#" + std::to_string(number);
    }
}

bool readControl(WideReader &reader, bool extended, DialogControlTemplate &control) {
    if (!reader.alignTo(4)) return false;
    bool ok = true;
    if (extended) {
        ok = reader.readDword(control.helpId) && reader.readDword(control.exStyle) && reader.readDword(control.style);
    } else {
        ok = reader.readDword(control.style) && reader.readDword(control.exStyle);
    }
    ok = ok && reader.readShort(control.x) && reader.readShort(control.y) && reader.readShort(control.cx) &&
         reader.readShort(control.cy);
    if (!ok) return false;
    if (extended) {
        if (!reader.readDword(control.id)) return false;
    } else {
        WORD id;
        if (!reader.readWord(id)) return false;
        control.id = id;
    }
    NameOrNumber windowClass;
    if (!readNameOrNumber(reader, windowClass) || !readNameOrNumber(reader, control.text)) return false;
    control.className = windowClass.isNumber ? predefinedClassName(windowClass.number) : windowClass.name;
    WORD extraCount;
    if (!reader.readWord(extraCount)) return false;
    return reader.readBytes(extraCount, control.creationData);
}

}  // namespace

bool parseDialogTemplate(const BYTE *data, size_t size, DialogTemplate &parsed) {
    parsed = DialogTemplate();
    WideReader reader(data, size);
    WORD first, second;
    if (!reader.peekWord(first)) return false;
    reader.skip(2);
    if (!reader.peekWord(second)) return false;
    WORD count = 0;
    if (first == 1 && second == 0xFFFF) {
        parsed.extended = true;
        parsed.version = first;
        reader.skip(2);
        if (!reader.readDword(parsed.helpId) || !reader.readDword(parsed.exStyle) || !reader.readDword(parsed.style))
            return false;
    } else {
        reader = WideReader(data, size);
        if (!reader.readDword(parsed.style) || !reader.readDword(parsed.exStyle)) return false;
    }
    if (!reader.readWord(count) || !reader.readShort(parsed.x) || !reader.readShort(parsed.y) ||
        !reader.readShort(parsed.cx) || !reader.readShort(parsed.cy))
        return false;
    if (!readNameOrNumber(reader, parsed.menu) || !readNameOrNumber(reader, parsed.windowClass) ||
        !reader.readString(parsed.title))
        return false;
    if (parsed.style & DS_SETFONT) {
        if (!reader.readWord(parsed.pointSize)) return false;
        if (parsed.extended &&
            !(reader.readWord(parsed.weight) && reader.readByte(parsed.italic) && reader.readByte(parsed.charset)))
            return false;
        if (!reader.readString(parsed.typeface)) return false;
    }
    parsed.controls.resize(count);
    for (DialogControlTemplate &control : parsed.controls)
        if (!readControl(reader, parsed.extended, control)) return false;
    return true;
}

bool loadDialogTemplate(LPCSTR name, DialogTemplate &parsed) {
    ResourceData resource;
    if (!findEmbeddedResource(resourceTypeDialog, name, resource)) return false;
    return parseDialogTemplate(resource.data, resource.size, parsed);
}

DialogControlTemplate cellControl(const char *className, const std::string &text, DWORD style, int id, int column,
                                  int row, int columns, int rows) {
    DialogControlTemplate control;
    control.className = className;
    control.text.name = text;
    control.style = WS_CHILD | WS_VISIBLE | style;
    control.id = static_cast<DWORD>(id);
    control.x = static_cast<short>(column * 4);
    control.y = static_cast<short>(row * 8);
    control.cx = static_cast<short>(columns * 4);
    control.cy = static_cast<short>(rows * 8);
    return control;
}

}  // namespace corvant::ui
