#include "tests/search/search_fixture.h"

#include <filesystem>
#include <fstream>

namespace corvant::testing {

std::vector<std::string> listEntries(HWND listBox) {
    std::vector<std::string> entries;
    const LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0) break;
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        entries.push_back(text);
    }
    return entries;
}

std::string currentDirectory() {
    char buffer[8192];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    if (length == 0 || length >= sizeof buffer) return "";
    return std::string(buffer, length);
}

void makeFolder(const std::string &base, const std::string &relative) {
    std::filesystem::create_directories(std::filesystem::u8path(base) / std::filesystem::u8path(relative));
}

void makeFile(const std::string &base, const std::string &relative) {
    const std::filesystem::path path = std::filesystem::u8path(base) / std::filesystem::u8path(relative);
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "MZ";
}

void SearchTest::SetUp() {
    browserSettings = BrowserSettings{};
    startDirectory_ = currentDirectory();
    ASSERT_FALSE(startDirectory_.empty());
    ASSERT_TRUE(SetCurrentDirectoryA(sandbox_.folder().c_str()));
    tree_ = currentDirectory();
    ASSERT_TRUE(SetCurrentDirectoryA(startDirectory_.c_str()));
    listBox_ = createSortedListBox();
    ASSERT_NE(listBox_, nullptr);
    resultList = listBox_;
}

void SearchTest::TearDown() {
    SetCurrentDirectoryA(startDirectory_.c_str());
    resultList = nullptr;
    if (listBox_ != nullptr) destroyListBox(listBox_);
}

std::string SearchTest::pathInTree(const std::string &relative) const {
    std::string path = tree_ + separator + relative;
    for (size_t i = tree_.size(); i < path.size(); ++i) {
        if (path[i] == '/') path[i] = separator;
    }
    return path;
}

std::vector<std::string> SearchTest::searchWholeTree() {
    EXPECT_TRUE(SetCurrentDirectoryA(tree_.c_str()));
    searchTree();
    EXPECT_EQ(currentDirectory(), tree_) << "the search did not end where it began";
    return listEntries(listBox_);
}

}  // namespace corvant::testing
