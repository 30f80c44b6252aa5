// The compiled resources (.res) that the build embeds in a program. The source
// generated from a .res calls registerEmbeddedResources from a static
// initialiser, so the program's templates exist only in its resource script.
#pragma once

#include <cstddef>
#include <vector>

#include "platform/portable/types.h"

namespace corvant::ui {

bool registerEmbeddedResources(const unsigned char *data, size_t size);

struct ResourceData {
    const BYTE *data = nullptr;
    size_t size = 0;
};

// Finds a resource by type and name (MAKEINTRESOURCE number, or a name
// compared without case). False if no embedded .res holds it.
bool findEmbeddedResource(WORD type, LPCSTR name, ResourceData &found);

// Every embedded resource of a type, in the order they were registered.
std::vector<ResourceData> embeddedResources(WORD type);

constexpr WORD resourceTypeDialog = 5;

}  // namespace corvant::ui
