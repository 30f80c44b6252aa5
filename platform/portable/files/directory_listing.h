// A directory's entries as FindFirstFileA reports them, read in one pass.
#pragma once

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

// Reads the directory at path (POSIX form, relative to the current
// directory or absolute). "." and ".." come first, except at the root of the
// file system, as Windows lists a drive root. Directories carry
// FILE_ATTRIBUTE_DIRECTORY; symbolic links, and directories on another device
// than the listed one, carry FILE_ATTRIBUTE_REPARSE_POINT (a link to a
// directory carries both); other entries carry FILE_ATTRIBUTE_ARCHIVE.
// When the same directory was the last one read and has not changed since,
// that listing is answered again without reading. Null with errno set when
// the directory cannot be read.
std::shared_ptr<const DirectoryListing> listDirectory(const std::string &path);

// Called whenever the current directory changes, so that a listing read
// through a relative path is not offered for another directory.
void noteCurrentDirectoryChanged();

// How many times a directory has been read from the file system.
size_t directoryReads();

}  // namespace corvant::files
