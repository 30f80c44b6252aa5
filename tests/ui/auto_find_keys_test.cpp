// The Auto find dialog driven from the keyboard, natively and under Wine:
// where the focus goes during and after the search, and a search cancelled
// while it runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "assoc/browser_settings.h"
#include "search/path_separator.h"
#include "search/tree_search.h"
#include "tests/dialogs/key_script.h"
#include "tests/support/registry_reader.h"
#include "tests/support/registry_sandbox.h"
#include "ui/auto_find_dialog.h"
#include "ui/resources/resource_ids.h"

namespace corvant::testing {
namespace {

using Entries = std::vector<std::string>;

std::string currentDirectory() {
    char buffer[8192];
    const DWORD length = GetCurrentDirectoryA(sizeof buffer, buffer);
    return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string();
}

Entries listEntries(HWND list) {
    Entries entries;
    const LRESULT count = SendMessageA(list, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
        std::string text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, '\0');
        SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&text[0]));
        text.resize(std::strlen(text.c_str()));
        entries.push_back(text);
    }
    return entries;
}

// What the dialog showed along the way.
struct Seen {
    std::vector<std::string> captions;
    LRESULT entriesAtCancel = -1;
    size_t captionsAtCancel = 0;
    bool acceptEnabledAtCancel = true;
    bool listFocusedAtCancel = false;
    bool cancelFocusedAtCancel = false;
    Entries entriesAtEnd;
    bool acceptEnabledAtEnd = true;
};
Seen seen;
bool closeOnFirstProgress = false;

INT_PTR CALLBACK watchingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND list = GetDlgItem(window, IDC_SEARCH_RESULTS);
    if (message == WM_SETTEXT) {
        seen.captions.push_back(reinterpret_cast<const char *>(lParam));
        if (closeOnFirstProgress && seen.captions.size() == 1) PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && seen.entriesAtCancel < 0) {
        seen.entriesAtCancel = SendMessageA(list, LB_GETCOUNT, 0, 0);
        seen.captionsAtCancel = seen.captions.size();
        seen.acceptEnabledAtCancel = IsWindowEnabled(GetDlgItem(window, IDC_SEARCH_ACCEPT)) != FALSE;
        seen.listFocusedAtCancel = GetFocus() == list;
        seen.cancelFocusedAtCancel = GetFocus() == GetDlgItem(window, IDCANCEL);
    }
    if (message == WM_DESTROY) {
        seen.entriesAtEnd = listEntries(list);
        seen.acceptEnabledAtEnd = IsWindowEnabled(GetDlgItem(window, IDC_SEARCH_ACCEPT)) != FALSE;
    }
    return AutoFindDialogProc(window, message, wParam, lParam);
}

// A scratch folder to search, holding three copies of IEXPLORE.EXE, a
// Netscape and a folder named like the target; the search starts there.
class AutoFindKeys : public ::testing::Test {
protected:
    void SetUp() override {
        browserSettings = BrowserSettings{};
        browserSettings.browserIsNetscape = false;
        resultList = nullptr;
        seen = Seen{};
        closeOnFirstProgress = false;
        for (const char *file : {"Program Files/Internet Explorer/iexplore.exe", "Apps/IEXPLORE.EXE",
                                 "Apps/old/IEXPLORE.EXE", "Other/NETSCAPE.EXE", "Decoy/IEXPLORE.EXE/readme.txt"}) {
            makeFile(file);
        }
        previous_ = currentDirectory();
        ASSERT_TRUE(SetCurrentDirectoryA(sandbox_.folder().c_str()));
        top_ = currentDirectory();
    }
    void TearDown() override { SetCurrentDirectoryA(previous_.c_str()); }

    void makeFile(const std::string &relative) const {
        const std::filesystem::path path = std::filesystem::path(sandbox_.folder()) / relative;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path) << "MZ";
    }

    // The copies of IEXPLORE.EXE, as the search lists them, sorted.
    Entries everyCopy() const {
        Entries copies;
        for (const char *relative :
             {"Program Files/Internet Explorer/IEXPLORE.EXE", "Apps/IEXPLORE.EXE", "Apps/old/IEXPLORE.EXE"}) {
            std::string path = top_ + pathSeparator + relative;
            std::replace(path.begin() + static_cast<long>(top_.size()), path.end(), '/', pathSeparator);
            copies.push_back(path);
        }
        std::sort(copies.begin(), copies.end());
        return copies;
    }

    INT_PTR runDialog(const std::string &keys) {
        typeKeys(keys);
        const INT_PTR result = runKeyedDialog(IDD_AUTO_FIND, watchingProc, 0);
        EXPECT_FALSE(scriptRanDry()) << "the dialog waited for more keys";
        EXPECT_FALSE(busyKeysCameLate()) << "the search ended before it looked for keys";
        EXPECT_EQ(currentDirectory(), top_) << "the search did not end where it began";
        return result;
    }

    static bool registryUntouched() {
        for (const char *key : programKeys) {
            if (keyExists(key)) return false;
        }
        return true;
    }

    KeyboardSession keyboard_;
    RegistrySandbox sandbox_;
    std::string previous_;
    std::string top_;
};

Entries sorted(Entries entries) {
    std::sort(entries.begin(), entries.end());
    return entries;
}

TEST_F(AutoFindKeys, AfterTheSearchTheListHasTheFocusAndEscapeEndsTheDialog) {
    std::strcpy(browserSettings.browserPath, "C:\\previous\\IEXPLORE.EXE");

    EXPECT_EQ(runDialog("{A-s}{Esc}"), 0);

    EXPECT_TRUE(seen.listFocusedAtCancel);
    EXPECT_TRUE(seen.acceptEnabledAtEnd);
    EXPECT_EQ(sorted(seen.entriesAtEnd), everyCopy()) << "a folder named like the target was listed";
    EXPECT_STREQ(browserSettings.browserPath, "C:\\previous\\IEXPLORE.EXE");
    EXPECT_TRUE(registryUntouched());
}

TEST_F(AutoFindKeys, TabMovesAmongTheLiveControlsAfterTheSearch) {
    // From the list, Tab passes over the disabled Start to Cancel, then Accept.
    EXPECT_EQ(runDialog("{A-s}{Tab}{Tab}{Space}"), IDOK);
    ASSERT_EQ(seen.entriesAtEnd.size(), 3u);
    EXPECT_EQ(std::string(browserSettings.browserPath), seen.entriesAtEnd.front());

    EXPECT_EQ(runDialog("{A-s}{Tab}{Space}"), 0);
    EXPECT_EQ(runDialog("{A-s}{S-Tab}{S-Tab}{Enter}"), 0);
}

TEST_F(AutoFindKeys, ArrowKeysPickAnEntryAndAcceptTakesIt) {
    // The first arrow key highlights the entry with the caret, the first.
    EXPECT_EQ(runDialog("{A-s}{Down}{Down}{A-a}"), IDOK);
    ASSERT_EQ(seen.entriesAtEnd.size(), 3u);
    EXPECT_EQ(std::string(browserSettings.browserPath), seen.entriesAtEnd[1]);
}

TEST_F(AutoFindKeys, NothingFoundLeavesAcceptDisabledAndTheFocusOnCancel) {
    std::strcpy(browserSettings.browserPath, "C:\\previous\\NETSCAPE.EXE");
    ASSERT_TRUE(SetCurrentDirectoryA("Other"));
    top_ = currentDirectory();

    EXPECT_EQ(runDialog("{A-s}{Enter}"), 0);

    EXPECT_TRUE(seen.entriesAtEnd.empty());
    EXPECT_FALSE(seen.acceptEnabledAtEnd);
    EXPECT_TRUE(seen.cancelFocusedAtCancel);
    EXPECT_STREQ(browserSettings.browserPath, "C:\\previous\\NETSCAPE.EXE");
    ASSERT_FALSE(seen.captions.empty());
    EXPECT_EQ(seen.captions.back(), "Auto find web browser - 1 folder - nothing found");
}

TEST_F(AutoFindKeys, ProgressShowsInTheCaptionAndTheOutcomeAfterwards) {
    EXPECT_EQ(runDialog("{A-s}{A-a}"), IDOK);
    ASSERT_GE(seen.captions.size(), 2u);
    EXPECT_EQ(seen.captions.front(), "Auto find web browser - 1 folder - " + top_);
    // The folder itself and seven below it.
    EXPECT_EQ(seen.captions.back(), "Auto find web browser - 8 folders - 3 found");
}

TEST_F(AutoFindKeys, EscapeWhileSearchingStopsTheSearchAndAddsNothingAfterwards) {
    EXPECT_EQ(runDialog("{A-s}{Busy}{Esc}"), 0);

    EXPECT_FALSE(seen.acceptEnabledAtCancel) << "the search had already ended";
    EXPECT_EQ(static_cast<LRESULT>(seen.entriesAtEnd.size()), seen.entriesAtCancel);
    EXPECT_EQ(seen.captions.size(), seen.captionsAtCancel) << "the search went on after the cancel";
    EXPECT_TRUE(registryUntouched());
}

TEST_F(AutoFindKeys, CancelButtonAndCloseRequestWhileSearchingStopItToo) {
    // The list has the focus while the search runs; Tab leads to Cancel.
    EXPECT_EQ(runDialog("{A-s}{Busy}{Tab}{Busy}{Space}"), 0);
    EXPECT_FALSE(seen.acceptEnabledAtCancel);
    EXPECT_EQ(seen.captions.size(), seen.captionsAtCancel);

    seen = Seen{};
    closeOnFirstProgress = true;
    EXPECT_EQ(runDialog("{A-s}"), 0);
    EXPECT_FALSE(seen.acceptEnabledAtCancel);
    EXPECT_EQ(static_cast<LRESULT>(seen.entriesAtEnd.size()), seen.entriesAtCancel);
}

TEST_F(AutoFindKeys, KeysWhileSearchingThatDoNotCancelLeaveTheListAsAnUninterruptedSearchHasIt) {
    // Enter asks for IDOK, which the dialog leaves alone; Home moves in the list.
    EXPECT_EQ(runDialog("{A-s}{Busy}{Enter}{Busy}{Home}{A-a}"), IDOK);
    EXPECT_EQ(sorted(seen.entriesAtEnd), everyCopy());
}

}  // namespace
}  // namespace corvant::testing
