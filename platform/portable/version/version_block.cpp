#include "platform/portable/version/version_block.h"

#include <algorithm>
#include <cstring>

namespace corvant::version {

namespace {

const size_t headerSize = 6;  // length, value length, type
const size_t maxKeyLength = 64;

uint16_t le16(const uint8_t *bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }
size_t align4(size_t offset) { return (offset + 3) & ~static_cast<size_t>(3); }

// The resource's own length, as far as the resource holds it.
size_t usedLength(const std::vector<uint8_t> &resource) {
    if (resource.size() < headerSize) return 0;
    return std::min<size_t>(le16(resource.data()), resource.size());
}

struct Node {
    size_t end;         // offset after the node
    size_t key;         // offset of its UTF-16 key
    size_t keyUnits;    // without the terminating zero
    size_t value;       // offset of its value
    size_t valueBytes;  // as far as the node holds them
    bool text;
    size_t children;
};

// The node at offset at, which must end by limit.
bool readNode(const uint8_t *block, size_t at, size_t limit, Node &node) {
    if (at > limit || limit - at < headerSize) return false;
    const size_t length = le16(block + at);
    if (length < headerSize || length > limit - at) return false;
    node.end = at + length;
    const size_t valueLength = le16(block + at + 2);
    node.text = le16(block + at + 4) == 1;
    node.key = at + headerSize;
    size_t unit = node.key;
    while (unit + 2 <= node.end && le16(block + unit) != 0) unit += 2;
    if (unit + 2 > node.end) return false;  // a key without its terminating zero
    node.keyUnits = (unit - node.key) / 2;
    node.value = std::min(align4(unit + 2), node.end);
    // A text's length counts UTF-16 units, anything else's bytes.
    const size_t declared = node.text ? 2 * valueLength : valueLength;
    node.valueBytes = std::min(declared, node.end - node.value);
    node.children = std::min(align4(node.value + node.valueBytes), node.end);
    return true;
}

bool keyMatches(const uint8_t *block, const Node &node, const char *name, size_t nameLength) {
    if (node.keyUnits != nameLength) return false;
    for (size_t index = 0; index < nameLength; ++index) {
        const unsigned unit = le16(block + node.key + 2 * index);
        const unsigned letter = static_cast<unsigned char>(name[index]);
        auto lower = [](unsigned c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
        if (lower(unit) != lower(letter)) return false;
    }
    return true;
}

bool findChild(const uint8_t *block, const Node &parent, const char *name, size_t nameLength, Node &found) {
    size_t at = parent.children;
    Node child;
    while (readNode(block, at, parent.end, child)) {
        if (keyMatches(block, child, name, nameLength)) {
            found = child;
            return true;
        }
        at = align4(child.end);
    }
    return false;
}

// Writes the UTF-16 text as UTF-8 with a terminating zero: at most three
// bytes for each unit and one for the zero. Returns the bytes written.
size_t toUtf8(const uint8_t *units, size_t unitCount, uint8_t *out) {
    size_t written = 0;
    for (size_t index = 0; index < unitCount; ++index) {
        uint32_t code = le16(units + 2 * index);
        if (code >= 0xd800 && code <= 0xdbff && index + 1 < unitCount) {
            const uint32_t low = le16(units + 2 * index + 2);
            if (low >= 0xdc00 && low <= 0xdfff) {
                code = 0x10000 + ((code - 0xd800) << 10) + (low - 0xdc00);
                ++index;
            }
        }
        if (code >= 0xd800 && code <= 0xdfff) code = '?';  // half a pair
        if (code < 0x80) {
            out[written++] = static_cast<uint8_t>(code);
        } else if (code < 0x800) {
            out[written++] = static_cast<uint8_t>(0xc0 | code >> 6);
            out[written++] = static_cast<uint8_t>(0x80 | (code & 0x3f));
        } else if (code < 0x10000) {
            out[written++] = static_cast<uint8_t>(0xe0 | code >> 12);
            out[written++] = static_cast<uint8_t>(0x80 | (code >> 6 & 0x3f));
            out[written++] = static_cast<uint8_t>(0x80 | (code & 0x3f));
        } else {
            out[written++] = static_cast<uint8_t>(0xf0 | code >> 18);
            out[written++] = static_cast<uint8_t>(0x80 | (code >> 12 & 0x3f));
            out[written++] = static_cast<uint8_t>(0x80 | (code >> 6 & 0x3f));
            out[written++] = static_cast<uint8_t>(0x80 | (code & 0x3f));
        }
    }
    out[written++] = 0;
    return written;
}

}  // namespace

size_t versionBlockSize(const std::vector<uint8_t> &resource) {
    const size_t used = usedLength(resource);
    // The 4 bytes more hold the terminating zero of an empty text at the very end.
    return used < headerSize ? 0 : align4(used) + 2 * used + 4;
}

void fillVersionBlock(const std::vector<uint8_t> &resource, uint8_t *block) {
    const size_t used = usedLength(resource);
    std::memset(block, 0, versionBlockSize(resource));
    std::memcpy(block, resource.data(), used);
    // The length that the room after it is reckoned from.
    block[0] = static_cast<uint8_t>(used & 0xff);
    block[1] = static_cast<uint8_t>(used >> 8);
}

bool queryVersionBlock(uint8_t *block, const char *path, void **value, unsigned *length) {
    const size_t used = le16(block);
    Node node;
    if (!readNode(block, 0, used, node)) return false;
    for (const char *part = path; *part;) {
        if (*part == '\\') {
            ++part;
            continue;
        }
        const size_t partLength = std::strcspn(part, "\\");
        if (partLength > maxKeyLength || !findChild(block, node, part, partLength, node)) return false;
        part += partLength;
    }
    if (!node.text) {
        *value = block + node.value;
        *length = static_cast<unsigned>(node.valueBytes);
        return true;
    }
    // The text ends at its terminating zero, or where the node does.
    size_t units = 0;
    while (2 * units + 2 <= node.valueBytes && le16(block + node.value + 2 * units) != 0) ++units;
    uint8_t *converted = block + align4(used) + 2 * node.value;
    *value = converted;
    *length = static_cast<unsigned>(toUtf8(block + node.value, units, converted));
    return true;
}

}  // namespace corvant::version
