// ShellExecuteA opens an address with the program its class's open command
// names. The same tests run against Windows' shell under Wine, which shows
// that the command is read as Windows reads it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "assoc/apply.h"
#include "assoc/browser_settings.h"
#include "platform/win32.h"
#include "tests/support/registry_reader.h"
#include "tests/support/registry_sandbox.h"

namespace corvant::testing {
namespace {

namespace fs = std::filesystem;

class ShellOpen : public ::testing::Test {
protected:
    // A stand-in browser at folder/relative ("/" between the parts); answers its full path.
    std::string placeBrowser(const std::string &relative) {
        fs::path path = fs::u8path(sandbox_.folder()) / fs::u8path(relative);
        fs::create_directories(path.parent_path());
        fs::copy_file(fs::u8path(CORVANT_ARGUMENT_RECORDER), path, fs::copy_options::overwrite_existing);
        fs::permissions(path, fs::perms::owner_all);
        return path.make_preferred().u8string();
    }

    std::string placePage(const std::string &relative) {
        fs::path path = fs::u8path(sandbox_.folder()) / fs::u8path(relative);
        fs::create_directories(path.parent_path());
        std::ofstream(path) << "<html></html>";
        return path.make_preferred().u8string();
    }

    static void setString(const std::string &keyPath, const std::string &text) {
        HKEY key;
        ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
                  ERROR_SUCCESS)
            << keyPath;
        EXPECT_EQ(RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                                 static_cast<DWORD>(text.size() + 1)),
                  ERROR_SUCCESS);
        RegCloseKey(key);
    }

    static void setOpenCommand(const std::string &className, const std::string &command) {
        setString(className + "\\shell\\open\\command", command);
    }

    static bool opened(const std::string &address) {
        HINSTANCE result = ShellExecuteA(nullptr, "open", address.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        return reinterpret_cast<INT_PTR>(result) > 32;
    }

    // The arguments the browser recorded, without its own name. The browser
    // runs on its own (under Wine it takes a while to start), so this waits
    // a bounded time for its record.
    static std::vector<std::string> argumentsOf(const std::string &browser) {
        const fs::path record = fs::u8path(browser + ".txt");
        for (int i = 0; i < 1500; ++i) {
            std::ifstream in(record, std::ios::binary);
            size_t count = 0;
            if (in >> count) {
                in.ignore(1);
                std::vector<std::string> arguments(count);
                for (std::string &argument : arguments) std::getline(in, argument);
                return arguments;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        return {"<the browser never ran>"};
    }

    RegistrySandbox sandbox_;
};

using Arguments = std::vector<std::string>;

TEST_F(ShellOpen, QuotedProgramPathWithABlankGetsTheAddressAsOneArgument) {
    const std::string browser = placeBrowser("My Browser/browser.exe");
    setOpenCommand("http", "\"" + browser + "\" \"%1\"");
    ASSERT_TRUE(opened("http://example.com/a b"));
    EXPECT_EQ(argumentsOf(browser), Arguments{"http://example.com/a b"});
}

TEST_F(ShellOpen, UnquotedProgramPathIsReadUpToTheFirstBlankThatNamesAProgram) {
    const std::string plain = placeBrowser("Browser/browser.exe");
    setOpenCommand("http", plain + " %1");
    ASSERT_TRUE(opened("http://example.com/"));
    EXPECT_EQ(argumentsOf(plain), Arguments{"http://example.com/"});

    // Windows tries each longer reading in turn; the first that names a program is started.
    const std::string spaced = placeBrowser("Other Browser/browser.exe");
    setOpenCommand("https", spaced + " \"%1\" -new");
    ASSERT_TRUE(opened("https://example.com/"));
    EXPECT_EQ(argumentsOf(spaced), (Arguments{"https://example.com/", "-new"}));
}

TEST_F(ShellOpen, PercentOneStandsForTheAddressInsideAQuotedArgument) {
    const std::string browser = placeBrowser("My Browser/browser.exe");
    setOpenCommand("ftp", "\"" + browser + "\" -osint \"--url=%1\" x\"y z\"");
    ASSERT_TRUE(opened("ftp://example.com/pub/"));
    EXPECT_EQ(argumentsOf(browser), (Arguments{"-osint", "--url=ftp://example.com/pub/", "xy z"}));
}

TEST_F(ShellOpen, CommandWithoutPercentOneGetsNoAddress) {
    const std::string browser = placeBrowser("My Browser/browser.exe");
    setOpenCommand("gopher", "\"" + browser + "\"");
    ASSERT_TRUE(opened("gopher://example.com/"));
    EXPECT_EQ(argumentsOf(browser), Arguments{});
}

TEST_F(ShellOpen, PagesAreOpenedThroughTheClassTheirExtensionNames) {
    const std::string browser = placeBrowser("My Browser/browser.exe");
    setString(".html", "htmlfile");
    setString(".htm", "htmlfile");
    setOpenCommand("htmlfile", "\"" + browser + "\" \"%1\"");
    const std::string page = placePage("pages and more/index.html");
    ASSERT_TRUE(opened(page));
    EXPECT_EQ(argumentsOf(browser), Arguments{page});

    // The extension is found without regard to case, and a name relative to
    // the current folder reaches the browser as a full path.
    fs::remove(fs::u8path(browser + ".txt"));
    const std::string upper = placePage("pages and more/OLD.HTM");
    char before[8192];
    ASSERT_GT(GetCurrentDirectoryA(sizeof before, before), 0u);
    ASSERT_TRUE(SetCurrentDirectoryA(fs::u8path(page).parent_path().u8string().c_str()));
    const bool openedRelative = opened("OLD.HTM");
    SetCurrentDirectoryA(before);
    ASSERT_TRUE(openedRelative);
    EXPECT_EQ(argumentsOf(browser), Arguments{upper});
}

TEST_F(ShellOpen, OtherBrowserChosenInCorvantIsStartedWithoutADdeConversation) {
    // An older registration's DDE settings, which no browser of today serves:
    // Windows' shell would start the browser and then report a failure.
    setString("http\\shell\\open\\ddeexec", "%1");
    setString("http\\shell\\open\\ddeexec\\Application", "NSShell");
    setString("http\\shell\\open\\ddeexec\\Topic", "WWW_OpenURL");
    const std::string browser = placeBrowser("Other Browser/browser.exe");
    browserSettings = BrowserSettings{};
    browserSettings.browserIsOther = true;
    browserSettings.registerHttp = true;
    ASSERT_LT(browser.size(), sizeof browserSettings.browserPath);
    browser.copy(browserSettings.browserPath, browser.size());
    ASSERT_TRUE(applyAssociations());

    ASSERT_TRUE(opened("http://example.com/"));
    EXPECT_EQ(argumentsOf(browser), Arguments{"http://example.com/"});
}

}  // namespace
}  // namespace corvant::testing
