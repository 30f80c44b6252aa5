// Finds the version resource of a PE file (a Windows program or DLL). The
// file is untrusted: every offset and length in it is checked against the
// file before it is followed, and a file that does not hold together gives
// no resource.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvant::version {

// Random access to the file's bytes.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    virtual uint64_t size() const = 0;
    // Fills out with length bytes from offset; false when they are not all there.
    virtual bool read(uint64_t offset, void *out, size_t length) const = 0;
};

class MemorySource : public ByteSource {
public:
    MemorySource(const uint8_t *data, size_t size) : data_(data), size_(size) {}
    uint64_t size() const override { return size_; }
    bool read(uint64_t offset, void *out, size_t length) const override;

private:
    const uint8_t *data_;
    size_t size_;
};

// A version resource never exceeds what its 16-bit length field can say.
inline constexpr size_t maxVersionResourceSize = 0xffff;

enum class ResourceSearch { found, notPortableExecutable, noVersionResource };

// The data of the first version resource (the first name, in its first
// language), at most maxVersionResourceSize bytes of it.
ResourceSearch findVersionResource(const ByteSource &file, std::vector<uint8_t> &resource);

}  // namespace corvant::version
