#include "tests/ui/dialog_test_fixture.h"

#include <filesystem>
#include <fstream>

#include "assoc/browser_settings.h"
#include "assoc/main_window.h"
#include "platform/portable/test_hooks.h"
#include "search/tree_search.h"
#include "tests/support/registry_reader.h"
#include "ui/program_entry.h"

namespace corvant::testing {

void DialogTest::SetUp() {
    // Every run of the program starts from the settings of a fresh process.
    browserSettings = BrowserSettings{};
    mainDialogWindow = nullptr;
    resultList = nullptr;
    clearShownMessageBoxes();
    startScriptedFrontEnd();
}

void DialogTest::TearDown() { stopScriptedFrontEnd(); }

void DialogTest::runProgram(const std::string &keys) {
    typeKeys(keys);
    char commandLine[] = "";
    EXPECT_EQ(WinMain(GetModuleHandleA(nullptr), nullptr, commandLine, SW_SHOWNORMAL), 0);
    EXPECT_FALSE(scriptRanDry()) << "the program wanted more keys; last screen:\n" << screenText();
}

std::string DialogTest::chooseFile(const std::string &path) {
    // The file-name field has the focus as the dialog opens; it is empty
    // until a first choice has been made.
    return path + "{Enter}";
}

std::string DialogTest::makeFile(const std::string &relativePath) const {
    std::filesystem::path path = std::filesystem::path(sandbox.folder()) / relativePath;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path).put('\0');
    return path.string();
}

bool DialogTest::registryUntouched() {
    for (const char *key : programKeys) {
        if (keyExists(key)) {
            return false;
        }
    }
    return true;
}

}  // namespace corvant::testing
