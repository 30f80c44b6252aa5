#include "tests/ui/dialog_template.h"

namespace corvant::testing {
namespace {

constexpr uint32_t setFontStyle = 0x40;  // DS_SETFONT

// Reads little-endian fields and UTF-16 strings from a byte buffer; any read
// past the end marks the reader failed instead of touching memory.
class Reader {
public:
    Reader(const std::vector<uint8_t> &bytes, size_t offset = 0, size_t end = SIZE_MAX)
        : bytes_(bytes), offset_(offset), end_(end < bytes.size() ? end : bytes.size()) {}

    bool failed() const { return failed_; }
    size_t offset() const { return offset_; }

    uint32_t read(size_t width) {
        if (failed_ || offset_ > end_ || end_ - offset_ < width) {
            failed_ = true;
            return 0;
        }
        uint32_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            value |= uint32_t(bytes_[offset_ + i]) << (8 * i);
        }
        offset_ += width;
        return value;
    }
    uint16_t word() { return uint16_t(read(2)); }
    uint32_t dword() { return read(4); }
    int16_t shortInt() { return int16_t(word()); }

    // Zero-terminated UTF-16; characters outside ASCII read as '?'.
    std::string text() {
        std::string result;
        for (;;) {
            uint16_t c = word();
            if (failed_ || c == 0) {
                return result;
            }
            result += c < 0x80 ? char(c) : '?';
        }
    }

    // A name that is either 0xFFFF plus an ordinal, or a text.
    std::string nameOrOrdinal(bool predefinedClass) {
        uint16_t first = word();
        if (first == 0xFFFF) {
            uint16_t ordinal = word();
            if (predefinedClass) {
                return classOfOrdinal(ordinal);
            }
            return "#" + std::to_string(ordinal);
        }
        if (first == 0) {
            return "";
        }
        offset_ -= 2;
        return text();
    }

    void skip(size_t count) {
        if (failed_ || offset_ > end_ || end_ - offset_ < count) {
            failed_ = true;
            return;
        }
        offset_ += count;
    }
    void alignTo(size_t boundary) {
        size_t misalignment = offset_ % boundary;
        if (misalignment != 0) {
            skip(boundary - misalignment);
        }
    }

private:
    static std::string classOfOrdinal(uint16_t ordinal) {
        switch (ordinal) {
        case 0x80: return "Button";
        case 0x81: return "Edit";
        case 0x82: return "Static";
        case 0x83: return "ListBox";
        case 0x84: return "ScrollBar";
        case 0x85: return "ComboBox";
        default: return "#" + std::to_string(ordinal);
        }
    }

    const std::vector<uint8_t> &bytes_;
    size_t offset_;
    size_t end_;
    bool failed_ = false;
};

}  // namespace

std::optional<DialogTemplate> parseDialogTemplate(const std::vector<uint8_t> &bytes) {
    Reader in(bytes);
    if (in.word() != 1 || in.word() != 0xFFFF) {
        return std::nullopt;  // not the extended form
    }
    DialogTemplate dialog;
    dialog.helpId = in.dword();
    dialog.exStyle = in.dword();
    dialog.style = in.dword();
    uint16_t count = in.word();
    dialog.x = in.shortInt();
    dialog.y = in.shortInt();
    dialog.cx = in.shortInt();
    dialog.cy = in.shortInt();
    dialog.menu = in.nameOrOrdinal(false);
    dialog.className = in.nameOrOrdinal(false);
    dialog.title = in.text();
    if (dialog.style & setFontStyle) {
        dialog.pointSize = in.word();
        dialog.weight = in.word();
        dialog.italic = in.read(1) != 0;
        dialog.charset = int(in.read(1));
        dialog.fontName = in.text();
    }
    for (uint16_t i = 0; i < count && !in.failed(); ++i) {
        in.alignTo(4);
        DialogControlTemplate control;
        control.helpId = in.dword();
        control.exStyle = in.dword();
        control.style = in.dword();
        control.x = in.shortInt();
        control.y = in.shortInt();
        control.cx = in.shortInt();
        control.cy = in.shortInt();
        control.id = int32_t(in.dword());
        control.className = in.nameOrOrdinal(true);
        control.text = in.nameOrOrdinal(false);
        uint16_t extra = in.word();
        size_t start = in.offset();
        in.skip(extra);
        if (!in.failed()) {
            control.creationData.assign(bytes.begin() + long(start), bytes.begin() + long(start + extra));
        }
        dialog.controls.push_back(control);
    }
    if (in.failed()) {
        return std::nullopt;
    }
    return dialog;
}

}  // namespace corvant::testing
