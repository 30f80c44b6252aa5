// What the screen shows: frames, titles, controls, wrapping and the size check.
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "platform/portable/ui/canvas.h"
#include "platform/portable/ui/display_text.h"
#include "platform/portable/ui/screen_painter.h"
#include "platform/portable/ui/scripted_front_end.h"

namespace corvant::testing {
namespace {

using Lines = std::vector<std::string>;

TEST(TextWrapping, KeepsLineFeedsExpandsTabsAndWrapsAtSpaces) {
    EXPECT_EQ(ui::wrapText("one two three", 7), (Lines{"one two", "three"}));
    EXPECT_EQ(ui::wrapText("a\n\nb", 10), (Lines{"a", "", "b"}));
    EXPECT_EQ(ui::wrapText("Web:\thttp://x", 40), (Lines{"Web:    http://x"}));
    EXPECT_EQ(ui::wrapText("abcdefghij", 4), (Lines{"abcd", "efgh", "ij"}));
    EXPECT_EQ(ui::wrapText("", 5), (Lines{""}));
}

std::string lineWith(const std::string &screen, const std::string &text) {
    size_t at = screen.find(text);
    if (at == std::string::npos) return "";
    size_t start = screen.rfind('\n', at);
    start = start == std::string::npos ? 0 : start + 1;
    return screen.substr(start, screen.find('\n', at) - start);
}

TEST(Screen, DialogIsFramedCentredAndShowsItsControls) {
    ScriptedScreen screen(100, 30);
    typeKeys("{Snap}{Esc}");
    RecordingDialog dialog;
    dialog.onInit = [](HWND window) {
        SendDlgItemMessageA(window, IDC_FIRST, BM_SETCHECK, BST_CHECKED, 0);
        SendDlgItemMessageA(window, IDC_CHECK, BM_SETCHECK, BST_CHECKED, 0);
        return TRUE;
    };
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_CONTROLS, dialog);
    std::string shown = snapshots().at(0);
    // 200 x 120 dialog units: 50 x 15 cells inside a frame of 52 x 17, centred in 100 x 30.
    std::string titleLine = lineWith(shown, "Controls under test");
    EXPECT_EQ(titleLine.find('+'), 24u) << shown;
    EXPECT_EQ(titleLine.rfind('+'), 75u);
    EXPECT_EQ(shown.find("Controls under test"), shown.find('+') + 3);
    EXPECT_NE(shown.find(">(*) First"), std::string::npos) << "focus marker on the first tab stop";
    EXPECT_NE(shown.find("[X] Check me"), std::string::npos) << shown;
    EXPECT_NE(shown.find("[ Disabled ]"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Label:  after a tab"), std::string::npos);
    EXPECT_NE(shown.find("second line"), std::string::npos);
}

TEST(Screen, TooSmallTerminalNamesTheSizeEveryDialogNeedsAndRecoversOnResize) {
    ScriptedScreen screen(100, 30);
    typeKeys("{Resize:40x10}{Snap}{Esc}{Resize:52x17}{Snap}{Esc}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_CONTROLS, dialog);
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 2u);
    // Not the 52x17 of this dialog: the widest message box (71 columns) and
    // the program's main dialog (24 rows, its empty rows closed up) need more.
    EXPECT_NE(screens[0].find("71x24"), std::string::npos) << screens[0];
    EXPECT_EQ(screens[0].find("Controls under test"), std::string::npos);
    // The dialog itself is shown as soon as it fits.
    EXPECT_NE(screens[1].find("Controls under test"), std::string::npos);
    // Escape while the screen was too small did nothing; the second one closed the dialog.
    EXPECT_EQ(dialog.clicks(), (std::vector<int>{IDCANCEL}));
}

// The lines of a screen that show more than frames, without the blanks around them.
Lines contentLines(const std::string &screen) {
    Lines lines;
    size_t start = 0;
    while (start <= screen.size()) {
        size_t end = screen.find('\n', start);
        std::string line = screen.substr(start, end == std::string::npos ? std::string::npos : end - start);
        size_t first = line.find_first_not_of(" |+-"), last = line.find_last_not_of(' ');
        if (first != std::string::npos) lines.push_back(line.substr(line.find_first_not_of(' '), last + 1));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

TEST(Screen, TheMainDialogFitsEightyByTwentyFourWithEveryLineInItsPlace) {
    // On 80x24 (and a Linux console's 80x25) rows that nothing is drawn on
    // are closed up: what is drawn stays as on a larger terminal, in order.
    const int mainDialog = 101;
    const int sizes[][2] = {{100, 40}, {80, 25}, {80, 24}};
    Lines large;
    for (const auto &size : sizes) {
        ScriptedScreen screen(size[0], size[1]);
        typeKeys("{Snap}{Esc}");
        RecordingDialog dialog;
        dialog.onCommand = endOn({IDCANCEL});
        EXPECT_EQ(runRecordingDialog(mainDialog, dialog), IDCANCEL);
        std::string shown = snapshots().at(0);
        ASSERT_NE(shown.find("+- Corvant 1.2 by"), std::string::npos) << size[0] << "x" << size[1] << "\n" << shown;
        Lines content = contentLines(shown);
        if (large.empty())
            large = content;
        else
            EXPECT_EQ(content, large) << size[0] << "x" << size[1] << "\n" << shown;
    }
}

TEST(Screen, LongCaptionsKeepTheirHeadAndTheEndOfThePathBehindAnEllipsis) {
    const std::string head = "Auto find web browser - 45,314 folders - ";
    const struct {
        bool utf8;
        std::string caption;
        int width;
        std::string shown;
    } table[] = {
        {false, head + "/root/.cache", 60, head + "/root/.cache"},
        {false, head + "/root/.cache/mozilla/firefox/profile", 60, head + ".../firefox/profile"},
        {true, head + "/root/.cache/mozilla/firefox/profile", 60, head + "\u2026la/firefox/profile"},
        // Wide characters count two cells; a name cut at one is cut whole.
        {true, head + "/home/\u6d4f\u89c8\u5668/\u6d4f\u89c8\u5668", 52, head + "\u2026\u5668/\u6d4f\u89c8\u5668"},
        // Without room for the head, the end of the whole caption.
        {false, "no separator here at all, but long", 12, "... but long"},
    };
    for (const auto &row : table) {
        ScriptedScreen screen(80, 24);
        startScriptedFrontEnd(80, 24, row.utf8);
        EXPECT_EQ(ui::fitCaption(row.caption, row.width), row.shown) << row.caption;
        EXPECT_LE(ui::textWidth(ui::fitCaption(row.caption, row.width)), row.width) << row.caption;
    }
}

TEST(Screen, NoTabStopsAndTextOnlyDialogStillRuns) {
    ScriptedScreen screen(60, 20);
    typeKeys("{Tab}{Snap}{Esc}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDCANCEL});
    EXPECT_EQ(runRecordingDialog(IDD_NO_TAB_STOPS, dialog), IDCANCEL);
    EXPECT_NE(snapshots().at(0).find("Only text"), std::string::npos);
}

TEST(Screen, RadioChecksNestedDialogsAndNewCaptionsAreShown) {
    ScriptedScreen screen;
    typeKeys("{Down}{Down}{Snap}{A-n}{Snap}{Enter}{Snap}{Esc}");
    RecordingDialog outer, inner;
    inner.onCommand = endOn({IDOK});
    outer.onCommand = [&](HWND window, int id) {
        if (id == IDC_NESTED) {
            runRecordingDialog(IDD_DEFAULT_BUTTON, inner, window);
            SetWindowTextA(window, "Controls, renamed");
        }
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, outer);
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_NE(screens[0].find("( ) First"), std::string::npos) << screens[0];
    EXPECT_NE(screens[0].find(">(*) Third"), std::string::npos) << screens[0];
    EXPECT_NE(screens[1].find("Default button"), std::string::npos) << screens[1];
    EXPECT_NE(screens[1].find("Controls under test"), std::string::npos) << screens[1];
    EXPECT_EQ(screens[2].find("Default button"), std::string::npos) << screens[2];
    EXPECT_NE(screens[2].find(" Controls, renamed "), std::string::npos) << screens[2];
}

TEST(DialogBox, NeedsAFrontEnd) {
    RecordingDialog dialog;
    EXPECT_EQ(runRecordingDialog(IDD_CONTROLS, dialog), -1);
}

// What the terminal is sent for a text, and how many cells it takes there:
// names from the file system or a store may hold anything.

const std::string replacement = "\xEF\xBF\xBD";

struct Row {
    std::string text, shown;
    int width;
};

// The text as its width counts and as a canvas draws it.
void expectShown(const Row &row) {
    EXPECT_EQ(ui::textWidth(row.text), row.width) << row.text;
    ui::Canvas screen(40, 1);
    screen.write(0, 0, row.text);
    EXPECT_EQ(screen.text(), row.shown) << row.text;
}

TEST(DisplayText, ControlsBidiAndFormatCharactersAreShownAsOneReplacementEach) {
    startScriptedFrontEnd(80, 24, true);
    const std::string r = replacement;
    const std::string man = "\xF0\x9F\x91\xA8", woman = "\xF0\x9F\x91\xA9", girl = "\xF0\x9F\x91\xA7";
    const std::string joiner = "\xE2\x80\x8D";
    const Row table[] = {
        // A joined emoji shows as its parts, each two cells, as the terminal then draws them.
        {man + joiner + woman + joiner + girl, man + r + woman + r + girl, 8},
        // A right-to-left override would show "exe.jpg" reversed as a picture.
        {"photo\xE2\x80\xAEgpj.exe", "photo" + r + "gpj.exe", 13},
        {"\xEF\xBB\xBFname\xE2\x80\x8B\xE2\x81\xA0", r + "name" + r + r, 7},
        // C0, DEL and C1 controls: ESC ] 0 sets a title, U+009B is a CSI of its own.
        {"\x1B]0;x\x07\x7F", r + "]0;x" + r + r, 7},
        {"\xC2\x9B\x33\x31m\xC2\x85", r + "31m" + r, 5},
        // What is shown as itself: a combining accent with its letter, a wide character.
        {"e\xCC\x81\xE6\xB5\x8F", "e\xCC\x81\xE6\xB5\x8F", 3},
    };
    for (const Row &row : table) expectShown(row);
    stopScriptedFrontEnd();
}

}  // namespace
}  // namespace corvant::testing
