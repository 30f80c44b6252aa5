// The resources of the program as built: on Windows read from corvant.exe,
// natively from the .res compiled from the same script that the terminal
// build embeds.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

namespace corvant::testing {

constexpr int resourceTypeIcon = 3;        // RT_ICON
constexpr int resourceTypeDialog = 5;      // RT_DIALOG
constexpr int resourceTypeGroupIcon = 14;  // RT_GROUP_ICON
constexpr int resourceTypeVersion = 16;    // RT_VERSION
constexpr int resourceTypeManifest = 24;   // RT_MANIFEST

std::optional<std::vector<uint8_t>> programResource(int type, int name);

}  // namespace corvant::testing
