#include "platform/portable/ui/embedded_resources.h"

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

#include "platform/portable/ui/wide_text.h"

namespace corvant::ui {
namespace {

struct Blob {
    const unsigned char *data;
    size_t size;
};

std::vector<Blob> &blobs() {
    static std::vector<Blob> registered;
    return registered;
}

// A resource type or name in a .res header: 0xFFFF and a number, or a
// zero-terminated UTF-16 string.
struct Identifier {
    bool isNumber = false;
    WORD number = 0;
    std::string name;
};

bool readIdentifier(WideReader &reader, Identifier &id) {
    WORD first;
    if (!reader.peekWord(first)) return false;
    if (first == 0xFFFF) {
        reader.skip(2);
        id.isNumber = true;
        return reader.readWord(id.number);
    }
    id.isNumber = false;
    return reader.readString(id.name);
}

bool matches(const Identifier &id, WORD type) { return id.isNumber && id.number == type; }

bool matches(const Identifier &id, LPCSTR name) {
    uintptr_t value = reinterpret_cast<uintptr_t>(name);
    if (value <= 0xFFFF) return id.isNumber && id.number == value;
    if (id.isNumber) return false;
    std::string wanted = name;
    if (wanted.size() > 1 && wanted[0] == '#') return false;
    if (wanted.size() != id.name.size()) return false;
    for (size_t i = 0; i < wanted.size(); ++i)
        if (std::toupper(static_cast<unsigned char>(wanted[i])) != std::toupper(static_cast<unsigned char>(id.name[i])))
            return false;
    return true;
}

// Calls visit(type, name, data) for each resource of the blob until it returns true.
template <typename Visit>
bool walk(const Blob &blob, Visit visit) {
    size_t offset = 0;
    while (offset + 8 <= blob.size) {
        DWORD dataSize, headerSize;
        std::memcpy(&dataSize, blob.data + offset, 4);
        std::memcpy(&headerSize, blob.data + offset + 4, 4);
        if (headerSize < 8 || headerSize > blob.size - offset || dataSize > blob.size - offset - headerSize)
            return false;
        WideReader header(blob.data + offset, headerSize);
        header.skip(8);
        Identifier typeId, nameId;
        if (!readIdentifier(header, typeId) || !readIdentifier(header, nameId)) return false;
        if (visit(typeId, nameId, ResourceData{blob.data + offset + headerSize, dataSize})) return true;
        size_t next = offset + headerSize + ((static_cast<size_t>(dataSize) + 3) & ~static_cast<size_t>(3));
        if (next <= offset) return false;
        offset = next;
    }
    return false;
}

bool findIn(const Blob &blob, WORD type, LPCSTR name, ResourceData &found) {
    return walk(blob, [&](const Identifier &typeId, const Identifier &nameId, const ResourceData &data) {
        if (!matches(typeId, type) || !matches(nameId, name)) return false;
        found = data;
        return true;
    });
}

}  // namespace

bool registerEmbeddedResources(const unsigned char *data, size_t size) {
    blobs().push_back({data, size});
    return true;
}

std::vector<ResourceData> embeddedResources(WORD type) {
    std::vector<ResourceData> found;
    for (const Blob &blob : blobs())
        walk(blob, [&](const Identifier &typeId, const Identifier &, const ResourceData &data) {
            if (matches(typeId, type)) found.push_back(data);
            return false;
        });
    return found;
}

bool findEmbeddedResource(WORD type, LPCSTR name, ResourceData &found) {
    for (const Blob &blob : blobs())
        if (findIn(blob, type, name, found)) return true;
    return false;
}

}  // namespace corvant::ui
