// The terminal file chooser behind GetOpenFileNameA.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "dialog_test_support.h"
#include "platform/portable/ui/display_text.h"

namespace corvant::testing {
namespace {

class FileChooser : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/corvant-chooser-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        for (const char *name : {"a.exe", "B.EXE", "notes.txt", "sub/inner.exe", "with space/x.exe"}) {
            std::string path = folder + "/" + name;
            std::string parent = path.substr(0, path.rfind('/'));
            mkdir(parent.c_str(), 0700);
            std::ofstream(path) << "x";
        }
        std::memset(buffer, 0, sizeof buffer);
        std::memset(&request, 0, sizeof request);
        request.lStructSize = sizeof request;
        request.lpstrFilter = "Executables (*.exe)\0*.exe\0";
        request.lpstrFile = buffer;
        request.nMaxFile = 8192;
        request.lpstrTitle = "Select browser executable";
        request.lpstrDefExt = "exe";
        request.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
    }
    void TearDown() override {
        std::string command = "rm -rf '" + folder + "'";
        EXPECT_EQ(std::system(command.c_str()), 0);
    }
    void startIn(const std::string &path) { std::strcpy(buffer, path.c_str()); }

    ScriptedScreen screen;
    std::string folder;
    char buffer[8192 + 16];
    OPENFILENAMEA request;
};

TEST_F(FileChooser, ListsFoldersAndMatchingFilesIgnoringCase) {
    startIn(folder + "/");
    typeKeys("{Snap}{Esc}");
    EXPECT_FALSE(GetOpenFileNameA(&request));
    std::string shown = snapshots().at(0);
    EXPECT_NE(shown.find("Select browser executable"), std::string::npos);
    EXPECT_NE(shown.find("a.exe"), std::string::npos);
    EXPECT_NE(shown.find("B.EXE"), std::string::npos);
    EXPECT_NE(shown.find("sub/"), std::string::npos);
    EXPECT_NE(shown.find("with space/"), std::string::npos);
    EXPECT_EQ(shown.find("notes.txt"), std::string::npos);
    EXPECT_NE(shown.find("Executables (*.exe)"), std::string::npos);
}

TEST_F(FileChooser, TypedFullPathIsReturned) {
    std::string wanted = folder + "/with space/x.exe";
    typeKeys(wanted + "{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), wanted);
    EXPECT_EQ(request.nFileOffset, wanted.rfind('/') + 1);
    EXPECT_EQ(request.nFileExtension, wanted.rfind('.') + 1);
}

TEST_F(FileChooser, TypedNamesMatchFilesWithoutRegardToCase) {
    // As on Windows, the name is returned as typed.
    std::string typed = folder + "/WITH SPACE/X.EXE";
    typeKeys(typed + "{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), typed);
    EXPECT_FALSE(scriptRanDry());
}

TEST_F(FileChooser, DefaultExtensionIsAppendedToANameWithoutOne) {
    startIn(folder + "/");
    typeKeys("a{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), folder + "/a.exe");
}

TEST_F(FileChooser, ANameWithoutAnExtensionIsTakenAsTypedWhenOnlyThatExists) {
    // A Linux browser: no ".exe", in a folder with a space, not listed under "*.exe".
    const std::string browser = folder + "/with space/browser";
    std::ofstream(browser) << "#!/bin/sh\n";
    startIn(folder + "/with space/");
    typeKeys("{Snap}" + browser + "{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), browser);
    EXPECT_EQ(request.nFileOffset, browser.rfind('/') + 1);
    EXPECT_EQ(request.nFileExtension, 0);
    const std::string listing = snapshots().at(0);
    EXPECT_NE(listing.find("| x.exe "), std::string::npos) << listing;
    EXPECT_EQ(listing.find("| browser "), std::string::npos) << "the listing shows only *.exe";
}

TEST_F(FileChooser, WhenTheNameExistsWithAndWithoutTheDefaultExtensionTheExtensionWins) {
    // Wine's file-open dialog answers "both.exe" here too.
    std::ofstream(folder + "/both") << "x";
    std::ofstream(folder + "/both.exe") << "x";
    startIn(folder + "/");
    typeKeys("both{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), folder + "/both.exe");
}

TEST_F(FileChooser, StartsFromTheBufferWithItsNameFilledIn) {
    startIn(folder + "/B.EXE");
    typeKeys("{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), folder + "/B.EXE");
}

TEST_F(FileChooser, ThePrefilledNameIsSelectedAndTheFieldEditsAsReadlineDoes) {
    request.Flags = OFN_HIDEREADONLY;  // any name is taken, as typed (".exe" added without an extension)
    const struct {
        const char *keys, *chosen;
    } table[] = {
        {"new{Enter}", "new.exe"},  // typing replaces the selected name
        {"{C-a}y{C-e}z{Enter}", "yold name.exez"},
        {"{End}{Left}{Left}{Left}{Left}{C-k}.bin{Enter}", "old name.bin"},
        {"{End}{Left}{Left}{Left}{Left}{C-u}new{Enter}", "new.exe"},
        {"{C-w}browser{Enter}", "old browser.exe"},  // the word before the cursor, up to a blank
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.keys);
        startIn(folder + "/old name.exe");
        typeKeys(row.keys);
        ASSERT_TRUE(GetOpenFileNameA(&request));
        EXPECT_EQ(std::string(buffer), folder + "/" + row.chosen);
    }
}

TEST_F(FileChooser, MissingFileOrFolderKeepsTheChooserOpenWithAMessage) {
    startIn(folder + "/");
    std::string before = buffer;
    typeKeys("missing{Enter}{Snap}");
    for (int i = 0; i < 20; ++i) typeKeys("{Backspace}");
    typeKeys("/no/such/folder/x.exe{Enter}{Snap}{Esc}");
    EXPECT_FALSE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), before) << "Escape leaves the buffer as it was";
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 2u);
    // Neither "missing" nor "missing.exe" exists: the message names what was typed.
    EXPECT_NE(screens[0].find(folder + "/missing was not"), std::string::npos) << screens[0];
    EXPECT_NE(screens[1].find("/no/such/folder does not exist"), std::string::npos) << screens[1];
    EXPECT_FALSE(scriptRanDry());
}

TEST_F(FileChooser, WithoutMustExistFlagsANewNameIsAccepted) {
    request.Flags = OFN_HIDEREADONLY;
    startIn(folder + "/");
    typeKeys("new{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), folder + "/new.exe");
}

TEST_F(FileChooser, NeverWritesMoreThanNMaxFileBytes) {
    std::string wanted = folder + "/a.exe";
    std::memset(buffer, '#', sizeof buffer);
    buffer[0] = '\0';
    request.nMaxFile = static_cast<DWORD>(wanted.size());  // one byte short of the terminating zero
    typeKeys(wanted + "{Enter}{Snap}{Esc}");
    EXPECT_FALSE(GetOpenFileNameA(&request));
    EXPECT_NE(snapshots().at(0).find("too long"), std::string::npos);
    for (size_t i = 1; i < sizeof buffer; ++i) ASSERT_EQ(buffer[i], '#') << "byte " << i << " was written";

    request.nMaxFile = static_cast<DWORD>(wanted.size() + 1);  // exactly enough
    typeKeys(wanted + "{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), wanted);
    EXPECT_EQ(buffer[wanted.size() + 1], '#');
}

TEST_F(FileChooser, MovesIntoAFolderFromTheList) {
    startIn(folder + "/");
    // Entries: "../", "sub/", "with space/", "a.exe", "B.EXE". Highlighting fills the name field.
    typeKeys("{Tab}{Down}{Down}{Enter}{Snap}{S-Tab}inner{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), folder + "/sub/inner.exe");
    EXPECT_NE(snapshots().at(0).find("Look in: " + folder + "/sub"), std::string::npos) << snapshots()[0];
}

TEST_F(FileChooser, ADoubleClickOpensAFolderAndChoosesAFile) {
    startIn(folder + "/");
    typeKeys("{Click:sub/}{Click:sub/}{Snap}{Click:inner.exe}{Click:inner.exe}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), folder + "/sub/inner.exe");
    EXPECT_NE(snapshots().at(0).find("Look in: " + folder + "/sub"), std::string::npos) << snapshots()[0];
}

TEST_F(FileChooser, Utf8NamesAreShownAsCharactersOnEightyByTwentyFourAndChosenByteForByte) {
    // Two folders that differ in one letter, a name of wide characters, and
    // one that is no UTF-8 (the byte 0xFF).
    for (const char *name : {"\xD0\x91\xD1\x80\xD0\xB0\xD1\x83\xD0\xB7\xD0\xB5\xD1\x80 \xC3\x9C",
                             "\xD0\x91\xD1\x80\xD0\xB0\xD1\x83\xD0\xB7\xD0\xB5\xD1\x80 \xC3\x84"})
        mkdir((folder + "/" + name).c_str(), 0700);
    for (const char *name : {"\xE6\xB5\x8F\xE8\xA7\x88\xE5\x99\xA8.exe", "bad\xFF.exe"})
        std::ofstream(folder + "/" + name) << "x";
    startScriptedFrontEnd(80, 24, true);
    startIn(folder + "/");
    typeKeys("{Snap}{Click:bad}{Enter}");
    ASSERT_TRUE(GetOpenFileNameA(&request));
    EXPECT_EQ(std::string(buffer), folder + "/bad\xFF.exe");
    const std::string shown = snapshots().at(0);
    for (const char *entry : {"\xD0\x91\xD1\x80\xD0\xB0\xD1\x83\xD0\xB7\xD0\xB5\xD1\x80 \xC3\x9C/",
                              "\xD0\x91\xD1\x80\xD0\xB0\xD1\x83\xD0\xB7\xD0\xB5\xD1\x80 \xC3\x84/",
                              "bad\xEF\xBF\xBD.exe", "\xE6\xB5\x8F\xE8\xA7\x88\xE5\x99\xA8.exe"})
        EXPECT_NE(shown.find(entry), std::string::npos) << entry << "\n" << shown;
    // Wide characters take two cells each: the list's frame stays in line.
    std::vector<int> frameColumns;
    for (const char *entry : {"../", "\xE6\xB5\x8F", "bad"}) {
        size_t at = shown.find(entry), start = shown.rfind('\n', at) + 1;
        std::string line = shown.substr(start, shown.find('\n', at) - start);
        frameColumns.push_back(ui::textWidth(line.substr(0, line.rfind('|'))));
    }
    EXPECT_EQ(frameColumns, (std::vector<int>{frameColumns[0], frameColumns[0], frameColumns[0]})) << shown;
}

TEST_F(FileChooser, MessagesAboutLongPathsShowTheirEnd) {
    const std::string deep = "/" + std::string(300, 'a') + "/x.exe";
    const std::string beyond = "/" + std::string(PATH_MAX, 'b');
    const struct {
        std::string typed, shown;
    } table[] = {
        {deep, "aaaa does not exist. Check the path and try again."},
        {beyond, "bbbb is too long to be opened here: it has " + std::to_string(PATH_MAX + 1) + " characters"},
    };
    // Compared without the blanks, frames and line ends that wrapping brings.
    auto squeezed = [](std::string text) {
        text.erase(std::remove_if(text.begin(), text.end(), [](char c) { return c == ' ' || c == '|' || c == '\n'; }),
                   text.end());
        return text;
    };
    for (const auto &row : table) {
        typeKeys(row.typed + "{Enter}{Snap}{Esc}");
        EXPECT_FALSE(GetOpenFileNameA(&request));
        EXPECT_NE(squeezed(snapshots().back()).find(squeezed(row.shown)), std::string::npos) << snapshots().back();
    }
}

TEST_F(FileChooser, RefusesARequestWithoutABuffer) {
    request.lpstrFile = nullptr;
    EXPECT_FALSE(GetOpenFileNameA(&request));
    request.lpstrFile = buffer;
    request.nMaxFile = 0;
    EXPECT_FALSE(GetOpenFileNameA(&request));
    EXPECT_FALSE(scriptRanDry()) << "no chooser was shown";
}

}  // namespace
}  // namespace corvant::testing
