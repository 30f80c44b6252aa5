#include "platform/portable/files/directory_listing.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/portable/files.h"

namespace corvant::files {

namespace {

size_t readCount = 0;
unsigned long currentDirectoryGeneration = 0;

// The last listing read, kept while it can be trusted to be current.
struct ReusableListing {
    std::shared_ptr<const DirectoryListing> listing;
    std::string path;
    unsigned long generation = 0;
    dev_t device = 0;
    ino_t inode = 0;
    timespec modified{};
    timespec changed{};
};
ReusableListing lastListing;

class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) close(fd_);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;
    int get() const { return fd_; }
    int release() {
        const int fd = fd_;
        fd_ = -1;
        return fd;
    }

private:
    int fd_;
};

bool operator==(const timespec &a, const timespec &b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

bool earlier(const timespec &a, const timespec &b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

timespec minus(timespec time, const timespec &span) {
    time.tv_sec -= span.tv_sec;
    time.tv_nsec -= span.tv_nsec;
    if (time.tv_nsec < 0) {
        time.tv_nsec += 1000000000L;
        time.tv_sec -= 1;
    }
    return time;
}

// A change to a directory within the clock tick in which it was read may
// leave its time stamps as they were, so only a directory last changed in an
// earlier tick can be taken as unchanged later on. Time stamps without a
// fraction of a second may come from a file system that keeps whole (or
// even pairs of) seconds, so those need a wider margin.
bool settledBefore(const struct stat &status, const timespec &readStart) {
    static const timespec tick = [] {
        timespec resolution{0, 10000000L};
        clock_getres(CLOCK_REALTIME_COARSE, &resolution);
        return resolution;
    }();
    const bool coarseStamps = status.st_ctim.tv_nsec == 0 && status.st_mtim.tv_nsec == 0;
    const timespec margin = coarseStamps ? timespec{2, 0} : tick;
    const timespec limit = minus(readStart, margin);
    return earlier(status.st_ctim, limit) && earlier(status.st_mtim, limit);
}

bool stillCurrent(const std::string &path) {
    if (!lastListing.listing || lastListing.path != path) return false;
    const bool relative = path.empty() || path[0] != '/';
    if (relative && lastListing.generation != currentDirectoryGeneration) return false;
    struct stat status;
    if (stat(path.c_str(), &status) != 0) return false;
    return status.st_dev == lastListing.device && status.st_ino == lastListing.inode &&
           status.st_mtim == lastListing.modified && status.st_ctim == lastListing.changed;
}

bool isFileSystemRoot(const struct stat &directory) {
    struct stat root;
    return stat("/", &root) == 0 && root.st_dev == directory.st_dev && root.st_ino == directory.st_ino;
}

DWORD directoryAttributes(int directoryFd, const char *name, dev_t listedDevice) {
    struct stat status;
    if (fstatat(directoryFd, name, &status, AT_SYMLINK_NOFOLLOW) == 0 && status.st_dev != listedDevice) {
        return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    }
    return FILE_ATTRIBUTE_DIRECTORY;
}

DWORD linkAttributes(int directoryFd, const char *name) {
    struct stat target;
    if (fstatat(directoryFd, name, &target, 0) == 0 && S_ISDIR(target.st_mode)) {
        return FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT;
    }
    return FILE_ATTRIBUTE_REPARSE_POINT;
}

// Attributes from the entry type; the entry itself is examined only for
// directories (is it a mount point?), links (do they lead to a directory?)
// and where the file system gives no type.
DWORD entryAttributes(int directoryFd, const char *name, unsigned char type, dev_t listedDevice) {
    if (type == DT_UNKNOWN) {
        struct stat status;
        if (fstatat(directoryFd, name, &status, AT_SYMLINK_NOFOLLOW) != 0) {
            return FILE_ATTRIBUTE_ARCHIVE;
        }
        if (S_ISDIR(status.st_mode)) {
            return status.st_dev != listedDevice ? FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT
                                                 : FILE_ATTRIBUTE_DIRECTORY;
        }
        if (S_ISLNK(status.st_mode)) return linkAttributes(directoryFd, name);
        return FILE_ATTRIBUTE_ARCHIVE;
    }
    if (type == DT_DIR) return directoryAttributes(directoryFd, name, listedDevice);
    if (type == DT_LNK) return linkAttributes(directoryFd, name);
    return FILE_ATTRIBUTE_ARCHIVE;
}

constexpr size_t readBufferSize = 32768;

char *readBuffer() {
    thread_local std::unique_ptr<char[]> buffer(new char[readBufferSize]);
    return buffer.get();
}

bool isDot(const char *name) { return name[0] == '.' && name[1] == '\0'; }
bool isDotDot(const char *name) { return name[0] == '.' && name[1] == '.' && name[2] == '\0'; }

// The listing of what one read brought: the whole directory.
std::shared_ptr<DirectoryListing> listingOf(int fd, const struct stat &status, const char *read, ssize_t filled) {
    auto listing = std::make_shared<DirectoryListing>();
    listing->add(".", 1, FILE_ATTRIBUTE_DIRECTORY);
    listing->add("..", 2, FILE_ATTRIBUTE_DIRECTORY);
    ino_t dotInode = 0;
    ino_t dotDotInode = 0;
    for (ssize_t offset = 0; offset < filled;) {
        const auto *entry = reinterpret_cast<const dirent64 *>(read + offset);
        offset += entry->d_reclen;
        const char *name = entry->d_name;
        if (isDot(name)) {
            dotInode = entry->d_ino;
        } else if (isDotDot(name)) {
            dotDotInode = entry->d_ino;
        } else {
            const size_t length = std::strlen(name);
            if (length >= MAX_PATH) continue;
            listing->add(name, length, entryAttributes(fd, name, entry->d_type, status.st_dev));
        }
    }
    // Only a root directory is its own parent; then ask whether it is "/".
    if (dotInode == dotDotInode && isFileSystemRoot(status)) listing->dropDotEntries();
    return listing;
}

}  // namespace

DirectoryStream::DirectoryStream(int fd, const struct stat &status)
    : fd_(fd),
      device_(status.st_dev),
      dotEntriesLeft_(isFileSystemRoot(status) ? 0 : 2),
      buffer_(new char[readBufferSize]) {}

DirectoryStream::~DirectoryStream() { close(fd_); }

bool DirectoryStream::next(const char *&name, DWORD &attributes) {
    if (dotEntriesLeft_ > 0) {
        name = dotEntriesLeft_-- == 2 ? "." : "..";
        attributes = FILE_ATTRIBUTE_DIRECTORY;
        return true;
    }
    for (;;) {
        if (offset_ >= filled_) {
            const ssize_t got = getdents64(fd_, buffer_.get(), readBufferSize);
            if (got <= 0) return false;
            filled_ = static_cast<size_t>(got);
            offset_ = 0;
        }
        const auto *entry = reinterpret_cast<const dirent64 *>(buffer_.get() + offset_);
        offset_ += entry->d_reclen;
        if (isDot(entry->d_name) || isDotDot(entry->d_name) || std::strlen(entry->d_name) >= MAX_PATH) continue;
        name = entry->d_name;
        attributes = entryAttributes(fd_, name, entry->d_type, device_);
        return true;
    }
}

void DirectoryListing::dropDotEntries() { entries_.erase(entries_.begin(), entries_.begin() + 2); }

void DirectoryListing::add(const char *name, size_t length, DWORD attributes) {
    entries_.push_back(Entry{static_cast<uint32_t>(names_.size()), attributes});
    names_.append(name, length);
    names_.push_back('\0');
}

bool readDirectory(const std::string &path, DirectoryEntries &entries) {
    entries = DirectoryEntries{};
    if (stillCurrent(path)) {
        entries.listing = lastListing.listing;
        return true;
    }
    lastListing = ReusableListing{};

    timespec readStart{};
    clock_gettime(CLOCK_REALTIME_COARSE, &readStart);
    Descriptor directory(open(path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (directory.get() < 0) return false;
    struct stat status;
    if (fstat(directory.get(), &status) != 0) return false;
    char *read = readBuffer();
    const ssize_t filled = getdents64(directory.get(), read, readBufferSize);
    if (filled < 0) return false;
    ++readCount;
    // A second read that brings nothing means the first brought it all.
    // Otherwise the directory is read again from its start, a batch at a time.
    char probe[sizeof(dirent64) + 256];
    const ssize_t more = filled == 0 ? 0 : getdents64(directory.get(), probe, sizeof probe);
    if (more < 0) return false;
    if (more > 0) {
        if (lseek(directory.get(), 0, SEEK_SET) != 0) return false;
        entries.stream = std::make_unique<DirectoryStream>(directory.release(), status);
        return true;
    }
    std::shared_ptr<const DirectoryListing> listing = listingOf(directory.get(), status, read, filled);

    if (settledBefore(status, readStart)) {
        lastListing.listing = listing;
        lastListing.path = path;
        lastListing.generation = currentDirectoryGeneration;
        lastListing.device = status.st_dev;
        lastListing.inode = status.st_ino;
        lastListing.modified = status.st_mtim;
        lastListing.changed = status.st_ctim;
    }
    entries.listing = std::move(listing);
    return true;
}

void noteCurrentDirectoryChanged() { ++currentDirectoryGeneration; }

size_t directoryReads() { return readCount; }

}  // namespace corvant::files
