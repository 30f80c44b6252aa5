#include "platform/portable/version/version_functions.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/portable/library.h"
#include "platform/portable/version/pe_version_resource.h"
#include "platform/portable/version/version_block.h"

namespace corvant::version {

namespace {

class FileSource : public ByteSource {
public:
    explicit FileSource(int descriptor, uint64_t size) : descriptor_(descriptor), size_(size) {}
    uint64_t size() const override { return size_; }
    bool read(uint64_t offset, void *out, size_t length) const override {
        if (offset > size_ || length > size_ - offset) return false;
        auto *bytes = static_cast<char *>(out);
        while (length > 0) {
            const ssize_t got = pread(descriptor_, bytes, length, static_cast<off_t>(offset));
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            bytes += got;
            offset += static_cast<uint64_t>(got);
            length -= static_cast<size_t>(got);
        }
        return true;
    }

private:
    int descriptor_;
    uint64_t size_;
};

// The version resource of the file, or false with the error set.
bool readVersionResource(LPCSTR fileName, std::vector<uint8_t> &resource) {
    if (fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    // Not blocking on a FIFO that someone put where the browser was.
    const int descriptor = open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_FILE_NOT_FOUND : ERROR_ACCESS_DENIED);
        return false;
    }
    struct stat status;
    ResourceSearch search = ResourceSearch::notPortableExecutable;
    if (fstat(descriptor, &status) == 0 && S_ISREG(status.st_mode))
        search = findVersionResource(FileSource(descriptor, static_cast<uint64_t>(status.st_size)), resource);
    close(descriptor);
    if (search == ResourceSearch::found && versionBlockSize(resource) != 0) return true;
    // What Windows says of a file without a version resource, and of one
    // that is no program at all.
    SetLastError(search == ResourceSearch::notPortableExecutable ? ERROR_BAD_FORMAT : ERROR_RESOURCE_TYPE_NOT_FOUND);
    return false;
}

}  // namespace

DWORD WINAPI getFileVersionInfoSize(LPCSTR fileName, LPDWORD handle) {
    if (handle) *handle = 0;
    std::vector<uint8_t> resource;
    if (!readVersionResource(fileName, resource)) return 0;
    return static_cast<DWORD>(versionBlockSize(resource));
}

BOOL WINAPI getFileVersionInfo(LPCSTR fileName, DWORD, DWORD length, LPVOID data) {
    std::vector<uint8_t> resource;
    if (!readVersionResource(fileName, resource)) return FALSE;
    // Short of the full block there would be no room for the texts.
    if (data == nullptr || length < versionBlockSize(resource)) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return FALSE;
    }
    fillVersionBlock(resource, static_cast<uint8_t *>(data));
    return TRUE;
}

BOOL WINAPI verQueryValue(LPCVOID block, LPCSTR subBlock, LPVOID *buffer, UINT *length) {
    if (block == nullptr || subBlock == nullptr || buffer == nullptr || length == nullptr) return FALSE;
    unsigned found = 0;
    // The texts are converted into the block's own room, as on Windows.
    if (!queryVersionBlock(static_cast<uint8_t *>(const_cast<void *>(block)), subBlock, buffer, &found)) {
        *length = 0;
        return FALSE;
    }
    *length = found;
    return TRUE;
}

}  // namespace corvant::version
