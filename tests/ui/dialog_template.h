// A reader for extended dialog templates (DLGTEMPLATEEX), independent of
// the dialog layer that shows them, so that the tests can check what the
// program's resources really hold.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace corvant::testing {

struct DialogControlTemplate {
    uint32_t helpId = 0;
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    int32_t id = 0;
    // Predefined classes are given by name ("Button", "Static", "ListBox", ...).
    std::string className;
    // An ordinal instead of a text reads as "#<number>".
    std::string text;
    std::vector<uint8_t> creationData;
};

struct DialogTemplate {
    uint32_t helpId = 0;
    uint32_t exStyle = 0;
    uint32_t style = 0;
    int x = 0, y = 0, cx = 0, cy = 0;
    std::string menu;
    std::string className;
    std::string title;
    // Present only with DS_SETFONT.
    int pointSize = 0;
    int weight = 0;
    bool italic = false;
    int charset = 0;
    std::string fontName;
    std::vector<DialogControlTemplate> controls;
};

// Null for anything that is not a complete, well-formed DLGTEMPLATEEX.
std::optional<DialogTemplate> parseDialogTemplate(const std::vector<uint8_t> &bytes);

}  // namespace corvant::testing
