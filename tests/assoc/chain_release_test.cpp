// The chain owns every key it opens and gives them all back, in order, with
// the class key flushed last. Observed through the portable layer's call log.
#include "assoc/class_key_chain.h"
#include "platform/portable/test_hooks.h"
#include "tests/assoc/assoc_fixture.h"

namespace corvant::testing {
namespace {

using ChainRelease = AssocTest;

std::vector<std::string> releaseCalls() {
    std::vector<std::string> calls;
    for (const std::string &call : recordedRegistryCalls())
        if (call.rfind("RegCloseKey", 0) == 0 || call.rfind("RegFlushKey", 0) == 0) calls.push_back(call);
    return calls;
}

void writeWholeClass(ClassKeyChain &chain) {
    chain.setDescription("URL:HyperText Transfer Protocol");
    chain.setDefaultIcon("C:\\B.EXE,0");
    chain.createShellOpen();
    chain.setCommand("C:\\B.EXE \"%1\"");
    chain.setDdeExec(true);
}

TEST_F(ChainRelease, ReleasesEveryKeyInOrderAndFlushesTheClassKey) {
    const size_t before = openRegistryHandleCount();
    recordRegistryCalls(true);
    {
        ClassKeyChain chain("http");
        writeWholeClass(chain);
        EXPECT_EQ(openRegistryHandleCount(), before + 8);
    }
    EXPECT_EQ(openRegistryHandleCount(), before);
    const std::vector<std::string> expected = {
        "RegCloseKey http\\shell\\open\\ddeexec\\Topic",
        "RegCloseKey http\\shell\\open\\ddeexec\\Application",
        "RegCloseKey http\\shell\\open\\ddeexec",
        "RegCloseKey http\\shell\\open\\command",
        "RegCloseKey http\\shell\\open",
        "RegCloseKey http\\shell",
        "RegCloseKey http\\DefaultIcon",
        "RegFlushKey http",
        "RegCloseKey http",
    };
    EXPECT_EQ(releaseCalls(), expected);
}

TEST_F(ChainRelease, FailedOpenReleasesNothingAndWritesNothing) {
    failKeyOpen("http");
    const size_t before = openRegistryHandleCount();
    recordRegistryCalls(true);
    {
        ClassKeyChain chain("http");
        EXPECT_FALSE(chain.isOpened());
        EXPECT_FALSE(chain.completelyWritten());
    }
    EXPECT_EQ(openRegistryHandleCount(), before);
    EXPECT_TRUE(releaseCalls().empty());
    EXPECT_FALSE(keyExists("http"));
}

TEST_F(ChainRelease, SkipsKeysThatCouldNotBeOpened) {
    failKeyOpen("http\\shell\\open");
    const size_t before = openRegistryHandleCount();
    recordRegistryCalls(true);
    {
        ClassKeyChain chain("http");
        writeWholeClass(chain);
        EXPECT_EQ(openRegistryHandleCount(), before + 3);  // class, DefaultIcon, shell
        chain.release();
        EXPECT_FALSE(chain.completelyWritten());
    }
    EXPECT_EQ(openRegistryHandleCount(), before);
    const std::vector<std::string> expected = {
        "RegCloseKey http\\shell",
        "RegCloseKey http\\DefaultIcon",
        "RegFlushKey http",
        "RegCloseKey http",
    };
    EXPECT_EQ(releaseCalls(), expected);
}

TEST_F(ChainRelease, ApplyLeavesNoHandleOpenOnAnyPath) {
    choosePath("C:\\Browser\\B.EXE");
    const size_t before = openRegistryHandleCount();
    EXPECT_TRUE(applyAssociations());
    EXPECT_EQ(openRegistryHandleCount(), before);

    failKeyOpen("ftp");
    EXPECT_FALSE(applyAssociations());
    EXPECT_EQ(openRegistryHandleCount(), before);

    clearRegistryFailures();
    failValueWritesBelow(".htm");
    EXPECT_FALSE(applyAssociations());
    EXPECT_EQ(openRegistryHandleCount(), before);
}

TEST_F(ChainRelease, ClassesAreWrittenInTheirFixedOrder) {
    choosePath("C:\\Browser\\B.EXE");
    recordRegistryCalls(true);
    ASSERT_TRUE(applyAssociations());
    std::vector<std::string> created;
    for (const std::string &call : recordedRegistryCalls()) {
        const std::string prefix = "RegCreateKeyExA ";
        if (call.rfind(prefix, 0) == 0 && call.find('\\') == std::string::npos)
            created.push_back(call.substr(prefix.size()));
    }
    const std::vector<std::string> expected = {".html", ".htm", "htmlfile", "http", "https", "ftp", "gopher"};
    EXPECT_EQ(created, expected);
}

}  // namespace
}  // namespace corvant::testing
