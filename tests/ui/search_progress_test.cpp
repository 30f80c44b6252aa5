// What the searching dialog shows and does each time the search reports:
// the caption, the stop, and WM_QUIT left for the dialog's own loop.
#include <gtest/gtest.h>

#include <string>

#include "tests/search/search_fixture.h"
#include "ui/search_progress.h"

namespace corvant::testing {
namespace {

std::string captionOf(HWND window) {
    char text[1024] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

class SearchProgressTest : public SearchTest {};

TEST_F(SearchProgressTest, CaptionCountsTheFoldersAndNamesTheOneSearched) {
    ASSERT_TRUE(SetCurrentDirectoryA(tree().c_str()));
    SearchProgress progress(listBox_, "Auto find web browser");

    // The first report shows the progress at once.
    EXPECT_TRUE(progress.folderEntered());
    EXPECT_EQ(captionOf(listBox_), "Auto find web browser - 1 folder - " + tree());

    for (int i = 1; i < 12345; ++i) EXPECT_TRUE(progress.folderEntered());
    progress.showResult(3);
    EXPECT_EQ(captionOf(listBox_), "Auto find web browser - 12,345 folders - 3 found");
    progress.showResult(1234567);
    EXPECT_EQ(captionOf(listBox_), "Auto find web browser - 12,345 folders - 1,234,567 found");
    progress.showResult(0);
    EXPECT_EQ(captionOf(listBox_), "Auto find web browser - 12,345 folders - nothing found");
}

TEST_F(SearchProgressTest, LongFolderShowsItsEnd) {
    // Longer than the 200 characters shown, short enough for Windows' current directory.
    std::string relative = "folder-0";
    for (int i = 1; pathInTree(relative).size() < 210; ++i) relative += "/folder-" + std::to_string(i);
    makeFolder(sandbox_.folder(), relative);
    const std::string deep = pathInTree(relative);
    ASSERT_TRUE(SetCurrentDirectoryA(deep.c_str()));
    SearchProgress progress(listBox_, "Auto find web browser");

    EXPECT_TRUE(progress.folderEntered());

    EXPECT_EQ(captionOf(listBox_), "Auto find web browser - 1 folder - ..." + deep.substr(deep.size() - 200));
}

TEST_F(SearchProgressTest, CancelStopsTheSearchWithoutLookingAgain) {
    SearchProgress progress(listBox_, "Auto find web browser");
    EXPECT_TRUE(progress.folderEntered());
    const std::string shown = captionOf(listBox_);

    progress.cancel();

    EXPECT_TRUE(progress.cancelled());
    EXPECT_FALSE(progress.folderEntered());
    EXPECT_FALSE(progress.entriesExamined());
    EXPECT_EQ(captionOf(listBox_), shown);
}

TEST_F(SearchProgressTest, QuitStopsTheSearchAndIsLeftForTheDialogsLoop) {
    SearchProgress progress(listBox_, "Auto find web browser");
    PostQuitMessage(7);

    EXPECT_FALSE(progress.folderEntered());

    EXPECT_TRUE(progress.cancelled());
    MSG message{};
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) && message.message != WM_QUIT) {}
    EXPECT_EQ(message.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(message.wParam, 7u);
}

}  // namespace
}  // namespace corvant::testing
