// The portable build's list box and drive root for the search tests.
#include <unistd.h>

#include "platform/portable/ui/scripted_front_end.h"
#include "tests/search/child_process.h"
#include "tests/search/search_fixture.h"

namespace corvant::testing {

const char separator = '/';

HWND createSortedListBox() { return createStandaloneListBox(LBS_SORT); }

void destroyListBox(HWND listBox) { destroyStandaloneWindow(listBox); }

// The folder becomes the file system's root in a child process.
bool searchFromDriveRoot(const std::string &folder, std::string &root, std::vector<std::string> &entries) {
    const ChildResult result = runInChild([&folder]() -> std::string {
        if (chroot(folder.c_str()) != 0 || chdir("/") != 0) return "";
        HWND listBox = createSortedListBox();
        resultList = listBox;
        if (!SetCurrentDirectoryA("\\")) return "";
        searchTree();
        std::string report = currentDirectory();
        for (const std::string &entry : listEntries(listBox)) report += "\n" + entry;
        return report;
    });
    if (!result.exitedNormally || result.output.empty()) return false;
    entries = splitLines(result.output);
    root = entries.front();
    entries.erase(entries.begin());
    return true;
}

}  // namespace corvant::testing
