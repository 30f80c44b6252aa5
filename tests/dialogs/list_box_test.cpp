// List box messages and keys, on a list of its own and inside a dialog.
#include <gtest/gtest.h>

#include <cstring>

#include "dialog_test_support.h"

namespace corvant::testing {
namespace {

LRESULT add(HWND list, const char *text) { return SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)); }

std::string textAt(HWND list, int index) {
    char buffer[256];
    LRESULT length = SendMessageA(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(buffer));
    return length == LB_ERR ? std::string("<error>") : std::string(buffer, static_cast<size_t>(length));
}

class StandaloneList : public ::testing::Test {
protected:
    void SetUp() override { list = createStandaloneListBox(LBS_SORT | LBS_NOTIFY | WS_VSCROLL); }
    void TearDown() override { destroyStandaloneWindow(list); }
    HWND list = nullptr;
};

TEST_F(StandaloneList, SortsIgnoringCaseAndReturnsTheInsertionIndex) {
    EXPECT_EQ(add(list, "C:\\b\\IEXPLORE.EXE"), 0);
    EXPECT_EQ(add(list, "C:\\A\\IEXPLORE.EXE"), 0);
    EXPECT_EQ(add(list, "c:\\a\\iexplore.exe"), 1) << "an equal text goes after the existing one";
    EXPECT_EQ(add(list, "C:\\Z"), 3);
    EXPECT_EQ(add(list, ""), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 5);
    EXPECT_EQ(textAt(list, 1), "C:\\A\\IEXPLORE.EXE");
    EXPECT_EQ(textAt(list, 2), "c:\\a\\iexplore.exe");
    EXPECT_EQ(textAt(list, 3), "C:\\b\\IEXPLORE.EXE");
    EXPECT_EQ(textAt(list, 4), "C:\\Z");
}

TEST_F(StandaloneList, UnsortedListKeepsTheOrderOfAddition) {
    HWND plain = createStandaloneListBox(0);
    add(plain, "zeta");
    EXPECT_EQ(add(plain, "alpha"), 1);
    EXPECT_EQ(textAt(plain, 0), "zeta");
    destroyStandaloneWindow(plain);
    EXPECT_EQ(SendMessageA(plain, LB_GETCOUNT, 0, 0), 0) << "a destroyed window answers nothing";
}

TEST_F(StandaloneList, GetTextCopiesTheTerminatingZeroAndLeavesTheBufferAloneForBadIndexes) {
    add(list, "abc");
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(buffer)), 3);
    EXPECT_EQ(std::memcmp(buffer, "abc\0xxxx", 8), 0);

    std::memset(buffer, 'x', sizeof buffer);
    for (WPARAM bad : {WPARAM(1), WPARAM(-1), WPARAM(1000)})
        EXPECT_EQ(SendMessageA(list, LB_GETTEXT, bad, reinterpret_cast<LPARAM>(buffer)), LB_ERR);
    EXPECT_EQ(std::string(buffer, 8), "xxxxxxxx");
    EXPECT_EQ(SendMessageA(list, LB_GETTEXT, 0, 0), LB_ERR) << "no buffer";

    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 0, 0), 3);
    EXPECT_EQ(SendMessageA(list, LB_GETTEXTLEN, 1, 0), LB_ERR);
}

TEST_F(StandaloneList, CaretStaysOnTheFirstEntryUntilSomethingIsHighlighted) {
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 0) << "empty list";
    add(list, "m");
    add(list, "a");
    add(list, "b");
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), LB_ERR);

    EXPECT_EQ(SendMessageA(list, LB_SETCURSEL, 1, 0), 1);  // "b"
    add(list, "0");                                        // inserted before it
    EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 2);
    EXPECT_EQ(textAt(list, 2), "b");

    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCOUNT, 0, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETCARETINDEX, 0, 0), 0);
}

TEST_F(StandaloneList, HorizontalExtentIsKept) {
    EXPECT_EQ(SendMessageA(list, LB_SETHORIZONTALEXTENT, 600, 0), 0);
    EXPECT_EQ(SendMessageA(list, LB_GETHORIZONTALEXTENT, 0, 0), 600);
}

// A dialog list with twelve entries "item 01" to "item 12" and room for four rows.
class DialogList : public ::testing::Test {
protected:
    ScriptedScreen screen;
    RecordingDialog dialog;
    int caretAtCancel = -1;
    int selectionAtCancel = -1;

    void SetUp() override {
        dialog.onInit = [](HWND window) {
            for (int i = 12; i >= 1; --i) {
                std::string text = "item " + std::string(i < 10 ? "0" : "") + std::to_string(i);
                SendDlgItemMessageA(window, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
            }
            return TRUE;
        };
        dialog.onCommand = [this](HWND window, int id) {
            if (id != IDCANCEL) return FALSE;
            caretAtCancel = static_cast<int>(SendDlgItemMessageA(window, IDC_LIST, LB_GETCARETINDEX, 0, 0));
            selectionAtCancel = static_cast<int>(SendDlgItemMessageA(window, IDC_LIST, LB_GETCURSEL, 0, 0));
            EndDialog(window, 0);
            return TRUE;
        };
    }

    int selectionChanges() const {
        int count = 0;
        for (const Command &command : dialog.commands) count += command.id == IDC_LIST && command.code == LBN_SELCHANGE;
        return count;
    }
};

TEST_F(DialogList, FirstArrowHighlightsTheCaretEntryThenArrowsMove) {
    typeKeys("{Down}{Down}{Down}{Up}{Esc}");
    runRecordingDialog(IDD_LIST, dialog);
    EXPECT_EQ(selectionAtCancel, 1);
    EXPECT_EQ(caretAtCancel, 1);
    EXPECT_EQ(selectionChanges(), 4);
}

TEST_F(DialogList, HomeEndPagesAndLettersStayInsideTheList) {
    typeKeys("{Down}{End}{Down}{Esc}");
    runRecordingDialog(IDD_LIST, dialog);
    EXPECT_EQ(selectionAtCancel, 11);

    typeKeys("{Down}{PgDn}{PgDn}{PgDn}{PgDn}{PgDn}{Home}{Up}{Esc}");
    runRecordingDialog(IDD_LIST, dialog);
    EXPECT_EQ(selectionAtCancel, 0);

    typeKeys("{Down}i{Esc}");  // the next entry starting with "i"
    runRecordingDialog(IDD_LIST, dialog);
    EXPECT_EQ(selectionAtCancel, 1);
}

TEST_F(DialogList, EnterInTheListSendsOkWhichThisDialogIgnores) {
    typeKeys("{Down}{Enter}{Esc}");
    runRecordingDialog(IDD_LIST, dialog);
    EXPECT_EQ(dialog.clicks(), (std::vector<int>{IDOK, IDCANCEL}));
    EXPECT_EQ(selectionAtCancel, 0);
}

TEST_F(DialogList, ScrollsToKeepTheHighlightInView) {
    typeKeys("{Snap}{Down}{End}{Snap}{Esc}");
    runRecordingDialog(IDD_LIST, dialog);
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_NE(screens[0].find("item 01"), std::string::npos);
    EXPECT_EQ(screens[0].find("item 12"), std::string::npos);
    EXPECT_NE(screens[1].find("*item 12"), std::string::npos) << screens[1];
    EXPECT_EQ(screens[1].find("item 01"), std::string::npos);
}

TEST_F(DialogList, RightScrollsSidewaysWithinTheHorizontalExtent) {
    auto fill = dialog.onInit;
    dialog.onInit = [fill](HWND window) {
        fill(window);
        SendDlgItemMessageA(window, IDC_LIST, LB_SETHORIZONTALEXTENT, 600, 0);
        return TRUE;
    };
    typeKeys("{Right}{Right}{Snap}");
    for (int i = 0; i < 200; ++i) typeKeys("{Right}");
    typeKeys("{Snap}{Esc}");
    runRecordingDialog(IDD_LIST, dialog);
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_NE(screens[0].find("em 01"), std::string::npos);
    EXPECT_EQ(screens[0].find("item 01"), std::string::npos);
    EXPECT_EQ(screens[1].find("01"), std::string::npos) << "scrolled past the short entries";
    EXPECT_EQ(selectionAtCancel, -1) << "sideways scrolling highlights nothing";
}

TEST_F(DialogList, ScrollsSidewaysExactlyAsFarAsTheExtentAndShowsNoBarWhenNothingIsHidden) {
    // The entries have 24 columns, the longest 29 characters; one cell is 6
    // pixels. Shown: the longest entry scrolled as far as it goes, up to the
    // vertical bar's thumb.
    const std::string longest = "item 00 and six more ---- END";
    const struct {
        int extent;
        bool bar;
        const char *shownAtTheEnd;
    } table[] = {
        {0, false, "|*item 00 and six more ---#|"},
        {24 * 6, false, "|*item 00 and six more ---#|"},
        {25 * 6, true, "|*tem 00 and six more ----#|"},
        {30 * 6, true, "|*0 and six more ---- END #|"},
    };
    for (const auto &row : table) {
        auto fill = dialog.onInit;
        dialog.onInit = [fill, longest, row](HWND window) {
            fill(window);
            SendDlgItemMessageA(window, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(longest.c_str()));
            SendDlgItemMessageA(window, IDC_LIST, LB_SETHORIZONTALEXTENT, row.extent, 0);
            return TRUE;
        };
        typeKeys("{Tab}");
        for (int i = 0; i < 40; ++i) typeKeys("{Right}");
        typeKeys("{Home}{Snap}{Esc}");
        runRecordingDialog(IDD_LIST, dialog);
        dialog.onInit = fill;
        const ui::Canvas shown = snapshotCanvases().back();
        int trackCells = 0;
        for (int r = 0; r < shown.rows(); ++r)
            for (int c = 0; c < shown.columns(); ++c) trackCells += shown.at(c, r).line == ui::Line::HorizontalTrack;
        EXPECT_EQ(trackCells > 0, row.bar) << row.extent << "\n" << shown.text();
        EXPECT_NE(shown.text().find(row.shownAtTheEnd), std::string::npos) << row.extent << "\n" << shown.text();
    }
}

}  // namespace
}  // namespace corvant::testing
