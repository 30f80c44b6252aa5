#include "platform/portable/version/pe_version_resource.h"

#include <algorithm>
#include <cstring>

namespace corvant::version {

bool MemorySource::read(uint64_t offset, void *out, size_t length) const {
    if (offset > size_ || length > size_ - offset) return false;
    if (length != 0) std::memcpy(out, data_ + offset, length);
    return true;
}

namespace {

const uint32_t versionResourceType = 16;  // RT_VERSION
const uint32_t subdirectoryFlag = 0x80000000u;
const unsigned maxSections = 96;  // what the loader accepts

uint16_t le16(const uint8_t *bytes) { return static_cast<uint16_t>(bytes[0] | bytes[1] << 8); }
uint32_t le32(const uint8_t *bytes) { return le16(bytes) | static_cast<uint32_t>(le16(bytes + 2)) << 16; }

struct Section {
    uint32_t virtualAddress;
    uint32_t rawSize;
    uint32_t rawOffset;
};

class PeFile {
public:
    explicit PeFile(const ByteSource &file) : file_(file) {}

    bool readHeaders(uint32_t &resourceRva);
    // The file offset of an address and how many bytes of the section's
    // data in the file follow it; false when the address has none.
    bool locate(uint32_t rva, uint64_t &offset, uint64_t &available) const;
    bool read(uint64_t offset, void *out, size_t length) const { return file_.read(offset, out, length); }

private:
    const ByteSource &file_;
    std::vector<Section> sections_;
};

bool PeFile::readHeaders(uint32_t &resourceRva) {
    uint8_t dos[64];
    if (!file_.read(0, dos, sizeof dos) || dos[0] != 'M' || dos[1] != 'Z') return false;
    const uint64_t peHeader = le32(dos + 0x3c);
    uint8_t signature[24];  // "PE\0\0" and the file header
    if (!file_.read(peHeader, signature, sizeof signature) || std::memcmp(signature, "PE\0\0", 4) != 0) return false;
    const unsigned sectionCount = le16(signature + 6);
    const unsigned optionalSize = le16(signature + 20);
    if (sectionCount > maxSections) return false;

    const uint64_t optional = peHeader + sizeof signature;
    uint8_t magic[2];
    if (!file_.read(optional, magic, sizeof magic)) return false;
    unsigned directoriesAt = 0;
    if (le16(magic) == 0x10b) {
        directoriesAt = 96;  // PE32
    } else if (le16(magic) == 0x20b) {
        directoriesAt = 112;  // PE32+
    } else {
        return false;
    }
    // The count of data directories, then the directories; the resource
    // table is the third.
    const unsigned resourceEntryEnd = directoriesAt + 3 * 8;
    if (optionalSize < resourceEntryEnd) return false;
    uint8_t directories[4 + 3 * 8];
    if (!file_.read(optional + directoriesAt - 4, directories, sizeof directories)) return false;
    if (le32(directories) < 3) return false;
    resourceRva = le32(directories + 4 + 2 * 8);
    if (resourceRva == 0) return false;

    const uint64_t table = optional + optionalSize;
    for (unsigned index = 0; index < sectionCount; ++index) {
        uint8_t header[40];
        if (!file_.read(table + 40ull * index, header, sizeof header)) return false;
        sections_.push_back(Section{le32(header + 12), le32(header + 16), le32(header + 20)});
    }
    return true;
}

bool PeFile::locate(uint32_t rva, uint64_t &offset, uint64_t &available) const {
    for (const Section &section : sections_) {
        if (rva < section.virtualAddress || rva - section.virtualAddress >= section.rawSize) continue;
        const uint32_t into = rva - section.virtualAddress;
        offset = static_cast<uint64_t>(section.rawOffset) + into;
        const uint64_t inFile = offset < file_.size() ? file_.size() - offset : 0;
        available = std::min<uint64_t>(section.rawSize - into, inFile);
        return available > 0;
    }
    return false;
}

// The resource directory tree, its offsets relative to its start and
// bounded by the section that holds it.
class ResourceTree {
public:
    ResourceTree(const PeFile &pe, uint64_t start, uint64_t length) : pe_(pe), start_(start), length_(length) {}

    bool read(uint32_t at, void *out, size_t size) const {
        return at <= length_ && size <= length_ - at && pe_.read(start_ + at, out, size);
    }

    // The entry of the directory at dirAt with this id, or its first entry
    // when id is anyEntry; false when there is none.
    static const uint32_t anyEntry = 0xffffffffu;
    bool entry(uint32_t dirAt, uint32_t id, uint32_t &target) const {
        uint8_t header[16];
        if (!read(dirAt, header, sizeof header)) return false;
        const uint32_t count = static_cast<uint32_t>(le16(header + 12)) + le16(header + 14);
        for (uint32_t index = 0; index < count; ++index) {
            uint8_t item[8];
            if (!read(dirAt + 16 + 8 * index, item, sizeof item)) return false;
            if (id == anyEntry || le32(item) == id) {
                target = le32(item + 4);
                return true;
            }
        }
        return false;
    }

private:
    const PeFile &pe_;
    uint64_t start_;
    uint64_t length_;
};

}  // namespace

ResourceSearch findVersionResource(const ByteSource &file, std::vector<uint8_t> &resource) {
    PeFile pe(file);
    uint32_t resourceRva = 0;
    if (!pe.readHeaders(resourceRva)) return ResourceSearch::notPortableExecutable;
    uint64_t treeStart = 0;
    uint64_t treeLength = 0;
    if (!pe.locate(resourceRva, treeStart, treeLength)) return ResourceSearch::noVersionResource;
    const ResourceTree tree(pe, treeStart, std::min<uint64_t>(treeLength, 0x7fffffff));

    // Type, then name, then language: two subdirectories and a data entry,
    // so the walk is three steps long whatever the offsets point at.
    uint32_t names = 0;
    uint32_t languages = 0;
    uint32_t data = 0;
    if (!tree.entry(0, versionResourceType, names) || !(names & subdirectoryFlag) ||
        !tree.entry(names & ~subdirectoryFlag, ResourceTree::anyEntry, languages) || !(languages & subdirectoryFlag) ||
        !tree.entry(languages & ~subdirectoryFlag, ResourceTree::anyEntry, data) || (data & subdirectoryFlag))
        return ResourceSearch::noVersionResource;

    uint8_t dataEntry[16];
    if (!tree.read(data, dataEntry, sizeof dataEntry)) return ResourceSearch::noVersionResource;
    uint64_t offset = 0;
    uint64_t available = 0;
    if (!pe.locate(le32(dataEntry), offset, available)) return ResourceSearch::noVersionResource;
    const uint64_t size = std::min<uint64_t>(le32(dataEntry + 4), maxVersionResourceSize);
    if (size > available) return ResourceSearch::noVersionResource;
    resource.resize(static_cast<size_t>(size));
    if (!pe.read(offset, resource.data(), resource.size())) return ResourceSearch::noVersionResource;
    return ResourceSearch::found;
}

}  // namespace corvant::version
