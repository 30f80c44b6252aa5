// FindFirstFileA's reading of a pattern's dots, spaces and stars, checked
// against Windows' own answers under Wine.
#include <set>

#include "tests/search/search_fixture.h"

namespace corvant::testing {
namespace {

using Names = std::set<std::string>;

class NamePatternTest : public SearchTest {
protected:
    void SetUp() override {
        SearchTest::SetUp();
        for (const char *file : {"README", "notes.txt", "a.b.c", "setup.exe", "extra", "Data", "b", "x y"}) {
            makeFile(sandbox_.folder(), file);
        }
        makeFolder(sandbox_.folder(), "sub");
        ASSERT_TRUE(SetCurrentDirectoryA(tree().c_str()));
    }

    // Every name an enumeration delivers; none when FindFirstFileA fails.
    static Names names(const std::string &pattern) {
        Names found;
        WIN32_FIND_DATAA data;
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return found;
        do {
            found.insert(data.cFileName);
        } while (FindNextFileA(find, &data));
        FindClose(find);
        return found;
    }

    static DWORD failureOf(const std::string &pattern) {
        WIN32_FIND_DATAA data;
        SetLastError(0);
        HANDLE find = FindFirstFileA(pattern.c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return GetLastError();
        FindClose(find);
        return 0;
    }

    const Names everything{".", "..", "README", "notes.txt", "a.b.c", "setup.exe", "extra", "Data", "b", "x y", "sub"};
};

TEST_F(NamePatternTest, TrailingDotsAndSpacesAreDropped) {
    EXPECT_EQ(names("*.*."), everything);
    EXPECT_EQ(names("*. "), everything);
    EXPECT_EQ(names("*.*. ."), everything);
    EXPECT_EQ(names("*a "), (Names{"Data", "extra"}));
    EXPECT_EQ(names("*a "), names("*a"));
    EXPECT_EQ(names("README. "), Names{"README"});
    EXPECT_EQ(names("README ."), Names{"README"});
    EXPECT_EQ(names("setup.exe ."), Names{"setup.exe"});
    EXPECT_EQ(names("*.exe."), Names{"setup.exe"});
}

TEST_F(NamePatternTest, LeadingSpacesAndInnerDotsStay) {
    EXPECT_EQ(failureOf(" *"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(failureOf("*.b"), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(names("x y"), Names{"x y"});
}

TEST_F(NamePatternTest, DotsAndStarsLeftAfterTheNameMatchNothing) {
    EXPECT_EQ(names("*.*.*"), everything);
    EXPECT_EQ(names("*.*.*.*"), everything);
    EXPECT_EQ(names("README.*.*"), Names{"README"});
    EXPECT_EQ(names("*x*.*.*"), (Names{"extra", "notes.txt", "setup.exe", "x y"}));
    EXPECT_EQ(names("*.b.*"), Names{"a.b.c"});
    EXPECT_EQ(names("a.*.c"), Names{"a.b.c"});
}

TEST_F(NamePatternTest, AQuestionMarkTakesExactlyOneCharacter) {
    EXPECT_EQ(names("?"), (Names{".", "b"}));
    EXPECT_EQ(names("*.?"), (Names{"..", "a.b.c"}));
    EXPECT_EQ(names("?ETUP.EX?"), Names{"setup.exe"});
}

TEST_F(NamePatternTest, PatternsOfOnlyDotsAndSpacesMatchNoName) {
    EXPECT_EQ(failureOf("..."), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(failureOf(". ."), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(failureOf(". "), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
}

}  // namespace
}  // namespace corvant::testing
