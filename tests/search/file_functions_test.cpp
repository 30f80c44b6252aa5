// FindFirstFileA and the current-directory functions as the search uses
// them. The same tests run against Windows' own functions under Wine.
#include <algorithm>
#include <set>
#include <utility>

#include "tests/search/search_fixture.h"

namespace corvant::testing {
namespace {

struct Found {
    std::string name;
    DWORD attributes;
    bool operator<(const Found &other) const { return name < other.name; }
};

class FileFunctionsTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        for (const char *file :
             {"iexplore.exe", "SETUP.EXE", "README", "notes.txt", "a.b.c", "[x].exe", "x.exe.old", "sub/inner.exe"}) {
            makeFile(sandbox_.folder(), file);
        }
        makeFolder(sandbox_.folder(), "empty");
        ASSERT_TRUE(SetCurrentDirectoryA(tree().c_str()));
    }

    // Every entry an enumeration delivers, in the order delivered.
    static std::vector<Found> enumerate(const std::string &pattern) {
        std::vector<Found> found;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return found;
        do {
            found.push_back(Found{data.cFileName, data.dwFileAttributes});
        } while (FindNextFileA(find, &data));
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
        EXPECT_TRUE(FindClose(find));
        return found;
    }

    static std::set<std::string> names(const std::string &pattern) {
        std::set<std::string> result;
        for (const Found &entry : enumerate(pattern)) result.insert(entry.name);
        return result;
    }

    static DWORD failureOf(const std::string &pattern) {
        WIN32_FIND_DATAA data;
        SetLastError(0);
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find != INVALID_HANDLE_VALUE) {
            FindClose(find);
            return 0;
        }
        return GetLastError();
    }
};

using Names = std::set<std::string>;

TEST_F(FileFunctionsTest, PatternsMatchLettersWithoutRegardToCase) {
    EXPECT_EQ(names("*.exe"), (Names{"iexplore.exe", "SETUP.EXE", "[x].exe"}));
    EXPECT_EQ(names("*.EXE"), (Names{"iexplore.exe", "SETUP.EXE", "[x].exe"}));
    EXPECT_EQ(names("?otes.TXT"), Names{"notes.txt"});
    EXPECT_EQ(names("IEXPLORE.EXE"), Names{"iexplore.exe"});
}

TEST_F(FileFunctionsTest, BracketsStandForThemselves) {
    EXPECT_EQ(names("[x].exe"), Names{"[x].exe"});
    EXPECT_EQ(names("[a-z]*"), Names{});
}

TEST_F(FileFunctionsTest, StarDotStarMatchesEveryNameWithOrWithoutADot) {
    EXPECT_EQ(names("*.*"), (Names{".", "..", "iexplore.exe", "SETUP.EXE", "README", "notes.txt", "a.b.c", "[x].exe",
                                   "x.exe.old", "sub", "empty"}));
    EXPECT_EQ(names("*.*"), names("*"));
    EXPECT_EQ(names("README.*"), Names{"README"});
}

TEST_F(FileFunctionsTest, DotEntriesComeFirstAsFoldersAndOnlyWherePatternsMatchThem) {
    const std::vector<Found> all = enumerate("empty\\*.*");
    ASSERT_EQ(all.size(), 2u);
    EXPECT_EQ(all[0].name, ".");
    EXPECT_EQ(all[1].name, "..");
    for (const Found &entry : all) {
        EXPECT_NE(entry.attributes & FILE_ATTRIBUTE_DIRECTORY, 0u) << entry.name;
    }
    const Names executables = names("*.exe");
    EXPECT_EQ(executables.count("."), 0u);
    EXPECT_EQ(executables.count(".."), 0u);
}

TEST_F(FileFunctionsTest, FoldersAndFilesAreToldApartByTheDirectoryBit) {
    for (const Found &entry : enumerate("*")) {
        const bool folder = entry.name == "sub" || entry.name == "empty" || entry.name == "." || entry.name == "..";
        EXPECT_EQ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0, folder) << entry.name;
        EXPECT_EQ(entry.attributes & FILE_ATTRIBUTE_REPARSE_POINT, 0u) << entry.name;
    }
}

TEST_F(FileFunctionsTest, PatternWithAFolderListsThatFolderFoundWithoutCase) {
    EXPECT_EQ(names("sub\\*.exe"), Names{"inner.exe"});
    EXPECT_EQ(names("SUB\\*.exe"), Names{"inner.exe"});
    EXPECT_EQ(names(tree() + separator + "SUB" + separator + "INNER.EXE"), Names{"inner.exe"});
}

TEST_F(FileFunctionsTest, FailedStartsReportWhy) {
    EXPECT_EQ(failureOf("*.zip"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(failureOf("empty\\*.exe"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(failureOf("missing\\*.*"), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
}

TEST_F(FileFunctionsTest, EnumerationsOfOneFolderRunSideBySide) {
    WIN32_FIND_DATAA outer;
    WIN32_FIND_DATAA inner;
    HANDLE first = FindFirstFileA("*.*", &outer);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = FindFirstFileA("*.exe", &inner);
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    size_t outerCount = 1;
    size_t innerCount = 1;
    while (FindNextFileA(second, &inner)) ++innerCount;
    while (FindNextFileA(first, &outer)) ++outerCount;
    EXPECT_TRUE(FindClose(second));
    EXPECT_TRUE(FindClose(first));
    EXPECT_EQ(innerCount, 3u);
    EXPECT_EQ(outerCount, 11u);
}

TEST_F(FileFunctionsTest, LargeFolderListsEveryEntryOnceAndSideBySide) {
    // Far more than one read of the file system brings.
    Names expected{".", ".."};
    for (int i = 0; i < 3000; ++i) {
        const std::string name = "entry" + std::to_string(i) + (i % 3 == 0 ? ".exe" : ".txt");
        makeFile(pathInTree("large"), name);
        expected.insert(name);
    }
    makeFolder(pathInTree("large"), "inner");
    expected.insert("inner");

    const std::vector<Found> all = enumerate("large\\*.*");
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all[0].name, ".");
    EXPECT_EQ(all[1].name, "..");
    EXPECT_EQ(all.size(), expected.size()) << "an entry came twice";
    EXPECT_EQ(names("large\\*.*"), expected);
    for (const Found &entry : all) {
        EXPECT_EQ((entry.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                  entry.name == "inner" || entry.name == "." || entry.name == "..")
            << entry.name;
    }

    // Two enumerations of it at once, one taken a step ahead of the other.
    WIN32_FIND_DATAA first;
    WIN32_FIND_DATAA second;
    HANDLE executables = FindFirstFileA("large\\*.exe", &first);
    ASSERT_NE(executables, INVALID_HANDLE_VALUE);
    HANDLE everything = FindFirstFileA("large\\*", &second);
    ASSERT_NE(everything, INVALID_HANDLE_VALUE);
    size_t executableCount = 1;
    size_t entryCount = 1;
    bool executablesLeft = true;
    bool entriesLeft = true;
    while (executablesLeft || entriesLeft) {
        if (executablesLeft && (executablesLeft = FindNextFileA(executables, &first) != FALSE)) ++executableCount;
        for (int step = 0; step < 2 && entriesLeft; ++step) {
            if ((entriesLeft = FindNextFileA(everything, &second) != FALSE)) ++entryCount;
        }
    }
    EXPECT_TRUE(FindClose(executables));
    EXPECT_TRUE(FindClose(everything));
    EXPECT_EQ(executableCount, 1000u);
    EXPECT_EQ(entryCount, expected.size());
}

TEST_F(FileFunctionsTest, CurrentFolderChangesByNameWithoutCaseAndBackWithDotDot) {
    // The current directory keeps the name as it was given.
    ASSERT_TRUE(SetCurrentDirectoryA("SUB"));
    EXPECT_EQ(currentDirectory(), pathInTree("SUB"));
    ASSERT_TRUE(SetCurrentDirectoryA(".."));
    EXPECT_EQ(currentDirectory(), tree());
}

TEST_F(FileFunctionsTest, CurrentFolderThatCannotBeEnteredSaysWhereThePathBreaksOff) {
    const std::string absoluteMissing = tree() + separator + "missing";
    // The last name is missing (or a file); the path breaks off before it.
    const std::pair<std::string, DWORD> failures[] = {
        {"missing", ERROR_FILE_NOT_FOUND},
        {"sub\\missing", ERROR_FILE_NOT_FOUND},
        {absoluteMissing, ERROR_FILE_NOT_FOUND},
        {"notes.txt", ERROR_DIRECTORY},
        {"missing\\inner", ERROR_PATH_NOT_FOUND},
        {"sub\\missing\\inner", ERROR_PATH_NOT_FOUND},
        {"notes.txt\\inner", ERROR_PATH_NOT_FOUND},
        {absoluteMissing + separator + "inner", ERROR_PATH_NOT_FOUND},
        // Wildcards and the other characters Windows refuses in a name.
        {"*", ERROR_INVALID_NAME},
        {"su?", ERROR_INVALID_NAME},
        {"sub\\*", ERROR_INVALID_NAME},
        {"say \"hi\"", ERROR_INVALID_NAME},
        {"a<b", ERROR_INVALID_NAME},
        {"a>b", ERROR_INVALID_NAME},
        {"a|b", ERROR_INVALID_NAME},
        {"a\tb", ERROR_INVALID_NAME},
        {"", ERROR_INVALID_NAME},
    };
    for (const auto &[path, error] : failures) {
        SetLastError(0);
        EXPECT_FALSE(SetCurrentDirectoryA(path.c_str())) << path;
        EXPECT_EQ(GetLastError(), error) << path;
        EXPECT_EQ(currentDirectory(), tree()) << path;
    }
}

TEST_F(FileFunctionsTest, CurrentFolderTooLongForTheBufferAnswersTheSizeNeeded) {
    const std::string here = currentDirectory();
    char small[4] = "abc";
    EXPECT_EQ(GetCurrentDirectoryA(sizeof small, small), here.size() + 1);
    std::string exact(here.size() + 1, 'x');
    EXPECT_EQ(GetCurrentDirectoryA(static_cast<DWORD>(exact.size()), &exact[0]), here.size());
    EXPECT_STREQ(exact.c_str(), here.c_str());
}

TEST_F(FileFunctionsTest, BackslashLeadsFromTheWindowsFolderToItsDriveRoot) {
    char windows[1024];
    const UINT length = GetWindowsDirectoryA(windows, sizeof windows);
    ASSERT_GT(length, 0u);
    ASSERT_LT(length, sizeof windows);
    ASSERT_TRUE(SetCurrentDirectoryA(windows));
    ASSERT_TRUE(SetCurrentDirectoryA("\\"));

    const std::string root = currentDirectory();
    ASSERT_FALSE(root.empty());
    EXPECT_EQ(root.back(), separator);
    EXPECT_EQ(std::string(windows).compare(0, root.size(), root), 0) << root << " is not the root of " << windows;
    // A drive root lists no "." or "..".
    const Names atRoot = names("*.*");
    EXPECT_FALSE(atRoot.empty());
    EXPECT_EQ(atRoot.count("."), 0u);
    EXPECT_EQ(atRoot.count(".."), 0u);
    EXPECT_FALSE(SetCurrentDirectoryA("..") && currentDirectory() != root);
}

}  // namespace
}  // namespace corvant::testing
