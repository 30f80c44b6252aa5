// How the dialog manager turns keys and clicks into focus moves and commands.
// The same tests run natively and under Wine: where the two differ, Windows
// is right.
#include <gtest/gtest.h>

#include "tests/dialogs/recording_dialog.h"

namespace corvant::testing {
namespace {

using Clicks = std::vector<int>;

int checkOf(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0)); }

TEST(DialogFocus, TabFollowsTabStopsInTemplateOrderSkippingDisabledAndUncheckedRadioButtons) {
    KeyboardSession keyboard;
    // Space presses whatever has the focus, so the clicks show where the focus
    // went. Once "First" is checked, Tab enters and leaves the radio group at
    // it; Shift+Tab goes back over the wrap.
    typeKeys(
        "{Space}{Tab}{Space}{Tab}{Space}{Tab}{Space}{Tab}{Space}{Tab}{Space}{Tab}{Space}"
        "{S-Tab}{S-Tab}{Space}{Esc}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDCANCEL});
    EXPECT_EQ(runRecordingDialog(IDD_CONTROLS, dialog), IDCANCEL);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_FIRST, IDC_CHECK, IDC_GO, IDC_NESTED, IDC_LABELLED, IDC_FIRST, IDC_CHECK,
                                       IDC_LABELLED, IDCANCEL}));
    EXPECT_FALSE(scriptRanDry());
}

TEST(DialogFocus, TabStopsAtEveryRadioButtonWhileNoneIsChecked) {
    KeyboardSession keyboard;
    typeKeys("{Tab}{Tab}{Space}{Esc}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_THIRD, IDCANCEL}));
}

TEST(DialogFocus, InitDialogReturningFalseStillFocusesTheFirstTabStopOnceShown) {
    KeyboardSession keyboard;
    typeKeys("{Space}{Tab}{Space}{Esc}");
    RecordingDialog dialog;
    dialog.onInit = [](HWND) {
        EXPECT_EQ(GetFocus(), nullptr);
        return FALSE;
    };
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_FIRST, IDC_CHECK, IDCANCEL}));
}

TEST(DialogFocus, InitDialogReturningFalseKeepsTheFocusItPlaced) {
    KeyboardSession keyboard;
    typeKeys("{Space}{Esc}");
    RecordingDialog dialog;
    dialog.onInit = [](HWND window) {
        SetFocus(GetDlgItem(window, IDC_GO));
        return FALSE;
    };
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_GO, IDCANCEL}));
}

TEST(DialogFocus, DisabledFocusedControlLeavesNoFocusAndOnlyLettersAct) {
    KeyboardSession keyboard;
    // Go disables itself when pressed. Then neither Enter, Escape, Tab,
    // Space nor the arrows do anything; letters still act as mnemonics, with
    // Alt or without, and the one pressed takes the focus.
    typeKeys("{Tab}{Tab}{Tab}{Tab}{Space}{Enter}{Esc}{Tab}{S-Tab}{Space}{Down}n{Esc}");
    RecordingDialog dialog;
    HWND focusAfterDisabling = reinterpret_cast<HWND>(1);
    dialog.onCommand = [&focusAfterDisabling](HWND window, int id) {
        if (id == IDC_GO) {
            EXPECT_FALSE(EnableWindow(GetDlgItem(window, IDC_GO), FALSE)) << "Go was enabled before";
            EXPECT_TRUE(EnableWindow(GetDlgItem(window, IDC_GO), FALSE)) << "Go was already disabled";
            focusAfterDisabling = GetFocus();
        }
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    EXPECT_EQ(runRecordingDialog(IDD_CONTROLS, dialog), 0);
    EXPECT_EQ(focusAfterDisabling, nullptr);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_GO, IDC_NESTED, IDCANCEL}));
    EXPECT_FALSE(scriptRanDry());
}

TEST(DialogFocus, NextControlMessageMovesTheFocusToALiveControl) {
    KeyboardSession keyboard;
    // The focus is moved to Go when Go disables "Check me"; a second request
    // moves it on to the next tab stop, Nested.
    typeKeys("{A-k}{Space}{Esc}");
    RecordingDialog dialog;
    dialog.onCommand = [](HWND window, int id) {
        if (id == IDC_CHECK) {
            SendMessageA(window, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(window, IDC_GO)), TRUE);
            EnableWindow(GetDlgItem(window, IDC_CHECK), FALSE);
            EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_GO));
            SendMessageA(window, WM_NEXTDLGCTL, 0, FALSE);
            EXPECT_EQ(GetFocus(), GetDlgItem(window, IDC_NESTED));
        }
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_CHECK, IDC_NESTED, IDCANCEL}));
}

TEST(DialogEnter, FocusedPushButtonThenDefaultButtonThenOk) {
    KeyboardSession keyboard;
    // Focus on the check box: the default button. Focus on Other: Other itself.
    typeKeys("{Enter}{Tab}{Enter}{Tab}{Enter}");
    RecordingDialog dialog;
    int okPresses = 0;
    dialog.onCommand = [&okPresses](HWND window, int id) {
        if (id == IDOK && ++okPresses == 2) EndDialog(window, IDOK);
        return id == IDOK;
    };
    EXPECT_EQ(runRecordingDialog(IDD_DEFAULT_BUTTON, dialog), IDOK);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDOK, IDC_OTHER, IDOK}));

    // Without a default push button, Enter on a radio button sends 1.
    typeKeys("{Enter}");
    RecordingDialog plain;
    plain.onCommand = endOn({IDOK});
    EXPECT_EQ(runRecordingDialog(IDD_CONTROLS, plain), IDOK);
    EXPECT_EQ(plain.clicks(), (Clicks{IDOK}));
    EXPECT_FALSE(scriptRanDry());
}

TEST(DialogEnter, DisabledDefaultButtonSendsNothing) {
    KeyboardSession keyboard;
    typeKeys("{Enter}{Space}{Esc}");
    RecordingDialog dialog;
    dialog.onInit = [](HWND window) {
        EnableWindow(GetDlgItem(window, IDOK), FALSE);
        return TRUE;
    };
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_DEFAULT_BUTTON, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_DEFAULT_CHECK, IDCANCEL}));
}

TEST(DialogEscape, SendsCancelAndAnUnhandledCommandKeepsTheDialogOpen) {
    KeyboardSession keyboard;
    typeKeys("{Esc}{Esc}{A-g}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDC_GO});
    EXPECT_EQ(runRecordingDialog(IDD_CONTROLS, dialog), IDC_GO);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDCANCEL, IDCANCEL, IDC_GO}));
}

TEST(RadioGroup, CheckingOneClearsTheOthersAndArrowsMoveAndCheck) {
    KeyboardSession keyboard;
    typeKeys("{Down}{Down}{Down}{Up}{Esc}");
    RecordingDialog dialog;
    std::vector<int> checksAtCancel;
    dialog.onInit = [](HWND window) {
        SendDlgItemMessageA(window, IDC_FIRST, BM_SETCHECK, BST_CHECKED, 0);
        return TRUE;
    };
    dialog.onCommand = [&checksAtCancel](HWND window, int id) {
        if (id != IDCANCEL) return FALSE;
        for (int radio : {IDC_FIRST, IDC_SECOND, IDC_THIRD}) checksAtCancel.push_back(checkOf(window, radio));
        EndDialog(window, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    // Down wraps from the last radio button to the first; the group ends before "Disabled".
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_SECOND, IDC_THIRD, IDC_FIRST, IDC_THIRD, IDCANCEL}));
    EXPECT_EQ(checksAtCancel, (std::vector<int>{BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED}));
}

TEST(RadioGroup, ArrowsOnOtherControlsOnlyMoveTheFocusWithinTheirGroup) {
    KeyboardSession keyboard;
    // From "Check me" Down goes to Go without pressing it; Space then presses Go.
    typeKeys("{Tab}{Tab}{Tab}{Down}{Space}{Esc}");
    RecordingDialog dialog;
    int checkAtCancel = -1;
    dialog.onCommand = [&checkAtCancel](HWND window, int id) {
        if (id == IDCANCEL) {
            checkAtCancel = checkOf(window, IDC_CHECK);
            EndDialog(window, 0);
        }
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_GO, IDCANCEL}));
    EXPECT_EQ(checkAtCancel, BST_UNCHECKED);
}

TEST(CheckBox, SpaceTogglesBeforeTheCommandArrives) {
    KeyboardSession keyboard;
    typeKeys("{Tab}{Tab}{Tab}{Space}{Space}{Esc}");
    RecordingDialog dialog;
    std::vector<int> stateSeen;
    dialog.onCommand = [&stateSeen](HWND window, int id) {
        if (id == IDC_CHECK) stateSeen.push_back(checkOf(window, IDC_CHECK));
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(stateSeen, (std::vector<int>{BST_CHECKED, BST_UNCHECKED}));
}

TEST(Mnemonics, AltLetterActsOnItsControl) {
    KeyboardSession keyboard;
    // c: radio "Se&cond"; k: check box; d: disabled button, silent; l: a label,
    // which moves the focus to the control after it; g without Alt: "&Go".
    typeKeys("{A-c}{A-K}{A-d}{A-l}{Space}g{Esc}");
    RecordingDialog dialog;
    int secondChecked = -1, checkChecked = -1;
    dialog.onCommand = [&](HWND window, int id) {
        if (id == IDCANCEL) {
            secondChecked = checkOf(window, IDC_SECOND);
            checkChecked = checkOf(window, IDC_CHECK);
            EndDialog(window, 0);
        }
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_SECOND, IDC_CHECK, IDC_LABELLED, IDC_GO, IDCANCEL}));
    EXPECT_EQ(secondChecked, BST_CHECKED);
    EXPECT_EQ(checkChecked, BST_CHECKED);
}

TEST(DisabledControls, SendNothingAndAreSkipped) {
    KeyboardSession keyboard;
    typeKeys("{A-g}{Tab}{Tab}{Tab}{Tab}{Space}{Esc}");
    RecordingDialog dialog;
    dialog.onInit = [](HWND window) {
        EnableWindow(GetDlgItem(window, IDC_GO), FALSE);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(window, IDC_GO)));
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(window, IDC_NESTED)));
        return TRUE;
    };
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_CONTROLS, dialog);
    // The fourth Tab passes over the disabled "Go" to "Nested".
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_NESTED, IDCANCEL}));
}

TEST(Mouse, AClickActsOnTheControlUnderItAsTheKeyboardDoes) {
    KeyboardSession keyboard;
    // Third is checked, Check me ticked and Go pressed, each taking the
    // focus (Space then presses Go again). Go pressed and released over
    // Nested does nothing but take the focus; neither does a click on the
    // disabled button or on a label.
    typeKeys(
        "{Click:Third}{Click:Check me}{Click:Go}{Space}{Press:Go}{Release:Nested}{Click:Disabled}{Click:Label:}"
        "{Space}{Esc}");
    RecordingDialog dialog;
    std::vector<int> checksAtFirstGo;
    dialog.onCommand = [&](HWND window, int id) {
        if (id == IDC_GO && checksAtFirstGo.empty())
            for (int button : {IDC_FIRST, IDC_SECOND, IDC_THIRD, IDC_CHECK})
                checksAtFirstGo.push_back(checkOf(window, button));
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    dialog.onInit = [](HWND window) {
        SendDlgItemMessageA(window, IDC_FIRST, BM_SETCHECK, BST_CHECKED, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(dialog.clicks(), (Clicks{IDC_THIRD, IDC_CHECK, IDC_GO, IDC_GO, IDC_GO, IDCANCEL}));
    EXPECT_EQ(checksAtFirstGo, (std::vector<int>{BST_UNCHECKED, BST_UNCHECKED, BST_CHECKED, BST_CHECKED}));
    EXPECT_FALSE(scriptRanDry());
}

TEST(Mouse, AListFollowsTheButtonAndTellsOfTheEntryAtTheRelease) {
    KeyboardSession keyboard;
    // Pressed on one entry and released on another: the list follows the
    // mouse while the button is down and tells its dialog of the entry
    // under it at the release. Then a click on a third.
    typeKeys("{Press:a-entry}{Release:c-entry}{Click:b-entry}{Esc}");
    RecordingDialog dialog;
    std::vector<LRESULT> selections;
    dialog.onInit = [](HWND window) {
        for (const char *entry : {"a-entry", "b-entry", "c-entry"})
            SendDlgItemMessageA(window, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        SetFocus(GetDlgItem(window, IDCANCEL));
        return FALSE;
    };
    std::vector<int> codes;
    dialog.onCommand = [&](HWND window, int id) {
        // (Windows' list box also tells of the focus it gains and loses.)
        const int code = dialog.commands.back().code;
        if (id == IDC_LIST && (code == LBN_SETFOCUS || code == LBN_KILLFOCUS)) return TRUE;
        codes.push_back(code);
        selections.push_back(SendDlgItemMessageA(window, IDC_LIST, LB_GETCURSEL, 0, 0));
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_LIST, dialog);
    EXPECT_EQ(codes, (std::vector<int>{LBN_SELCHANGE, LBN_SELCHANGE, BN_CLICKED}));
    EXPECT_EQ(selections, (std::vector<LRESULT>{2, 1, 1}));
    EXPECT_FALSE(scriptRanDry());
}

TEST(NestedDialogs, OwnerIsDisabledWhileTheChildRunsAndGetsNoKeys) {
    KeyboardSession keyboard;
    typeKeys("{A-n}{A-g}{Enter}{Esc}");
    RecordingDialog outer, inner;
    BOOL ownerEnabledInChild = TRUE, ownerEnabledAfter = FALSE;
    INT_PTR childResult = 0;
    inner.onInit = [&](HWND) {
        ownerEnabledInChild = IsWindowEnabled(outer.window);
        return TRUE;
    };
    inner.onCommand = endOn({IDOK});
    outer.onCommand = [&](HWND window, int id) {
        if (id == IDC_NESTED) {
            childResult = runRecordingDialog(IDD_DEFAULT_BUTTON, inner, window);
            ownerEnabledAfter = IsWindowEnabled(window);
        }
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, outer);
    EXPECT_FALSE(ownerEnabledInChild);
    EXPECT_TRUE(ownerEnabledAfter);
    EXPECT_EQ(childResult, IDOK);
    EXPECT_EQ(outer.clicks(), (Clicks{IDC_NESTED, IDCANCEL})) << "Alt+G went to the child, which has no G";
}

TEST(ScriptRunningDry, EndsEveryOpenDialogWithMinusOne) {
    KeyboardSession keyboard;
    typeKeys("{A-n}");
    RecordingDialog outer, inner;
    INT_PTR childResult = 0, laterResult = 0;
    outer.onCommand = [&](HWND window, int id) {
        if (id == IDC_NESTED) {
            childResult = runRecordingDialog(IDD_DEFAULT_BUTTON, inner, window);
            RecordingDialog later;
            laterResult = runRecordingDialog(IDD_DEFAULT_BUTTON, later, window);
        }
        return TRUE;
    };
    EXPECT_EQ(runRecordingDialog(IDD_CONTROLS, outer), -1);
    EXPECT_EQ(childResult, -1);
    EXPECT_EQ(laterResult, -1);
    EXPECT_TRUE(scriptRanDry());
}

TEST(EndDialog, DuringInitDialogReturnsWithoutAskingForKeys) {
    KeyboardSession keyboard;
    RecordingDialog dialog;
    dialog.onInit = [](HWND window) {
        EndDialog(window, 77);
        return TRUE;
    };
    EXPECT_EQ(runRecordingDialog(IDD_CONTROLS, dialog), 77);
    EXPECT_FALSE(scriptRanDry());
    EXPECT_FALSE(EndDialog(dialog.window, 1)) << "the dialog is gone";
    EXPECT_EQ(GetDlgItem(dialog.window, IDC_GO), nullptr);
}

}  // namespace
}  // namespace corvant::testing
