// A scratch tree to search, a real sorted list box as the result list, and
// the settings and current directory put back after each test.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assoc/browser_settings.h"
#include "platform/win32.h"
#include "search/tree_search.h"
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {

// Provided separately for each platform.
extern const char separator;
HWND createSortedListBox();
void destroyListBox(HWND listBox);
// Searches with folder standing in for the root of a drive. Answers the
// root's name as the platform spells it (ending in a separator) and the
// entries found; false where the platform cannot arrange this.
bool searchFromDriveRoot(const std::string &folder, std::string &root, std::vector<std::string> &entries);

// Every entry of a list box, in list order.
std::vector<std::string> listEntries(HWND listBox);

// The current directory as GetCurrentDirectoryA reports it.
std::string currentDirectory();

// Files and folders below base, named with "/" between the parts.
void makeFolder(const std::string &base, const std::string &relative);
void makeFile(const std::string &base, const std::string &relative);

class SearchTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // The scratch folder as GetCurrentDirectoryA names it.
    const std::string &tree() const { return tree_; }
    // tree() with the parts appended ("a/b/X" becomes tree\a\b\X on Windows).
    std::string pathInTree(const std::string &relative) const;

    void chooseNetscape() { browserSettings.browserIsNetscape = true; }
    void chooseInternetExplorer() { browserSettings.browserIsNetscape = false; }

    // Runs searchTree from the tree's top and answers the list's entries;
    // the current directory must be where the search started.
    std::vector<std::string> searchWholeTree();

    RegistrySandbox sandbox_;
    HWND listBox_ = nullptr;

private:
    std::string startDirectory_;
    std::string tree_;
};

}  // namespace corvant::testing
