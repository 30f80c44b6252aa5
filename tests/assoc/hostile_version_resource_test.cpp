// Browser files that are damaged or built to mislead: the name read from
// them is the browser's own or the file name, never a piece of either, and
// version.dll is released every time. Natively, where the reader is the
// portable layer's own (the sanitizer builds watch its memory accesses).
#include <fstream>
#include <iterator>

#include "assoc/browser_registration.h"
#include "platform/portable/test_hooks.h"
#include "tests/assoc/assoc_fixture.h"

namespace corvant::testing {
namespace {

using HostileVersionResource = AssocTest;

TEST_F(HostileVersionResource, DamagedFilesGiveTheFileNameOrTheWholeName) {
#ifndef CORVANT_STAND_IN_FOLDER
    GTEST_SKIP() << "no MinGW resource compiler and linker to make the stand-ins";
#else
    std::ifstream in(std::string(CORVANT_STAND_IN_FOLDER) + "/described.exe", std::ios::binary);
    const std::string intact((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(intact.size(), 1024u);
    const std::string path = sandbox.folder() + "/Damaged.exe";
    auto nameOf = [&](const std::string &bytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
        return registeredBrowserName(path.c_str());
    };
    const std::string own = "Beispiel Browser (chosen with Corvant)";
    const std::string fallback = "Damaged (chosen with Corvant)";
    ASSERT_EQ(nameOf(intact), own);

    // Cut anywhere: headers, section table, resource tree, the resource.
    for (size_t length = 0; length < intact.size(); length += 7) {
        const std::string name = nameOf(intact.substr(0, length));
        EXPECT_TRUE(name == own || name == fallback) << length << ": " << name;
    }
    // Every field overwritten in turn with all ones (offsets past the end,
    // sizes of 4 GB, subdirectory flags where data belongs) or zeros.
    for (const char stamp : {'\xff', '\0'}) {
        for (size_t at = 0; at + 4 <= intact.size(); at += 2) {
            std::string damaged = intact;
            damaged.replace(at, 4, 4, stamp);
            EXPECT_NE(nameOf(damaged), "") << at;
        }
    }
    EXPECT_EQ(loadedLibraryCount(), 0u);
#endif
}

}  // namespace
}  // namespace corvant::testing
