// What only the portable file functions do: links and mount points marked
// as reparse points, pipes and devices answered as Wine answers them on a
// Unix drive, listings read once and offered again only while the
// folder is unchanged, and the test hooks for the drive root and the
// Windows directory.
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <map>

#include "platform/portable/files/file_test_hooks.h"
#include "tests/search/child_process.h"
#include "tests/search/search_fixture.h"

namespace corvant::testing {
namespace {

using Names = std::vector<std::string>;

std::map<std::string, DWORD> attributesOf(const std::string &pattern) {
    std::map<std::string, DWORD> found;
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return found;
    do {
        found[data.cFileName] = data.dwFileAttributes;
    } while (FindNextFileA(find, &data));
    FindClose(find);
    return found;
}

Names namesOf(const std::string &pattern) {
    Names names;
    for (const auto &[name, attributes] : attributesOf(pattern)) names.push_back(name);
    return names;
}

// Waits (boundedly) until the folder's last change lies well before the
// current clock tick, so that a listing of it may be offered again.
bool waitUntilSettled(const std::string &folder) {
    for (int attempt = 0; attempt < 300; ++attempt) {
        struct stat status;
        timespec now;
        if (stat(folder.c_str(), &status) != 0) return false;
        clock_gettime(CLOCK_REALTIME_COARSE, &now);
        const double age = static_cast<double>(now.tv_sec - status.st_ctim.tv_sec) +
                           static_cast<double>(now.tv_nsec - status.st_ctim.tv_nsec) / 1e9;
        if (age > 0.05) return true;
        usleep(10000);
    }
    return false;
}

using FileFunctionsNativeTest = SearchTest;

TEST_F(FileFunctionsNativeTest, LinksCarryTheReparseBitAndFolderLinksTheFolderBitToo) {
    makeFile(sandbox_.folder(), "file.txt");
    makeFolder(sandbox_.folder(), "folder");
    const std::string top = tree() + "/";
    ASSERT_EQ(symlink("folder", (top + "to-folder").c_str()), 0);
    ASSERT_EQ(symlink("file.txt", (top + "to-file").c_str()), 0);
    ASSERT_EQ(symlink("nowhere", (top + "dangling").c_str()), 0);

    const auto found = attributesOf(top + "*.*");

    constexpr DWORD reparse = FILE_ATTRIBUTE_REPARSE_POINT;
    constexpr DWORD directory = FILE_ATTRIBUTE_DIRECTORY;
    EXPECT_EQ(found.at("to-folder") & (reparse | directory), reparse | directory);
    EXPECT_EQ(found.at("to-file") & (reparse | directory), reparse);
    EXPECT_EQ(found.at("dangling") & (reparse | directory), reparse);
    EXPECT_EQ(found.at("folder") & (reparse | directory), directory);
    EXPECT_EQ(found.at("file.txt") & (reparse | directory), 0u);
}

TEST_F(FileFunctionsNativeTest, FolderOnAnotherDeviceIsAReparsePoint) {
    struct stat root;
    struct stat proc;
    if (stat("/", &root) != 0 || stat("/proc", &proc) != 0 || root.st_dev == proc.st_dev) {
        GTEST_SKIP() << "/proc is not a separate file system here";
    }
    const auto found = attributesOf("/proc");
    ASSERT_EQ(found.count("proc"), 1u);
    EXPECT_EQ(found.at("proc"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT);
}

TEST_F(FileFunctionsNativeTest, PipesAndDevicesAreListedButAreNoFiles) {
    // As Wine on a Unix drive: listed like files, refused by GetFileAttributesA
    // with ERROR_INVALID_PARAMETER, so Auto find passes over them. Nothing is
    // opened, so a pipe never blocks.
    chooseNetscape();
    makeFile(sandbox_.folder(), "file/NETSCAPE.EXE");
    makeFolder(sandbox_.folder(), "device");
    ASSERT_EQ(mkfifo(pathInTree("NETSCAPE.EXE").c_str(), 0600), 0);
    ASSERT_EQ(symlink("/dev/null", pathInTree("device/netscape.exe").c_str()), 0);
    SetLastError(0);
    EXPECT_EQ(GetFileAttributesA(pathInTree("NETSCAPE.EXE").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_EQ(searchWholeTree(), Names{pathInTree("file/NETSCAPE.EXE")});
}

TEST_F(FileFunctionsNativeTest, ListingIsOfferedAgainOnlyWhileItsFolderIsUnchanged) {
    makeFile(sandbox_.folder(), "one/a.exe");
    makeFile(sandbox_.folder(), "two/b.exe");
    const std::string one = pathInTree("one");
    const std::string two = pathInTree("two");
    ASSERT_TRUE(waitUntilSettled(one) && waitUntilSettled(two));
    ASSERT_TRUE(SetCurrentDirectoryA(one.c_str()));

    size_t reads = directoryReadCount();
    EXPECT_EQ(namesOf("*.exe"), Names{"a.exe"});
    EXPECT_EQ(namesOf("*.*"), (Names{".", "..", "a.exe"}));
    EXPECT_EQ(directoryReadCount(), reads + 1) << "the settled folder was read twice";

    // Another folder under the same relative name, reached either way.
    ASSERT_TRUE(SetCurrentDirectoryA(two.c_str()));
    EXPECT_EQ(namesOf("*.*"), (Names{".", "..", "b.exe"}));
    ASSERT_EQ(chdir(one.c_str()), 0);
    EXPECT_EQ(namesOf("*.*"), (Names{".", "..", "a.exe"}));

    // A change shows at once, and a folder changed just now is read afresh every time.
    makeFile(one, "c.exe");
    reads = directoryReadCount();
    EXPECT_EQ(namesOf("*.*"), (Names{".", "..", "a.exe", "c.exe"}));
    EXPECT_EQ(namesOf("*.exe"), (Names{"a.exe", "c.exe"}));
    EXPECT_EQ(directoryReadCount(), reads + 2);
    ASSERT_EQ(unlink((one + "/a.exe").c_str()), 0);
    EXPECT_EQ(namesOf("*.exe"), Names{"c.exe"});
}

TEST_F(FileFunctionsNativeTest, LargeFolderIsReadAsItIsEnumeratedAndAtTheRootWithoutDotEntries) {
    for (int i = 0; i < 2000; ++i) makeFile(sandbox_.folder(), "file" + std::to_string(i) + ".txt");
    ASSERT_TRUE(waitUntilSettled(tree()));
    ASSERT_TRUE(SetCurrentDirectoryA(tree().c_str()));

    // Too large to keep, so every enumeration reads it afresh.
    const size_t reads = directoryReadCount();
    EXPECT_EQ(namesOf("*.*").size(), 2002u);
    EXPECT_EQ(namesOf("*.*").size(), 2002u);
    EXPECT_EQ(directoryReadCount(), reads + 2);

    const ChildResult result = runInChild([this]() -> std::string {
        if (chroot(tree().c_str()) != 0 || chdir("/") != 0) return "";
        const Names names = namesOf("\\*.*");
        return std::to_string(names.size()) + (names.front() == "." || names.front() == ".." ? " dots" : "");
    });
    if (!result.exitedNormally || result.output.empty()) GTEST_SKIP() << "cannot make the folder a root here";
    EXPECT_EQ(result.output, "2000");
}

TEST_F(FileFunctionsNativeTest, StaleOrForeignHandlesAreRefused) {
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA((tree() + "/*.*").c_str(), &data);
    ASSERT_NE(find, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(FindClose(find));
    SetLastError(0);
    EXPECT_FALSE(FindNextFileA(find, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindClose(find));
    EXPECT_FALSE(FindClose(INVALID_HANDLE_VALUE));
    EXPECT_EQ(FindFirstFileA(nullptr, &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

TEST_F(FileFunctionsNativeTest, HooksMoveTheDriveRootAndTheWindowsDirectory) {
    char windows[1024];
    EXPECT_EQ(GetWindowsDirectoryA(windows, sizeof windows), 4u);
    EXPECT_STREQ(windows, "/etc");
    EXPECT_EQ(GetWindowsDirectoryA(windows, 4), 5u) << "the size needed, terminator included";

    setDriveRoot(tree());
    setWindowsDirectory(pathInTree("windows"));
    failWindowsDirectory(true);
    EXPECT_EQ(GetWindowsDirectoryA(windows, sizeof windows), 0u);
    failWindowsDirectory(false);
    EXPECT_EQ(GetWindowsDirectoryA(windows, sizeof windows), pathInTree("windows").size());
    EXPECT_TRUE(SetCurrentDirectoryA("\\"));
    const std::string root = currentDirectory();
    setDriveRoot("");
    setWindowsDirectory("");
    EXPECT_EQ(root, tree());
    EXPECT_TRUE(SetCurrentDirectoryA("\\"));
    EXPECT_EQ(currentDirectory(), "/");
}

}  // namespace
}  // namespace corvant::testing
