// What the screen says beside its plain text: which cells are lines, which
// are highlighted, dimmed or bold, and what belongs to a dialog, to its
// shadow or to the screen around it.
#include <gtest/gtest.h>

#include "dialog_test_support.h"

namespace corvant::testing {
namespace {

using ui::Canvas;
using ui::Line;
using ui::Surface;

struct Place {
    int column = -1, row = -1;
};

// The first cell of the first appearance of text.
Place find(const Canvas &screen, const std::string &text) {
    for (int row = 0; row < screen.rows(); ++row) {
        std::string line;
        for (int column = 0; column < screen.columns(); ++column) line += screen.at(column, row).character;
        size_t at = line.find(text);
        if (at != std::string::npos) return Place{static_cast<int>(at), row};
    }
    ADD_FAILURE() << "not on the screen: " << text << "\n" << screen.text();
    return Place{};
}

// True when every cell of the first appearance of text has the attributes.
bool allHave(const Canvas &screen, const std::string &text, unsigned attributes) {
    Place at = find(screen, text);
    if (at.row < 0) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if ((screen.at(at.column + static_cast<int>(i), at.row).attributes & attributes) != attributes) return false;
    return true;
}

// True when no cell of it has any of them.
bool noneHas(const Canvas &screen, const std::string &text, unsigned attributes) {
    Place at = find(screen, text);
    if (at.row < 0) return false;
    for (size_t i = 0; i < text.size(); ++i)
        if (screen.at(at.column + static_cast<int>(i), at.row).attributes & attributes) return false;
    return true;
}

size_t count(const std::string &text, const std::string &part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + part.size())) ++found;
    return found;
}

std::vector<Canvas> runControls(const std::string &keys, bool dimShown = true) {
    ScriptedScreen screen(100, 30);
    if (!dimShown) showWithoutDimming();
    typeKeys(keys);
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_CONTROLS, dialog);
    return snapshotCanvases();
}

TEST(ScreenLooks, FramesGroupBoxesAndScrollBarsAreLinesThatReadAsAsciiInTheText) {
    ScriptedScreen screen(100, 30);
    typeKeys("{Snap}{Esc}");
    RecordingDialog grouped;
    grouped.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_GROUPED, grouped);

    typeKeys("{Snap}{Esc}");
    RecordingDialog list;
    list.onInit = [](HWND window) {
        for (const char *entry : {"alpha", "bravo", "charlie", "delta", "echo", "foxtrot", "golf"})
            SendDlgItemMessageA(window, IDC_LIST, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry));
        return TRUE;
    };
    list.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_LIST, list);

    std::vector<Canvas> screens = snapshotCanvases();
    ASSERT_EQ(screens.size(), 2u);
    for (const Canvas &shown : screens) {
        // Every line reads in the text as its ASCII stand-in.
        int lines = 0;
        for (int row = 0; row < shown.rows(); ++row)
            for (int column = 0; column < shown.columns(); ++column) {
                const ui::Cell &cell = shown.at(column, row);
                if (cell.line == Line::None) continue;
                ++lines;
                EXPECT_EQ(cell.character, ui::asciiFor(cell.line)) << column << "," << row;
            }
        EXPECT_GT(lines, 0);
    }

    const Canvas &groupedScreen = screens[0];
    Place title = find(groupedScreen, " Grouped ");
    EXPECT_EQ(groupedScreen.at(title.column - 2, title.row).line, Line::TopLeft);
    EXPECT_EQ(groupedScreen.at(title.column - 1, title.row).line, Line::Horizontal);
    EXPECT_EQ(groupedScreen.at(title.column + 9, title.row).line, Line::Horizontal);
    EXPECT_EQ(groupedScreen.at(title.column - 2, title.row + 1).line, Line::Vertical);
    EXPECT_NE(groupedScreen.text().find("+- Grouped --"), std::string::npos) << groupedScreen.text();
    EXPECT_NE(groupedScreen.drawing().find("\u250c\u2500 Grouped \u2500\u2500"), std::string::npos)
        << groupedScreen.drawing();
    // The group box: its own corners, and its title in the top line.
    Place fruit = find(groupedScreen, " Fruit ");
    EXPECT_EQ(groupedScreen.at(fruit.column - 1, fruit.row).line, Line::TopLeft);
    EXPECT_EQ(groupedScreen.at(fruit.column - 1, fruit.row + 1).line, Line::Vertical);
    EXPECT_EQ(count(groupedScreen.drawing(), "\u250c"), 2u) << groupedScreen.drawing();
    EXPECT_EQ(count(groupedScreen.drawing(), "\u2518"), 2u);

    // The list box's frame, and a scroll bar with a track and a thumb, since
    // seven entries do not fit its four rows.
    const Canvas &listScreen = screens[1];
    EXPECT_EQ(count(listScreen.drawing(), "\u250c"), 2u) << listScreen.drawing();
    EXPECT_EQ(count(listScreen.drawing(), "\u2588"), 1u) << "one thumb\n" << listScreen.drawing();
    EXPECT_GE(count(listScreen.drawing(), "\u2592"), 3u) << listScreen.drawing();
    EXPECT_EQ(count(listScreen.drawing(), "+"), 0u) << "no ASCII corner is left over";
}

TEST(ScreenLooks, TheFocusedControlIsHighlightedAndNothingElse) {
    // First, then (no radio button being checked) Second, Third, Check me and Go.
    std::vector<Canvas> screens = runControls("{Snap}{Tab}{Tab}{Tab}{Tab}{Snap}{Esc}");
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_TRUE(allHave(screens[0], "First", ui::attrReverse)) << screens[0].text();
    EXPECT_TRUE(noneHas(screens[0], "[ Go ]", ui::attrReverse));
    EXPECT_TRUE(noneHas(screens[0], "Second", ui::attrReverse));
    // A push button with the focus is also the default one.
    EXPECT_TRUE(allHave(screens[1], "< Go >", ui::attrReverse)) << screens[1].text();
    EXPECT_TRUE(noneHas(screens[1], "First", ui::attrReverse));
    EXPECT_TRUE(noneHas(screens[1], "Check me", ui::attrReverse));
}

TEST(ScreenLooks, DisabledControlsAreDimmed) {
    std::vector<Canvas> screens = runControls("{Snap}{Esc}");
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_TRUE(allHave(screens[0], "[ Disabled ]", ui::attrDim)) << screens[0].text();
    EXPECT_TRUE(noneHas(screens[0], "[ Go ]", ui::attrDim));
    EXPECT_TRUE(noneHas(screens[0], "Check me", ui::attrDim));
    // Where dimming does not show, a disabled push button loses its brackets.
    screens = runControls("{Snap}{Esc}", false);
    EXPECT_TRUE(allHave(screens.at(0), "  Disabled  ", ui::attrDim)) << screens[0].text();
    EXPECT_NE(screens[0].text().find("[ Go ]"), std::string::npos);
}

TEST(ScreenLooks, TheDefaultMarkFollowsTheFocusAmongPushButtons) {
    ScriptedScreen screen;
    // Option (a check box) has the focus first, then Other, OK and Option again.
    typeKeys("{Snap}{Tab}{Snap}{Tab}{Snap}{Tab}{Snap}{Esc}");
    RecordingDialog dialog;
    dialog.onCommand = endOn({IDCANCEL});
    runRecordingDialog(IDD_DEFAULT_BUTTON, dialog);
    std::vector<Canvas> screens = snapshotCanvases();
    ASSERT_EQ(screens.size(), 4u);
    const char *defaultButton[] = {"< OK >", "< Other >", "< OK >", "< OK >"};
    const char *otherButton[] = {"[ Other ]", "[ OK ]", "[ Other ]", "[ Other ]"};
    for (size_t i = 0; i < screens.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_TRUE(allHave(screens[i], defaultButton[i], ui::attrBold)) << screens[i].text();
        EXPECT_TRUE(noneHas(screens[i], otherButton[i], ui::attrBold)) << screens[i].text();
    }
}

TEST(ScreenLooks, TheDefaultMarkFollowsTheFocusInAMessageBox) {
    ScriptedScreen screen;
    typeKeys("{Snap}{Tab}{Snap}{Right}{Snap}{Enter}");
    EXPECT_EQ(MessageBoxA(nullptr, "Open it now?", "Question", MB_YESNO), IDYES);
    std::vector<Canvas> screens = snapshotCanvases();
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_TRUE(allHave(screens[0], "< Yes >", ui::attrBold)) << screens[0].text();
    EXPECT_TRUE(noneHas(screens[0], "[ No ]", ui::attrBold));
    EXPECT_TRUE(allHave(screens[1], "< No >", ui::attrBold | ui::attrReverse)) << screens[1].text();
    EXPECT_TRUE(noneHas(screens[1], "[ Yes ]", ui::attrBold));
    EXPECT_TRUE(allHave(screens[2], "< Yes >", ui::attrBold)) << screens[2].text();
}

TEST(ScreenLooks, TheDialogStandsOnTheScreenWithItsTitleAndAShadow) {
    std::vector<Canvas> screens = runControls("{Snap}{Esc}");
    ASSERT_EQ(screens.size(), 1u);
    const Canvas &shown = screens[0];
    // A frame of 52 x 17 centred in 100 x 30: columns 24 to 75, rows 6 to 22.
    const int left = 24, right = 75, top = 6, bottom = 22;
    ASSERT_EQ(shown.at(left, top).line, Line::TopLeft) << shown.text();
    ASSERT_EQ(shown.at(right, bottom).line, Line::BottomRight);
    EXPECT_EQ(shown.at(left, top).surface, Surface::Dialog);
    EXPECT_EQ(shown.at(50, 14).surface, Surface::Dialog);
    EXPECT_EQ(shown.at(right, bottom).surface, Surface::Dialog);
    // Two columns on the right and one row below, offset like a light from the top left.
    for (int row = top + 1; row <= bottom + 1; ++row) {
        EXPECT_EQ(shown.at(right + 1, row).surface, Surface::Shadow) << row;
        EXPECT_EQ(shown.at(right + 2, row).surface, Surface::Shadow) << row;
    }
    for (int column = left + 2; column <= right + 2; ++column)
        EXPECT_EQ(shown.at(column, bottom + 1).surface, Surface::Shadow) << column;
    EXPECT_EQ(shown.at(right + 1, top).surface, Surface::Screen);
    EXPECT_EQ(shown.at(left + 1, bottom + 1).surface, Surface::Screen);
    EXPECT_EQ(shown.at(right + 3, top + 3).surface, Surface::Screen);
    EXPECT_EQ(shown.at(0, 0).surface, Surface::Screen);
    // The shadow changes how cells look, not what they say.
    EXPECT_TRUE(shown.isBlank(right + 1, top + 3));
    EXPECT_TRUE(allHave(shown, " Controls under test ", ui::attrTitle));
}

TEST(ScreenLooks, ADialogBelowTheActiveOneIsDimmedAndShowsNoFocus) {
    ScriptedScreen screen;
    typeKeys("{A-n}{Snap}{Esc}{Esc}");
    RecordingDialog outer, inner;
    runNestedRecordingDialogs(outer, inner, {IDCANCEL});
    std::vector<Canvas> screens = snapshotCanvases();
    ASSERT_EQ(screens.size(), 1u);
    EXPECT_TRUE(allHave(screens[0], "First", ui::attrDim)) << screens[0].text();
    EXPECT_TRUE(noneHas(screens[0], "First", ui::attrReverse));
    EXPECT_TRUE(allHave(screens[0], "Option", ui::attrReverse)) << "the focus is in the dialog on top";
    EXPECT_TRUE(noneHas(screens[0], "Option", ui::attrDim));
}

}  // namespace
}  // namespace corvant::testing
