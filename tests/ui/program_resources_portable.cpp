// Natively the program's resources are the .res that the build embeds (the
// same bytes the terminal dialog layer loads its templates from).
#include "platform/portable/ui/embedded_resources.h"
#include "tests/ui/program_resources.h"

namespace corvant::testing {

std::optional<std::vector<uint8_t>> programResource(int type, int name) {
    ui::ResourceData found;
    if (!ui::findEmbeddedResource(WORD(type), MAKEINTRESOURCEA(name), found)) {
        return std::nullopt;
    }
    return std::vector<uint8_t>(found.data, found.data + found.size);
}

}  // namespace corvant::testing
