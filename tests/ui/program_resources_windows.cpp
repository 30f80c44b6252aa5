#include "tests/ui/program_resources.h"

#include "platform/win32.h"

namespace corvant::testing {

std::optional<std::vector<uint8_t>> programResource(int type, int name) {
    HMODULE program = LoadLibraryExA(CORVANT_PROGRAM_PATH, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (program == nullptr) {
        return std::nullopt;
    }
    std::optional<std::vector<uint8_t>> result;
    HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(name), MAKEINTRESOURCEA(type));
    HGLOBAL loaded = found ? LoadResource(program, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    if (data != nullptr) {
        auto bytes = static_cast<const uint8_t *>(data);
        result.emplace(bytes, bytes + SizeofResource(program, found));
    }
    FreeLibrary(program);
    return result;
}

}  // namespace corvant::testing
