// A directory's entries as FindFirstFileA reports them: a small directory
// read whole in one pass, a large one a batch at a time.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/portable/types.h"

namespace corvant::files {

class DirectoryListing {
public:
    size_t size() const { return entries_.size(); }
    const char *name(size_t index) const { return names_.data() + entries_[index].nameOffset; }
    DWORD attributes(size_t index) const { return entries_[index].attributes; }

    void add(const char *name, size_t length, DWORD attributes);
    // Removes "." and "..", which are always the first two entries added.
    void dropDotEntries();

private:
    struct Entry {
        uint32_t nameOffset;
        DWORD attributes;
    };
    std::vector<Entry> entries_;
    std::string names_;  // each name followed by its terminating zero
};

// The entries of a directory too large to hold at once (more than one read
// of the file system brings), read as they are asked for. Its memory stays
// the same whatever the directory's size; it keeps the directory open.
class DirectoryStream {
public:
    // Takes over fd, a directory opened for reading at its start.
    DirectoryStream(int fd, const struct stat &status);
    ~DirectoryStream();
    DirectoryStream(const DirectoryStream &) = delete;
    DirectoryStream &operator=(const DirectoryStream &) = delete;

    // The next entry; name stays valid until the next call. False at the end.
    bool next(const char *&name, DWORD &attributes);

private:
    int fd_;
    dev_t device_;
    int dotEntriesLeft_;  // "." and ".." come first, as in a listing
    std::unique_ptr<char[]> buffer_;
    size_t filled_ = 0;
    size_t offset_ = 0;
};

// What FindFirstFileA goes through: a listing, or a stream.
struct DirectoryEntries {
    std::shared_ptr<const DirectoryListing> listing;
    std::unique_ptr<DirectoryStream> stream;
};

// Reads the directory at path (POSIX form, relative to the current
// directory or absolute). "." and ".." come first, except at the root of the
// file system, as Windows lists a drive root. Directories carry
// FILE_ATTRIBUTE_DIRECTORY; symbolic links, and directories on another device
// than the listed one, carry FILE_ATTRIBUTE_REPARSE_POINT (a link to a
// directory carries both); other entries carry FILE_ATTRIBUTE_ARCHIVE.
// A directory that one read of the file system covers comes back as a
// listing; when the same directory was the last one listed and has not
// changed since, that listing is answered again without reading. A larger
// one comes back as a stream. False with errno set when the directory cannot
// be read.
bool readDirectory(const std::string &path, DirectoryEntries &entries);

// Called whenever the current directory changes, so that a listing read
// through a relative path is not offered for another directory.
void noteCurrentDirectoryChanged();

// How many times a directory has been read from the file system.
size_t directoryReads();

}  // namespace corvant::files
