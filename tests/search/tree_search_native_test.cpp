// The walk where the file system gets in its way: folders it may not read,
// links, a very deep chain under tight limits, and paths too long to list.
// Work that could loop or needs other limits runs in a child process.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/portable/files/file_test_hooks.h"
#include "tests/search/child_process.h"
#include "tests/search/native_tree.h"
#include "tests/search/search_fixture.h"

namespace corvant::testing {
namespace {

using Entries = std::vector<std::string>;

// What a search run in a child reported: where it ended, then the entries.
struct ChildSearch {
    bool finished = false;
    std::string endedIn;
    Entries entries;
};

ChildSearch searchInChild(const std::string &start, const std::function<bool()> &prepare) {
    const ChildResult result = runInChild([&]() -> std::string {
        if (!prepare()) return "";
        if (!SetCurrentDirectoryA(start.c_str())) return "";
        searchTree();
        std::string report = currentDirectory();
        for (const std::string &entry : listEntries(resultList)) report += "\n" + entry;
        return report;
    });
    ChildSearch search;
    if (!result.exitedNormally || result.output.empty()) return search;
    search.finished = true;
    search.entries = splitLines(result.output);
    search.endedIn = search.entries.front();
    search.entries.erase(search.entries.begin());
    return search;
}

class NativeSearchTest : public SearchTest {
protected:
    void TearDown() override {
        // Deep or locked parts first: the sandbox's own clean-up cannot remove them.
        if (chdir(sandbox_.folder().c_str()) == 0) {
            for (const char *part : {"locked", "listless", "chain", "long"}) removeTreeHere(part);
        }
        SearchTest::TearDown();
    }
};

TEST_F(NativeSearchTest, UnreadableFoldersAreSkippedWithoutRepeatsOrLosingThePlace) {
    for (const char *file : {"NETSCAPE.EXE", "a/NETSCAPE.EXE", "locked/NETSCAPE.EXE", "listless/NETSCAPE.EXE",
                             "listless/inner/NETSCAPE.EXE", "z/NETSCAPE.EXE"}) {
        makeFile(sandbox_.folder(), file);
    }
    ASSERT_EQ(chmod(pathInTree("locked").c_str(), 0), 0);
    // Can be entered but not listed.
    ASSERT_EQ(chmod(pathInTree("listless").c_str(), 0311), 0);

    const ChildSearch search = searchInChild(tree(), [this] {
        dropPermissionBypass();
        return faccessat(AT_FDCWD, pathInTree("locked").c_str(), X_OK, AT_EACCESS) != 0;
    });

    ASSERT_TRUE(search.finished) << "the child could not give up its file access rights";
    EXPECT_EQ(search.endedIn, tree());
    EXPECT_EQ(search.entries,
              (Entries{pathInTree("a/NETSCAPE.EXE"), pathInTree("NETSCAPE.EXE"), pathInTree("z/NETSCAPE.EXE")}));
}

TEST_F(NativeSearchTest, LinksAreNeverFollowed) {
    makeFile(sandbox_.folder(), "tree/real/NETSCAPE.EXE");
    for (int i = 0; i < 50; ++i) {
        makeFile(sandbox_.folder(), "elsewhere/d" + std::to_string(i) + "/NETSCAPE.EXE");
    }
    const std::string top = pathInTree("tree");
    ASSERT_EQ(symlink(".", (top + "/loop").c_str()), 0);
    ASSERT_EQ(symlink("..", (top + "/real/up").c_str()), 0);
    ASSERT_EQ(symlink("../../tree", (top + "/real/again").c_str()), 0);
    ASSERT_EQ(symlink(pathInTree("elsewhere").c_str(), (top + "/big").c_str()), 0);

    const ChildSearch search = searchInChild(top, [] { return true; });

    ASSERT_TRUE(search.finished) << "the search did not end";
    EXPECT_EQ(search.endedIn, top);
    EXPECT_EQ(search.entries, Entries{pathInTree("tree/real/NETSCAPE.EXE")});
}

TEST_F(NativeSearchTest, FoldersWithNamesWindowsCannotHoldAreSkippedAndThePlaceIsKept) {
    // Spelt as Windows paths these would lead to the root, two levels up, or
    // into a/b; the walk skips them (and what lies below them) instead.
    const std::vector<std::string> foreign = {
        "\\", "..\\..", "a\\b", "*", "?x", "C:", "trail\\", "say \"hi\"", "x<y>", "p|q", "line\nbreak"};
    makeFile(sandbox_.folder(), "a/b/NETSCAPE.EXE");
    makeFile(sandbox_.folder(), "plain/NETSCAPE.EXE");
    for (const std::string &name : foreign) {
        makeFile(sandbox_.folder(), name + "/NETSCAPE.EXE");
        makeFile(sandbox_.folder(), name + "/inner/NETSCAPE.EXE");
    }
    makeFile(sandbox_.folder(), "z/NETSCAPE.EXE");

    // In a child, with the drive root at the tree: a walk led to the root
    // would come back to the same folders and never end.
    const ChildSearch search = searchInChild(tree(), [this] {
        setDriveRoot(tree());
        return true;
    });

    ASSERT_TRUE(search.finished) << "the search did not end";
    EXPECT_EQ(search.endedIn, tree());
    EXPECT_EQ(search.entries, (Entries{pathInTree("a/b/NETSCAPE.EXE"), pathInTree("plain/NETSCAPE.EXE"),
                                       pathInTree("z/NETSCAPE.EXE")}));
}

TEST_F(NativeSearchTest, ChainOfThreeThousandLevelsIsWalkedWithinTightLimits) {
    constexpr int depth = 3000;
    ASSERT_EQ(chdir(tree().c_str()), 0);
    makeFolderAndEnter("chain");
    for (int level = 0; level < depth; ++level) makeFolderAndEnter("d");
    makeFileHere("netscape.exe");
    std::string expected = pathInTree("chain");
    for (int level = 0; level < depth; ++level) expected += "/d";
    expected += "/NETSCAPE.EXE";

    const ChildSearch search = searchInChild(pathInTree("chain"), [] {
        // Neither an open folder nor a stack frame per level: a small stack
        // and the usual limit on open files leave room for any depth.
        const rlimit files{1024, 1024};
        const rlimit stack{256u << 10, 256u << 10};
        return setrlimit(RLIMIT_NOFILE, &files) == 0 && setrlimit(RLIMIT_STACK, &stack) == 0;
    });

    ASSERT_TRUE(search.finished) << "the search did not end";
    EXPECT_EQ(search.endedIn, pathInTree("chain"));
    EXPECT_EQ(search.entries, Entries{expected});
}

TEST_F(NativeSearchTest, PathsTooLongForTheBufferAreSkippedNeverCut) {
    constexpr size_t fullPathSize = 8192;
    const std::string name250(250, 'n');
    makeFile(sandbox_.folder(), "long/NETSCAPE.EXE");
    // Folders whose path leaves room for exactly "/NETSCAPE.EXE" and its
    // terminating zero, and one byte less.
    std::string fitting = pathInTree("long");
    const size_t roomForFolder = fullPathSize - std::string("/NETSCAPE.EXE").size() - 1;
    ASSERT_EQ(chdir(fitting.c_str()), 0);
    while (roomForFolder - fitting.size() > 1 + 251) {
        makeFolderAndEnter(name250);
        fitting += "/" + name250;
    }
    const std::string lastName(roomForFolder - fitting.size() - 1, 'f');
    makeFolderAndEnter(lastName);
    makeFileHere("netscape.exe");
    ASSERT_EQ(chdir(".."), 0);
    makeFolderAndEnter(lastName + "g");
    makeFileHere("netscape.exe");
    // A folder whose own path no longer fits.
    for (int level = 0; level < 3; ++level) makeFolderAndEnter(name250);
    makeFileHere("netscape.exe");
    fitting += "/" + lastName;
    ASSERT_EQ(fitting.size(), roomForFolder);

    ASSERT_EQ(chdir(tree().c_str()), 0);
    const Entries found = searchWholeTree();

    EXPECT_EQ(found, (Entries{pathInTree("long/NETSCAPE.EXE"), fitting + "/NETSCAPE.EXE"}));
}

}  // namespace
}  // namespace corvant::testing
