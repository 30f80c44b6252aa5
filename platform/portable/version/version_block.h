// The block that GetFileVersionInfoA fills and VerQueryValueA reads: the
// version resource as the file holds it (a tree of nodes with UTF-16 keys),
// followed by room for its texts in the ANSI code page (UTF-8), each at
// twice its offset in the resource, which holds any of them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace corvant::version {

// The size of the block for this resource; 0 when it cannot be one.
size_t versionBlockSize(const std::vector<uint8_t> &resource);
// Fills block (versionBlockSize bytes) from the resource.
void fillVersionBlock(const std::vector<uint8_t> &resource, uint8_t *block);

// Finds the node that path names ("\\", "\\VarFileInfo\\Translation",
// "\\StringFileInfo\\040904b0\\FileDescription"; keys compared without
// case). A text comes back converted, with its length in bytes and its
// terminating zero; anything else as the bytes of its value.
bool queryVersionBlock(uint8_t *block, const char *path, void **value, unsigned *length);

}  // namespace corvant::version
