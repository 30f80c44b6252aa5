// libFuzzer target for the portable layer's version.dll. Each input is read
// twice: as a PE file whose version resource is looked for, and as a
// version resource itself. Every answer must lie inside the block that was
// filled, and every text must end there; AddressSanitizer watches the rest.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/portable/version/pe_version_resource.h"
#include "platform/portable/version/version_block.h"

using namespace corvant::version;

namespace {

[[noreturn]] void fail(const char *what, const char *path) {
    std::fprintf(stderr, "%s for %s\n", what, path);
    std::abort();
}

// The answer's bytes; empty when there is none.
std::vector<uint8_t> query(std::vector<uint8_t> &block, const char *path) {
    void *value = nullptr;
    unsigned length = 0;
    if (!queryVersionBlock(block.data(), path, &value, &length)) return {};
    const uint8_t *begin = block.data();
    const auto *found = static_cast<const uint8_t *>(value);
    if (found < begin || found > begin + block.size() || length > block.size() - (found - begin))
        fail("an answer outside the block", path);
    return std::vector<uint8_t>(found, found + length);
}

void readBlock(const std::vector<uint8_t> &resource) {
    const size_t size = versionBlockSize(resource);
    if (size == 0) return;
    std::vector<uint8_t> block(size);  // exactly, so that a write past it shows
    fillVersionBlock(resource, block.data());
    query(block, "\\");
    query(block, "\\VarFileInfo\\Translation");
    void *translation = nullptr;
    unsigned length = 0;
    char path[64] = "\\StringFileInfo\\040904b0\\FileDescription";
    if (queryVersionBlock(block.data(), "\\VarFileInfo\\Translation", &translation, &length) && length >= 4) {
        const auto *pair = static_cast<const uint8_t *>(translation);
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%02x%02x%02x%02x\\FileDescription", pair[1], pair[0],
                      pair[3], pair[2]);
    }
    query(block, path);
    std::memcpy(path + std::strlen(path) - std::strlen("FileDescription"), "ProductName", sizeof "ProductName");
    // Texts are converted into the block: asking again must give the same.
    if (query(block, path) != query(block, path)) fail("a different answer the second time", path);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    std::vector<uint8_t> resource;
    if (findVersionResource(MemorySource(data, size), resource) == ResourceSearch::found) {
        if (resource.size() > maxVersionResourceSize) std::abort();
        readBlock(resource);
    }
    readBlock(std::vector<uint8_t>(data, data + std::min(size, maxVersionResourceSize)));
    return 0;
}
