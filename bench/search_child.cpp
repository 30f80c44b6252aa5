// Runs the search the way Auto find does: the current directory moved to
// the tree's top, the result list a sorted list box, Netscape chosen, and the
// walk reporting to the same progress that keeps the dialog answering.
//   bench_search TREE         prints every entry found, one a line
//   bench_search TREE --idle  the same set-up without the search (for memory)
#include <cstdio>
#include <cstring>
#include <string>

#include "assoc/browser_settings.h"
#include "platform/portable/ui/scripted_front_end.h"
#include "platform/win32.h"
#include "search/tree_search.h"
#include "ui/search_progress.h"

int main(int argc, char **argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_search TREE [--idle]\n");
        return 2;
    }
    HWND listBox = corvant::testing::createStandaloneListBox(LBS_SORT);
    resultList = listBox;
    browserSettings.browserIsNetscape = true;
    if (!SetCurrentDirectoryA(argv[1])) return 1;
    if (argc > 2 && std::strcmp(argv[2], "--idle") == 0) return 0;

    // The list box stands in for the dialog whose caption shows the progress.
    SearchProgress progress(listBox, "Auto find web browser");
    if (!searchTree(progress)) return 1;

    const LRESULT count = SendMessageA(listBox, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char entry[8192];
        const LRESULT length = SendMessageA(listBox, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        if (length < 0 || static_cast<size_t>(length) >= sizeof entry) return 1;
        SendMessageA(listBox, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(entry));
        std::printf("%s\n", entry);
    }
    return 0;
}
