// Reads the little-endian words and UTF-16 strings of compiled resources,
// never past the end of the data it was given.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/portable/types.h"

namespace corvant::ui {

class WideReader {
public:
    WideReader(const BYTE *data, size_t size) : data_(data), size_(size) {}

    size_t offset() const { return offset_; }
    bool skip(size_t bytes);
    bool alignTo(size_t boundary);  // relative to the start of the data
    bool peekWord(WORD &value) const;
    bool readWord(WORD &value);
    bool readShort(short &value);
    bool readDword(DWORD &value);
    bool readByte(BYTE &value);
    bool readBytes(size_t count, std::vector<BYTE> &bytes);
    // A zero-terminated UTF-16 string, narrowed: characters beyond Latin-1 become '?'.
    bool readString(std::string &text);

private:
    const BYTE *data_;
    size_t size_;
    size_t offset_ = 0;
};

}  // namespace corvant::ui
