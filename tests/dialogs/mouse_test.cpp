// The mouse in the dialogs, where the scripted screen is needed: clicks on
// cells (outside the dialog, on its title), on dialogs that cover others,
// on list entries and scroll bars, in fields and message boxes, and on a
// screen too small. What a click does to buttons and lists is tested in both
// builds beside the keys (dialog_keys_test).
#include <gtest/gtest.h>

#include "dialog_test_support.h"

namespace corvant::testing {
namespace {

using Clicks = std::vector<int>;

int checkOf(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0)); }

TEST(Mouse, ClicksWhereNoEnabledControlIsDoNothing) {
    ScriptedScreen screen(120, 50);
    // Outside the dialog, its title, a label, the disabled button; then
    // Space shows that the focus stayed on First.
    typeKeys(
        "{Click:0,0}{Click:119,49}{Click:Controls under test}{Click:Label:}{Click:second line}{Click:Disabled}"
        "{Space}{Esc}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_FIRST, IDCANCEL}));
}

TEST(Mouse, AButtonActsOnlyWhenReleasedOverItAfterBeingPressed) {
    ScriptedScreen screen;
    // Pressed on Go and released on Nested: nothing, but Go has the focus.
    // A release alone does nothing either.
    typeKeys("{Press:Go}{Release:Nested}{Release:Go}{Space}{Press:Check me}{Release:0,0}{Esc}");
    RecordingDialog dialog;
    int checkAtEnd = -1;
    dialog.onCommand = [&](HWND window, int id) {
        if (id == IDCANCEL) {
            checkAtEnd = checkOf(window, IDC_CHECK);
            EndDialog(window, 0);
        }
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_GO, IDCANCEL}));
    EXPECT_EQ(checkAtEnd, BST_UNCHECKED);
}

TEST(Mouse, OnlyTheActiveDialogTakesClicks) {
    const struct {
        const char *keys;
        int innerEnd;
    } cases[] = {
        // "First" of the dialog below stays in view beside the one on top.
        {"{A-n}{Click:First}{Click:OK}{Esc}", IDOK},
        // Go is pressed; the keyboard opens the nested dialog, which covers
        // Go. The release is the nested dialog's, even where it would be over
        // Go if measured from the nested dialog (column 70, row 28).
        {"{Press:Go}{A-n}{Release:70,28}{Esc}{Esc}", IDCANCEL},
    };
    for (const auto &test : cases) {
        ScriptedScreen screen;
        typeKeys(test.keys);
        RecordingDialog outer, inner;
        runNestedRecordingDialogs(outer, inner, {test.innerEnd});
        EXPECT_EQ(outer.clicks(), (Clicks{IDC_NESTED, IDCANCEL})) << test.keys;
        EXPECT_EQ(inner.clicks(), (Clicks{test.innerEnd})) << test.keys;
    }
}

TEST(Mouse, AClickInAListHighlightsItsEntryAndTheWheelScrollsIt) {
    ScriptedScreen screen;
    // Four rows show above the sideways scroll bar that a wide extent brings;
    // "c" is the third. The wheel moves three rows a notch
    // and no further than the last entry, and leaves the highlight alone;
    // Down then goes on from the entry clicked.
    typeKeys(
        "{Click:c-entry}{Snap}{WheelDown:c-entry}{Snap}{WheelDown:d-entry}{Snap}{WheelUp:f-entry}{Snap}{Down}"
        "{Esc}");
    RecordingDialog dialog;
    std::vector<LRESULT> selections;
    dialog.onInit = [](HWND window) {
        for (const char *entry : {"a-entry", "b-entry", "c-entry", "d-entry", "e-entry", "f-entry", "g-entry"})
            SendDlgItemMessageA(window, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        SendDlgItemMessageA(window, IDC_LIST, LB_SETHORIZONTALEXTENT, 1000, 0);
        return TRUE;
    };
    dialog.onCommand = [&](HWND window, int id) {
        if (id == IDC_LIST) selections.push_back(SendDlgItemMessageA(window, IDC_LIST, LB_GETCURSEL, 0, 0));
        if (id == IDCANCEL) {
            selections.push_back(SendDlgItemMessageA(window, IDC_LIST, LB_GETCURSEL, 0, 0));
            EndDialog(window, 0);
        }
        return TRUE;
    };
    runRecordingDialog(IDD_LIST, dialog);
    EXPECT_EQ(selections, (std::vector<LRESULT>{2, 3, 3}));
    ASSERT_EQ(dialog.commands.size(), 3u);
    EXPECT_EQ(dialog.commands[0].code, LBN_SELCHANGE);
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 4u);
    auto shows = [](const std::string &screen, const char *entry) { return screen.find(entry) != std::string::npos; };
    EXPECT_TRUE(shows(screens[0], "a-entry") && !shows(screens[0], "e-entry")) << screens[0];
    EXPECT_TRUE(shows(screens[0], "*c-entry")) << "highlighted\n" << screens[0];
    EXPECT_TRUE(shows(screens[1], "d-entry") && shows(screens[1], "g-entry") && !shows(screens[1], "c-entry"))
        << screens[1];
    EXPECT_EQ(screens[2], screens[1]) << "already at the end";
    EXPECT_TRUE(shows(screens[3], "a-entry") && shows(screens[3], "*c-entry")) << screens[3];
}

TEST(Mouse, AListHighlightsAtThePressAndTellsOnlyAtTheRelease) {
    ScriptedScreen screen;
    RecordingDialog held, clicked;
    LRESULT selectionAtEscape = -1;
    for (RecordingDialog *dialog : {&held, &clicked}) {
        dialog->onInit = [](HWND window) {
            for (const char *entry : {"a-entry", "b-entry"})
                SendDlgItemMessageA(window, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
            return TRUE;
        };
    }
    held.onCommand = [&](HWND window, int id) {
        if (id == IDCANCEL) {
            selectionAtEscape = SendDlgItemMessageA(window, IDC_LIST, LB_GETCURSEL, 0, 0);
            EndDialog(window, 0);
        }
        return TRUE;
    };
    clicked.onCommand = endOn({IDCANCEL});
    // Escape while the button is still down.
    typeKeys("{Press:b-entry}{Snap}{Esc}");
    runRecordingDialog(IDD_LIST, held);
    typeKeys("{Click:b-entry}{Esc}");
    runRecordingDialog(IDD_LIST, clicked);

    EXPECT_NE(snapshots().at(0).find("*b-entry"), std::string::npos) << snapshots()[0];
    EXPECT_EQ(selectionAtEscape, 1);
    ASSERT_EQ(held.commands.size(), 1u);
    EXPECT_EQ(held.commands[0].id, IDCANCEL);
    ASSERT_EQ(clicked.commands.size(), 2u);
    EXPECT_EQ(clicked.commands[0].id, IDC_LIST);
    EXPECT_EQ(clicked.commands[0].code, LBN_SELCHANGE);
}

TEST(Mouse, AClickOnAListsScrollBarScrollsAPageTowardsItAndLeavesTheFocus) {
    ScriptedScreen screen;  // 120 x 50
    // The dialog's frame stands at column 44, row 18, the list's at 46, 19:
    // its vertical bar in column 72, rows 20 to 23, its horizontal one in
    // row 24, columns 47 to 71. Both thumbs start at their first cell.
    typeKeys("{Click:72,23}{Snap}{Click:72,20}{Snap}{Click:65,24}{Snap}{Space}");
    RecordingDialog dialog;
    dialog.onInit = [](HWND window) {
        for (const char *entry : {"a-entry", "b-entry", "c-entry", "d-entry", "e-entry", "f-entry", "g-entry"})
            SendDlgItemMessageA(window, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        SendDlgItemMessageA(window, IDC_LIST, LB_SETHORIZONTALEXTENT, 300, 0);
        SetFocus(GetDlgItem(window, IDCANCEL));
        return FALSE;
    };
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_LIST, dialog);
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 3u);
    auto shows = [](const std::string &screen, const char *text) { return screen.find(text) != std::string::npos; };
    EXPECT_TRUE(shows(screens[0], "d-entry") && shows(screens[0], "g-entry") && !shows(screens[0], "c-entry"))
        << screens[0];
    EXPECT_TRUE(shows(screens[1], "a-entry") && !shows(screens[1], "e-entry")) << screens[1];
    // A page sideways: the short entries are out of view.
    EXPECT_FALSE(shows(screens[2], "-entry")) << screens[2];
    // Space still pressed Cancel, and no entry was ever highlighted.
    EXPECT_EQ(dialog.clicks(), (Clicks{IDCANCEL}));
    ASSERT_EQ(dialog.commands.size(), 1u);
}

TEST(Mouse, AClickInAFieldPutsTheCursorThere) {
    ScriptedScreen screen;
    typeKeys("{Click:cdef}X{Click:Cancel}");
    RecordingDialog dialog;
    std::string text;
    dialog.onInit = [](HWND window) {
        SetWindowTextA(GetDlgItem(window, IDC_FIELD), "abcdef");
        return TRUE;
    };
    dialog.onCommand = [&](HWND window, int id) {
        if (id == IDCANCEL) {
            char buffer[64] = "";
            GetWindowTextA(GetDlgItem(window, IDC_FIELD), buffer, sizeof buffer);
            text = buffer;
            EndDialog(window, 0);
        }
        return TRUE;
    };
    runRecordingDialog(IDD_GROUPED, dialog);
    EXPECT_EQ(text, "abXcdef");
}

TEST(Mouse, AMessageBoxIsAnsweredByAClick) {
    ScriptedScreen screen;
    typeKeys("{Click:No}");
    EXPECT_EQ(MessageBoxA(nullptr, "Open it?", "Question", MB_YESNO), IDNO);
    typeKeys("{Click:Question}{Click:OK}");
    EXPECT_EQ(MessageBoxA(nullptr, "Done it.", "Question", MB_OK), IDOK);
    EXPECT_FALSE(scriptRanDry());
}

TEST(Mouse, AClickWhileTheScreenIsTooSmallDoesNothing) {
    ScriptedScreen screen;
    // At 30 x 10 the dialog's Cancel would be at column 29, row 8.
    typeKeys("{Resize:30x10}{Click:29,8}{Resize:120x50}{Click:Cancel}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDCANCEL});
    EXPECT_EQ(runRecordingDialog(IDD_GROUPED, dialog), IDCANCEL);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDCANCEL}));
}

}  // namespace
}  // namespace corvant::testing
