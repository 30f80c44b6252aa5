// The tree search on scratch trees, with a real sorted list box.
#include <cstring>
#include <filesystem>

#include "tests/search/search_fixture.h"

namespace corvant::testing {
namespace {

using Entries = std::vector<std::string>;

TEST_F(SearchTest, LowerCaseFileIsListedUpperCasedAndTheListedPathNamesIt) {
    makeFile(sandbox_.folder(), "Program Files/Internet Explorer/iexplore.exe");
    chooseInternetExplorer();

    const Entries found = searchWholeTree();

    const std::string expected = pathInTree("Program Files/Internet Explorer/IEXPLORE.EXE");
    ASSERT_EQ(found, Entries{expected});
    // Names compare without case, so the listed path finds the file under its own name.
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(expected.c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "iexplore.exe");
    FindClose(find);
}

TEST_F(SearchTest, BrowserTypeChoosesWhichNameIsListed) {
    makeFile(sandbox_.folder(), "Netscape/NETSCAPE.EXE");
    makeFile(sandbox_.folder(), "Explorer/IEXPLORE.EXE");

    chooseNetscape();
    EXPECT_EQ(searchWholeTree(), Entries{pathInTree("Netscape/NETSCAPE.EXE")});

    SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
    chooseInternetExplorer();
    EXPECT_EQ(searchWholeTree(), Entries{pathInTree("Explorer/IEXPLORE.EXE")});
}

TEST_F(SearchTest, EveryCopyIsListedOnceInSortedOrder) {
    makeFile(sandbox_.folder(), "netscape.exe");
    makeFile(sandbox_.folder(), "zeta/deep/er/NetScape.Exe");
    makeFile(sandbox_.folder(), "Alpha/NETSCAPE.EXE");
    makeFolder(sandbox_.folder(), "empty/too");
    makeFile(sandbox_.folder(), ".hidden/netscape.exe");

    const Entries found = searchWholeTree();

    EXPECT_EQ(found, (Entries{pathInTree(".hidden/NETSCAPE.EXE"), pathInTree("Alpha/NETSCAPE.EXE"),
                              pathInTree("NETSCAPE.EXE"), pathInTree("zeta/deep/er/NETSCAPE.EXE")}));
}

TEST_F(SearchTest, FolderNamedLikeTheTargetIsWalkedButNotListed) {
    makeFile(sandbox_.folder(), "netscape.exe/NETSCAPE.EXE");
    makeFolder(sandbox_.folder(), "IEXPLORE.EXE");

    EXPECT_EQ(searchWholeTree(), Entries{pathInTree("netscape.exe/NETSCAPE.EXE")});
    SendMessageA(listBox_, LB_RESETCONTENT, 0, 0);
    chooseInternetExplorer();
    EXPECT_EQ(searchWholeTree(), Entries{});
}

TEST_F(SearchTest, NamesThatOnlyResembleTheTargetAreNotListed) {
    for (const char *name : {"netscape.exe.bak", "netscape.ex", "xnetscape.exe", "netscape.com", "netscape",
                             "netscape.exe.d/readme.txt", "Netscape Navigator/setup.exe", "iexplore.exe"}) {
        makeFile(sandbox_.folder(), name);
    }

    EXPECT_EQ(searchWholeTree(), Entries{});
}

TEST_F(SearchTest, EmptyTreeLeavesTheListEmpty) { EXPECT_EQ(searchWholeTree(), Entries{}); }

TEST_F(SearchTest, SearchEndsWhereItBeganAfterADeepAndWideWalk) {
    for (int i = 0; i < 8; ++i) {
        makeFile(sandbox_.folder(), "w" + std::to_string(i) + "/a/b/c/d/e/f/file.txt");
    }
    makeFile(sandbox_.folder(), "w3/a/b/c/d/e/f/NETSCAPE.EXE");
    const std::string start = pathInTree("w3/a");
    ASSERT_TRUE(SetCurrentDirectoryA(start.c_str()));

    searchTree();

    EXPECT_EQ(currentDirectory(), start);
    EXPECT_EQ(listEntries(listBox_), Entries{pathInTree("w3/a/b/c/d/e/f/NETSCAPE.EXE")});
}

TEST_F(SearchTest, ScanLooksOnlyAtTheCurrentFolder) {
    makeFile(sandbox_.folder(), "NETSCAPE.EXE");
    makeFile(sandbox_.folder(), "below/NETSCAPE.EXE");
    ASSERT_TRUE(SetCurrentDirectoryA(tree().c_str()));

    scanDirectory();

    EXPECT_EQ(listEntries(listBox_), Entries{pathInTree("NETSCAPE.EXE")});
}

TEST_F(SearchTest, TargetAtADriveRootIsListedWithOneSeparator) {
    makeFile(sandbox_.folder(), "netscape.exe");
    makeFile(sandbox_.folder(), "sub/NETSCAPE.EXE");
    std::string root;
    Entries found;
    if (!searchFromDriveRoot(sandbox_.folder(), root, found)) {
        GTEST_SKIP() << "cannot make a scratch drive root here";
    }

    ASSERT_GE(root.size(), 1u);
    ASSERT_EQ(root.back(), separator);
    EXPECT_EQ(found, (Entries{root + "NETSCAPE.EXE", root + "sub" + separator + "NETSCAPE.EXE"}));
}

}  // namespace
}  // namespace corvant::testing
