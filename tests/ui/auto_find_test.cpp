// Auto find: the refusal for other browsers through the main dialog, and the
// Auto find dialog itself run on a scratch tree.
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>
#include <unistd.h>

#include "assoc/browser_settings.h"
#include "assoc/main_window.h"
#include "platform/portable/files/file_test_hooks.h"
#include "platform/portable/test_hooks.h"
#include "platform/portable/ui/scripted_front_end.h"
#include "tests/support/registry_reader.h"
#include "tests/ui/dialog_test_fixture.h"
#include "ui/auto_find_dialog.h"
#include "ui/resources/resource_ids.h"

namespace corvant::testing {
namespace {

namespace fs = std::filesystem;

std::string currentDirectory() { return fs::current_path().string(); }

// What the dialog held and showed along the way.
struct Observed {
    LRESULT entriesAtOpening = -1;
    bool acceptEnabledAtOpening = true;
    LRESULT entriesAtAccept = -1;
    LRESULT entriesAtCancel = -1;
    bool acceptEnabledAtCancel = true;
    size_t readsAtCancel = 0;
    size_t captionsAtCancel = 0;
    LRESULT entriesAtEnd = -1;
    size_t readsAtEnd = 0;
    std::vector<std::string> captions;
};
Observed observed;
// When set, this entry is put in the list as the dialog opens.
std::string extraEntry;
// When set, the dialog is asked to close as it shows its first progress.
bool closeOnProgress = false;

LRESULT entryCount(HWND window) { return SendDlgItemMessageA(window, IDC_SEARCH_RESULTS, LB_GETCOUNT, 0, 0); }

INT_PTR CALLBACK observingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && LOWORD(wParam) == IDC_SEARCH_ACCEPT) {
        observed.entriesAtAccept = entryCount(window);
    }
    if (message == WM_COMMAND && LOWORD(wParam) == IDCANCEL && observed.entriesAtCancel < 0) {
        observed.entriesAtCancel = entryCount(window);
        observed.acceptEnabledAtCancel = IsWindowEnabled(GetDlgItem(window, IDC_SEARCH_ACCEPT));
        observed.readsAtCancel = directoryReadCount();
        observed.captionsAtCancel = observed.captions.size();
    }
    if (message == WM_SETTEXT) {
        observed.captions.push_back(reinterpret_cast<const char *>(lParam));
        if (closeOnProgress && observed.captions.size() == 1) PostMessageA(window, WM_CLOSE, 0, 0);
    }
    if (message == WM_DESTROY) {
        observed.entriesAtEnd = entryCount(window);
        observed.readsAtEnd = directoryReadCount();
    }
    INT_PTR handled = AutoFindDialogProc(window, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        observed.entriesAtOpening = entryCount(window);
        observed.acceptEnabledAtOpening = IsWindowEnabled(GetDlgItem(window, IDC_SEARCH_ACCEPT));
        if (!extraEntry.empty()) {
            SendDlgItemMessageA(window, IDC_SEARCH_RESULTS, LB_ADDSTRING, 0,
                                reinterpret_cast<LPARAM>(extraEntry.c_str()));
        }
    }
    return handled;
}

// A scratch "drive" holding three copies of IEXPLORE.EXE (one in lower case)
// and a decoy; the test runs with that drive as the current directory.
class ScratchDrive : public DialogTest {
protected:
    void SetUp() override {
        DialogTest::SetUp();
        observed = Observed{};
        extraEntry.clear();
        closeOnProgress = false;
        previousDirectory = currentDirectory();
        browserSettings.browserIsNetscape = false;  // looking for IEXPLORE.EXE
        root = fs::path(sandbox.folder()) / "drive";
        makeFile("drive/c/sub/iexplore.exe");
        makeFile("drive/a/IEXPLORE.EXE");
        makeFile("drive/B/IEXPLORE.EXE");
        makeFile("drive/B/NETSCAPE.EXE");
        fs::current_path(root);
    }
    void TearDown() override {
        fs::current_path(previousDirectory);
        DialogTest::TearDown();
    }

    std::string found(const char *relative) const { return (root / relative).string(); }

    std::string previousDirectory;
    fs::path root;
};

// The dialog on its own, run from the scratch drive.
class AutoFindDialog : public ScratchDrive {
protected:
    INT_PTR runDialog(const std::string &keys) {
        typeKeys(keys);
        INT_PTR result = DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_AUTO_FIND), GetDesktopWindow(),
                                         observingProc, 0);
        EXPECT_FALSE(scriptRanDry()) << "the dialog wanted more keys:\n" << screenText();
        return result;
    }
};

// After the search the list has the focus; the first arrow key only
// highlights the entry with the caret (the first).
const std::string highlightSecond = "{Down}{Down}", highlightThird = "{Down}{Down}{Down}";
// The scratch drive: drive, a, B, c and c/sub.
const std::string allFolders = "Auto find web browser - 5 folders - ";

TEST_F(AutoFindDialog, AcceptWithoutHighlightTakesTheFirstSortedPath) {
    EXPECT_EQ(runDialog("{A-s}{A-a}"), IDOK);
    EXPECT_EQ(observed.entriesAtOpening, 0);
    EXPECT_FALSE(observed.acceptEnabledAtOpening);
    EXPECT_EQ(observed.entriesAtAccept, 3);
    EXPECT_EQ(std::string(browserSettings.browserPath), found("a/IEXPLORE.EXE"));
    EXPECT_EQ(currentDirectory(), root.string());
}

TEST_F(AutoFindDialog, TheHighlightedEntryIsTaken) {
    EXPECT_EQ(runDialog("{A-s}" + highlightThird + "{A-a}"), IDOK);
    EXPECT_EQ(std::string(browserSettings.browserPath), found("c/sub/IEXPLORE.EXE"));
}

TEST_F(AutoFindDialog, EscapeAfterTheSearchKeepsThePreviousPath) {
    std::strcpy(browserSettings.browserPath, "/previous/IEXPLORE.EXE");
    EXPECT_EQ(runDialog("{A-s}{Esc}"), 0);
    EXPECT_STREQ(browserSettings.browserPath, "/previous/IEXPLORE.EXE");
    EXPECT_TRUE(registryUntouched());
}

TEST_F(AutoFindDialog, StartRunsOnceAndAcceptWaitsForIt) {
    // Accept before the search and a second Start do nothing.
    EXPECT_EQ(runDialog("{A-a}{A-s}{A-s}{A-a}"), IDOK);
    EXPECT_EQ(observed.entriesAtAccept, 3);
}

TEST_F(AutoFindDialog, EnterInTheListDoesNotEndTheDialog) {
    EXPECT_EQ(runDialog("{A-s}" + highlightSecond + "{Enter}{Snap}{A-a}"), IDOK);
    ASSERT_EQ(snapshots().size(), 1u);
    EXPECT_NE(snapshots()[0].find("Auto find web browser"), std::string::npos) << snapshots()[0];
    EXPECT_EQ(std::string(browserSettings.browserPath), found("B/IEXPLORE.EXE"));
}

TEST_F(AutoFindDialog, EveryOpeningStartsWithAnEmptyList) {
    EXPECT_EQ(runDialog("{A-s}{Esc}"), 0);
    EXPECT_EQ(runDialog("{A-s}{A-a}"), IDOK);
    EXPECT_EQ(observed.entriesAtOpening, 0);
    EXPECT_EQ(observed.entriesAtAccept, 3);
}

TEST_F(AutoFindDialog, NothingFoundLeavesAcceptDisabledAndTheFocusOnCancel) {
    fs::current_path(root / "a");
    fs::remove(root / "a" / "IEXPLORE.EXE");
    std::strcpy(browserSettings.browserPath, "/previous/NETSCAPE.EXE");
    // Alt+A finds Accept disabled; Enter presses the focused Cancel.
    EXPECT_EQ(runDialog("{A-s}{A-a}{Snap}{Enter}"), 0);
    EXPECT_EQ(observed.entriesAtAccept, -1);
    EXPECT_FALSE(observed.acceptEnabledAtCancel);
    EXPECT_STREQ(browserSettings.browserPath, "/previous/NETSCAPE.EXE");
    ASSERT_FALSE(observed.captions.empty());
    EXPECT_EQ(observed.captions.back(), "Auto find web browser - 1 folder - nothing found");
    ASSERT_EQ(snapshots().size(), 1u);
    // The focused push button is the default one, "< >".
    EXPECT_NE(snapshots()[0].find(">< Cancel >"), std::string::npos) << snapshots()[0];
}

TEST_F(AutoFindDialog, AnEntryTooLongForThePathIsNotTaken) {
    // Sorted first, so Accept without a highlight picks it.
    extraEntry = "/" + std::string(browserPathSize, 'a') + "/IEXPLORE.EXE";
    std::strcpy(browserSettings.browserPath, "/previous/IEXPLORE.EXE");
    // Accept refuses it and the dialog stays open until Cancel.
    EXPECT_EQ(runDialog("{A-s}{A-a}{Snap}{Esc}"), 0);
    EXPECT_EQ(observed.entriesAtAccept, 4);
    EXPECT_STREQ(browserSettings.browserPath, "/previous/IEXPLORE.EXE");
    ASSERT_EQ(snapshots().size(), 1u);
    EXPECT_NE(snapshots()[0].find("Auto find web browser"), std::string::npos);
    extraEntry.clear();
}

TEST_F(AutoFindDialog, CaptionShowsTheProgressWhileSearchingAndTheOutcomeAfter) {
    EXPECT_EQ(runDialog("{A-s}{Busy}{Snap}{Snap}{A-a}"), IDOK);
    EXPECT_FALSE(busyKeysCameLate());
    ASSERT_GE(observed.captions.size(), 2u);
    EXPECT_EQ(observed.captions.front(), "Auto find web browser - 1 folder - " + root.string());
    EXPECT_EQ(observed.captions.back(), allFolders + "3 found");
    ASSERT_EQ(snapshots().size(), 2u);
    // The end of the folder's path, behind "..." where the caption is too long for the frame.
    const std::string folderEnd = root.string().substr(root.string().size() - 12);
    EXPECT_NE(snapshots()[0].find(" Auto find web browser - 1 folder - "), std::string::npos) << snapshots()[0];
    EXPECT_NE(snapshots()[0].find(folderEnd + " "), std::string::npos) << snapshots()[0];
    EXPECT_NE(snapshots()[1].find(" " + allFolders + "3 found "), std::string::npos) << snapshots()[1];
    // The focus on the list, which shows what was found, its caret on the
    // first entry (the one Accept takes while nothing is highlighted).
    EXPECT_NE(snapshots()[1].find("|>+---"), std::string::npos) << snapshots()[1];
    EXPECT_NE(snapshots()[1].find("|>" + found("a/IEXPLORE.EXE")), std::string::npos) << snapshots()[1];
}

// A clock that moves on 100 ms at every reading makes the search look at
// the keyboard each time it reports, here at every folder.
class AutoFindCancel : public AutoFindDialog {
protected:
    void SetUp() override {
        AutoFindDialog::SetUp();
        setClockStep(100);
    }
};

TEST_F(AutoFindCancel, EscapeWhileSearchingStopsAtOnceAndEndsTheDialog) {
    std::strcpy(browserSettings.browserPath, "/previous/IEXPLORE.EXE");
    EXPECT_EQ(runDialog("{A-s}{Busy}{Pass}{Busy}{Pass}{Busy}{Esc}"), 0);
    EXPECT_FALSE(busyKeysCameLate());
    EXPECT_FALSE(observed.acceptEnabledAtCancel) << "the search had ended";
    // Nothing was read, listed or shown after the cancel.
    EXPECT_EQ(observed.readsAtEnd, observed.readsAtCancel);
    EXPECT_EQ(observed.entriesAtEnd, observed.entriesAtCancel);
    EXPECT_EQ(observed.captions.size(), observed.captionsAtCancel);
    ASSERT_FALSE(observed.captions.empty());
    EXPECT_EQ(observed.captions.back().rfind("Auto find web browser - 3 folders - ", 0), 0u)
        << observed.captions.back();
    EXPECT_EQ(currentDirectory(), root.string());
    EXPECT_STREQ(browserSettings.browserPath, "/previous/IEXPLORE.EXE");
    EXPECT_TRUE(registryUntouched());
}

TEST_F(AutoFindCancel, CancelButtonAndCloseRequestStopTheSearchToo) {
    // The list has the focus while searching; Tab leads to Cancel.
    EXPECT_EQ(runDialog("{A-s}{Busy}{Tab}{Busy}{Space}"), 0);
    EXPECT_FALSE(busyKeysCameLate());
    EXPECT_EQ(observed.readsAtEnd, observed.readsAtCancel);

    observed = Observed{};
    closeOnProgress = true;
    EXPECT_EQ(runDialog("{A-s}"), 0);
    EXPECT_EQ(observed.entriesAtCancel, 0);
    EXPECT_EQ(observed.readsAtEnd, observed.readsAtCancel);
    EXPECT_EQ(currentDirectory(), root.string());
}

TEST_F(AutoFindCancel, AClickOnCancelWhileSearchingStopsItToo) {
    // The mouse reaches the dialog the way keys do, while the search looks for
    // input. Start has the focus, which makes it the default button, "< >".
    EXPECT_EQ(runDialog("{Click:< Start >}{Busy}{Pass}{Busy}{Click:[ Cancel ]}"), 0);
    EXPECT_FALSE(busyKeysCameLate());
    EXPECT_FALSE(observed.acceptEnabledAtCancel) << "the search had ended";
    EXPECT_EQ(observed.readsAtEnd, observed.readsAtCancel);
    EXPECT_EQ(observed.entriesAtEnd, observed.entriesAtCancel);
    EXPECT_TRUE(registryUntouched());
}

TEST_F(AutoFindCancel, OtherKeysWhileSearchingLeaveTheSearchToFinish) {
    // Enter in the list asks for IDOK, which the dialog does not handle;
    // Alt+A finds Accept disabled until the search has ended.
    EXPECT_EQ(runDialog("{A-s}{Busy}{Enter}{Busy}{A-a}{Busy}{Down}{A-a}"), IDOK);
    EXPECT_FALSE(busyKeysCameLate());
    EXPECT_EQ(observed.entriesAtAccept, 3);
    EXPECT_EQ(observed.captions.back(), allFolders + "3 found");
}

// The whole command through the main dialog, with the drive of the Windows
// directory mapped to the scratch drive.
class AutoFindCommand : public ScratchDrive {
protected:
    void SetUp() override {
        ScratchDrive::SetUp();
        fs::create_directories(root / "Windows");
        setWindowsDirectory((root / "Windows").string());
        setDriveRoot(root.string());
        fs::current_path(sandbox.folder());
    }
    void TearDown() override {
        failWindowsDirectory(false);
        setWindowsDirectory("");
        setDriveRoot("");
        ScratchDrive::TearDown();
    }
};

// "Internet Explorer", then "&Auto find".
const std::string autoFindExplorer = "{Down}{A-a}";

TEST_F(AutoFindCommand, AcceptedPathIsAppliedAndReported) {
    runProgram(autoFindExplorer + "{A-s}{A-a}{Enter}{Esc}");
    std::string browser = found("a/IEXPLORE.EXE");
    EXPECT_EQ(std::string(browserSettings.browserPath), browser);
    std::string command = browser.find(' ') == std::string::npos ? browser : '"' + browser + '"';
    EXPECT_EQ(readValue("http\\shell\\open\\command", ""), stringValue(command + " \"%1\""));
    EXPECT_EQ(readValue("http\\shell\\open\\ddeexec\\Application", ""), stringValue("IExplore"));
    auto boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Changes submitted to registry.");
    EXPECT_EQ(boxes[0].title, "Done");
    // The search started at the drive root and the program stays there.
    EXPECT_EQ(fs::current_path(), root);
}

TEST_F(AutoFindCommand, CancelAfterTheSearchWritesNothing) {
    runProgram(autoFindExplorer + "{A-s}{Esc}{Esc}");
    EXPECT_TRUE(registryUntouched());
    EXPECT_TRUE(shownMessageBoxes().empty());
    EXPECT_STREQ(browserSettings.browserPath, "");
}

TEST_F(AutoFindCommand, NothingFoundAppliesNothingNotEvenAnEarlierPath) {
    // A path chosen earlier in the run, for another browser type.
    std::strcpy(browserSettings.browserPath, "/opt/netscape/NETSCAPE.EXE");
    setDriveRoot((root / "Windows").string());
    runProgram(autoFindExplorer + "{A-s}{A-a}{Enter}{Esc}");
    EXPECT_TRUE(registryUntouched());
    EXPECT_TRUE(shownMessageBoxes().empty());
}

TEST_F(AutoFindCommand, CancelledSearchLeavesTheMainDialogWorking) {
    setClockStep(100);
    runProgram(autoFindExplorer + "{A-s}{Busy}{Esc}{A-a}{A-s}{A-a}{Enter}{Esc}");
    EXPECT_FALSE(busyKeysCameLate());
    EXPECT_EQ(std::string(browserSettings.browserPath), found("a/IEXPLORE.EXE"));
    auto boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Changes submitted to registry.");
}

TEST_F(AutoFindCommand, UnreadableWindowsDirectoryStopsSilently) {
    failWindowsDirectory(true);
    std::string before = currentDirectory();
    // Had the dialog opened, the Escape would close it and the program
    // would run out of keys.
    runProgram(autoFindExplorer + "{Esc}");
    EXPECT_EQ(currentDirectory(), before);
    EXPECT_TRUE(shownMessageBoxes().empty());
}

TEST_F(AutoFindCommand, OtherBrowsersAreRefusedBeforeAnythingMoves) {
    std::string before = currentDirectory();
    runProgram("{Down}{Down}{A-a}{Snap}{Enter}{Esc}");

    auto boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Corvant can't search for \"other\" browsers because their filenames are not known.");
    EXPECT_FALSE(boxes[0].titleGiven);
    EXPECT_EQ(boxes[0].style, unsigned(MB_OK | MB_ICONERROR));
    EXPECT_EQ(boxes[0].owner, mainDialogWindow);
    ASSERT_EQ(snapshots().size(), 1u);
    EXPECT_NE(snapshots()[0].find("Error"), std::string::npos) << snapshots()[0];

    EXPECT_EQ(currentDirectory(), before);
    EXPECT_TRUE(browserSettings.browserIsNetscape);
    EXPECT_TRUE(browserSettings.browserIsOther);
    EXPECT_STREQ(browserSettings.browserPath, "");
    EXPECT_TRUE(registryUntouched());
}

}  // namespace
}  // namespace corvant::testing
