#include "platform/portable/ui/wide_text.h"

namespace corvant::ui {

bool WideReader::skip(size_t bytes) {
    if (bytes > size_ - offset_) return false;
    offset_ += bytes;
    return true;
}

bool WideReader::alignTo(size_t boundary) {
    size_t remainder = offset_ % boundary;
    if (remainder == 0) return true;
    // Trailing padding may be cut off at the very end of the data.
    size_t padding = boundary - remainder;
    offset_ = padding > size_ - offset_ ? size_ : offset_ + padding;
    return true;
}

bool WideReader::peekWord(WORD &value) const {
    if (size_ - offset_ < 2) return false;
    value = static_cast<WORD>(data_[offset_] | (data_[offset_ + 1] << 8));
    return true;
}

bool WideReader::readWord(WORD &value) {
    if (!peekWord(value)) return false;
    offset_ += 2;
    return true;
}

bool WideReader::readShort(short &value) {
    WORD word;
    if (!readWord(word)) return false;
    value = static_cast<short>(word);
    return true;
}

bool WideReader::readDword(DWORD &value) {
    WORD low, high;
    if (size_ - offset_ < 4 || !readWord(low) || !readWord(high)) return false;
    value = static_cast<DWORD>(low) | (static_cast<DWORD>(high) << 16);
    return true;
}

bool WideReader::readByte(BYTE &value) {
    if (size_ - offset_ < 1) return false;
    value = data_[offset_++];
    return true;
}

bool WideReader::readBytes(size_t count, std::vector<BYTE> &bytes) {
    if (count > size_ - offset_) return false;
    bytes.assign(data_ + offset_, data_ + offset_ + count);
    offset_ += count;
    return true;
}

bool WideReader::readString(std::string &text) {
    text.clear();
    for (;;) {
        WORD unit;
        if (!readWord(unit)) return false;
        if (unit == 0) return true;
        text += unit < 0x100 ? static_cast<char>(unit) : '?';
    }
}

}  // namespace corvant::ui
