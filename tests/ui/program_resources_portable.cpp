#include <fstream>
#include <iterator>

#include "tests/ui/dialog_template.h"
#include "tests/ui/program_resources.h"

namespace corvant::testing {

std::optional<std::vector<uint8_t>> programResource(int type, int name) {
    std::ifstream file(CORVANT_PROGRAM_RES, std::ios::binary);
    if (!file) {
        return std::nullopt;
    }
    std::vector<uint8_t> resFile((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return findInResourceFile(resFile, type, name);
}

}  // namespace corvant::testing
