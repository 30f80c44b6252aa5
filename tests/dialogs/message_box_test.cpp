// Message boxes: shown modally on the screen and recorded for the tests.
#include <gtest/gtest.h>

#include "dialog_test_support.h"
#include "platform/portable/test_hooks.h"

namespace corvant::testing {
namespace {

class MessageBoxes : public ::testing::Test {
protected:
    void SetUp() override { clearShownMessageBoxes(); }
    void TearDown() override { clearShownMessageBoxes(); }
};

TEST_F(MessageBoxes, EnterSpaceAndEscapeEachCloseOneBox) {
    ScriptedScreen screen;
    typeKeys("{Snap}{Enter}{Snap}{Space}{Snap}{Esc}");
    EXPECT_EQ(MessageBoxA(nullptr, "First text", "First", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Second text", "Second", MB_OK), IDOK);
    EXPECT_EQ(MessageBoxA(nullptr, "Third text", "Third", MB_OK), IDOK);
    EXPECT_FALSE(scriptRanDry()) << "each box took exactly one key";
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 3u);
    EXPECT_NE(screens[0].find("First text"), std::string::npos);
    EXPECT_NE(screens[1].find("Second text"), std::string::npos);
    EXPECT_EQ(screens[1].find("First text"), std::string::npos) << "a closed box is no longer drawn";
    EXPECT_NE(screens[2].find("Third"), std::string::npos);
    EXPECT_EQ(shownMessageBoxes().size(), 3u);
}

TEST_F(MessageBoxes, DefaultTitleErrorMarkerAndRecordedFields) {
    ScriptedScreen screen;
    typeKeys("{Snap}{Enter}{Snap}{Enter}");
    const char *refusal = "Corvant can't search for \"other\" browsers because their filenames are not known.";
    MessageBoxA(nullptr, refusal, nullptr, MB_ICONERROR);
    MessageBoxA(nullptr, "Changes submitted to registry.", "Done", MB_OK);
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_NE(screens[0].find("- Error "), std::string::npos) << screens[0];
    EXPECT_NE(screens[0].find("(X)"), std::string::npos);
    EXPECT_NE(screens[0].find("< OK >"), std::string::npos);
    EXPECT_NE(screens[1].find("- Done "), std::string::npos);
    EXPECT_EQ(screens[1].find("(X)"), std::string::npos);

    std::vector<ShownMessageBox> boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text, refusal);
    EXPECT_FALSE(boxes[0].titleGiven);
    EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_EQ(boxes[1].title, "Done");
    EXPECT_TRUE(boxes[1].titleGiven);
}

TEST_F(MessageBoxes, LongTextIsWrappedInsideTheBox) {
    ScriptedScreen screen(80, 30);
    std::string text;
    for (int i = 0; i < 20; ++i) text += "word" + std::to_string(i) + " ";
    typeKeys("{Snap}{Enter}");
    MessageBoxA(nullptr, text.c_str(), "Long", MB_OK);
    std::string shown = snapshots().at(0);
    EXPECT_NE(shown.find("word0 "), std::string::npos);
    EXPECT_NE(shown.find("word19"), std::string::npos) << shown;
}

TEST_F(MessageBoxes, OwnerDialogIsDisabledWhileTheBoxIsUp) {
    ScriptedScreen screen;
    typeKeys("{A-g}{Enter}{Esc}");
    RecordingDialog dialog;
    BOOL ownerEnabledAfter = FALSE;
    dialog.onCommand = [&](HWND window, int id) {
        if (id == IDC_GO) {
            MessageBoxA(window, "Inside", "Box", MB_OK);
            ownerEnabledAfter = IsWindowEnabled(window);
        }
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    ASSERT_EQ(shownMessageBoxes().size(), 1u);
    EXPECT_EQ(shownMessageBoxes()[0].owner, dialog.window);
    EXPECT_TRUE(ownerEnabledAfter);
    // Enter closed the box rather than reaching the dialog.
    EXPECT_EQ(dialog.clicks(), (std::vector<int>{IDC_GO, IDCANCEL}));
}

TEST_F(MessageBoxes, YesNoBoxAnswersFromTheKeyboardAsOnWindows) {
    struct Case {
        const char *keys;
        int answer;
    } cases[] = {
        {"y", IDYES},  // mnemonics, without Alt while a button has the focus
        {"N", IDNO},
        {"{A-n}", IDNO},
        {"{Enter}", IDYES},  // the focus starts on Yes
        {"{Space}", IDYES},
        {"{Tab}{Enter}", IDNO},  // Enter presses the focused button
        {"{Tab}{Tab}{Enter}", IDYES},
        {"{Right}{Space}", IDNO},  // the arrows move within the buttons' group
        {"{Right}{Left}{Enter}", IDYES},
        {"{Esc}{Esc}y", IDYES},  // no Cancel button: Escape does nothing
        {"x{Enter}", IDYES},     // a letter that is no mnemonic does nothing
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keys);
        ScriptedScreen screen;
        typeKeys(c.keys);
        EXPECT_EQ(MessageBoxA(nullptr, "Open it now?", "Question", MB_YESNO), c.answer);
        EXPECT_FALSE(scriptRanDry()) << "the box wanted another key";
    }
}

TEST_F(MessageBoxes, YesNoBoxShowsBothButtonsAndTheInformationMarker) {
    ScriptedScreen screen;
    typeKeys("{Snap}n{Snap}{Enter}");
    EXPECT_EQ(MessageBoxA(nullptr, "Open it now?", "Done", MB_YESNO | MB_ICONINFORMATION), IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Plain", "Done", MB_OK), IDOK);
    std::vector<std::string> screens = snapshots();
    ASSERT_EQ(screens.size(), 2u);
    EXPECT_NE(screens[0].find("(i)"), std::string::npos) << screens[0];
    EXPECT_NE(screens[0].find("< Yes >"), std::string::npos) << screens[0];
    EXPECT_NE(screens[0].find("[ No ]"), std::string::npos) << screens[0];
    EXPECT_EQ(screens[0].find("OK"), std::string::npos) << screens[0];
    EXPECT_EQ(screens[1].find("(i)"), std::string::npos) << screens[1];
    EXPECT_EQ(screens[1].find("Yes"), std::string::npos) << screens[1];

    std::vector<ShownMessageBox> boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].style, static_cast<unsigned>(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(boxes[0].text, "Open it now?");
}

TEST_F(MessageBoxes, EscapeInAYesNoBoxReachesNeitherTheBoxNorItsOwner) {
    ScriptedScreen screen;
    typeKeys("{A-g}{Esc}{Tab}{Space}{Esc}");
    RecordingDialog dialog;
    int answer = 0;
    dialog.onCommand = [&](HWND window, int id) {
        if (id == IDC_GO) answer = MessageBoxA(window, "Inside", "Box", MB_YESNO);
        if (id == IDCANCEL) EndDialog(window, 0);
        return TRUE;
    };
    runRecordingDialog(IDD_CONTROLS, dialog);
    EXPECT_EQ(answer, IDNO);
    // The Escape inside the box reached neither the box nor the dialog.
    EXPECT_EQ(dialog.clicks(), (std::vector<int>{IDC_GO, IDCANCEL}));
}

TEST_F(MessageBoxes, BoxesThisLayerDoesNotProvideFail) {
    ScriptedScreen screen;
    const UINT okCancel = 0x00000001;
    EXPECT_EQ(MessageBoxA(nullptr, "Sure?", "Question", okCancel), 0);
    EXPECT_TRUE(snapshots().empty());
    EXPECT_FALSE(scriptRanDry()) << "no key was asked for";
}

TEST_F(MessageBoxes, WithoutAFrontEndTheBoxIsStillRecorded) {
    EXPECT_EQ(MessageBoxA(nullptr, "No screen", "Title", MB_OK), IDOK);
    ASSERT_EQ(shownMessageBoxes().size(), 1u);
    EXPECT_EQ(shownMessageBoxes()[0].text, "No screen");
    // A question cannot be answered without a screen: neither Yes nor No.
    EXPECT_EQ(MessageBoxA(nullptr, "Open it?", "Title", MB_YESNO), 0);
    EXPECT_EQ(shownMessageBoxes().size(), 2u);
}

}  // namespace
}  // namespace corvant::testing
