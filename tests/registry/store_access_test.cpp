// Where the store lives, and what happens when it cannot be read or written.
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "tests/registry/store_fixture.h"
#include "tests/support/permission_bypass.h"

namespace corvant::testing {
namespace {

namespace fs = std::filesystem;

// Sets an environment variable for one test and puts the old value back.
class EnvironmentVariable {
public:
    EnvironmentVariable(const char *name, const char *value) : name_(name) {
        const char *old = std::getenv(name);
        hadValue_ = old != nullptr;
        if (old) old_ = old;
        if (value)
            setenv(name, value, 1);
        else
            unsetenv(name);
    }
    ~EnvironmentVariable() {
        if (hadValue_)
            setenv(name_, old_.c_str(), 1);
        else
            unsetenv(name_);
    }
    EnvironmentVariable(const EnvironmentVariable &) = delete;
    EnvironmentVariable &operator=(const EnvironmentVariable &) = delete;

private:
    const char *name_;
    bool hadValue_ = false;
    std::string old_;
};

class StoreLocation : public StoreTest {
protected:
    void SetUp() override { setRegistryStorePath(""); }
    void TearDown() override { setRegistryStorePath(storeFile()); }

    void writeOneValue() {
        KeyHandle key;
        ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
        ASSERT_EQ(setBytes(key, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    }
};

TEST_F(StoreLocation, UnderXdgDataHomeWithItsFolderMadeOnTheFirstWrite) {
    const std::string dataHome = sandbox_.folder() + "/data home";
    EnvironmentVariable xdg("XDG_DATA_HOME", dataHome.c_str());
    HKEY unused = nullptr;
    EXPECT_EQ(open(HKEY_CLASSES_ROOT, scratchKey, &unused), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(fs::exists(dataHome)) << "reading must not create the folder";

    writeOneValue();
    const std::string file = dataHome + "/corvant/registry.reg";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_NE(fileText(file).find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\CorvantRegistryTest]\r\n\"v\"=\"x\"\r\n"),
              std::string::npos);
}

TEST_F(StoreLocation, UnderHomeWhenXdgDataHomeIsUnsetOrNotAbsolute) {
    const std::string home = sandbox_.folder() + "/home";
    EnvironmentVariable homeVariable("HOME", home.c_str());
    {
        EnvironmentVariable xdg("XDG_DATA_HOME", nullptr);
        writeOneValue();
        EXPECT_TRUE(fs::exists(home + "/.local/share/corvant/registry.reg"));
    }
    fs::remove_all(home);
    {
        EnvironmentVariable xdg("XDG_DATA_HOME", "relative/path");
        writeOneValue();
        EXPECT_TRUE(fs::exists(home + "/.local/share/corvant/registry.reg"));
        EXPECT_FALSE(fs::exists("relative"));
    }
}

TEST_F(StoreLocation, SettledOnceAsAnAbsolutePath) {
    EnvironmentVariable xdg("XDG_DATA_HOME", nullptr);
    const fs::path started = fs::current_path();
    fs::current_path(sandbox_.folder());
    EnvironmentVariable home("HOME", "relative home");
    writeOneValue();
    // Auto find moves to "/": the run keeps its store.
    fs::current_path("/");
    writeOneValue();
    fs::current_path(started);
    EXPECT_TRUE(fs::exists(sandbox_.folder() + "/relative home/.local/share/corvant/registry.reg"));
    EXPECT_FALSE(fs::exists("/relative home"));
}

using StoreAccess = StoreTest;

std::vector<std::string> entriesOf(const std::string &folder) {
    std::vector<std::string> names;
    for (const auto &entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Sets the process's file creation mask for one test and puts the old one back.
class CreationMask {
public:
    explicit CreationMask(mode_t mask) : old_(umask(mask)) {}
    ~CreationMask() { umask(old_); }
    CreationMask(const CreationMask &) = delete;
    CreationMask &operator=(const CreationMask &) = delete;

private:
    mode_t old_;
};

mode_t modeOf(const std::string &file) {
    struct stat info;
    return stat(file.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

TEST_F(StoreAccess, AStorePathThatIsALinkStaysOneAndTheFileItNamesGetsTheChange) {
    const std::string dotfiles = sandbox_.folder() + "/dotfiles";
    const std::string data = sandbox_.folder() + "/data";
    ASSERT_TRUE(fs::create_directories(dotfiles));
    ASSERT_TRUE(fs::create_directories(data));
    const std::string target = dotfiles + "/corvant.reg";
    writeFileText(target, "REGEDIT4\r\n\r\n[HKEY_CLASSES_ROOT\\CorvantRegistryTest]\r\n\"old\"=\"1\"\r\n\r\n");
    // A relative link to a relative link.
    fs::create_symlink("../dotfiles/corvant.reg", data + "/middle.reg");
    fs::create_symlink("middle.reg", data + "/registry.reg");
    setRegistryStorePath(data + "/registry.reg");

    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "new", REG_SZ, std::string("2\0", 2)), ERROR_SUCCESS);
    ASSERT_EQ(RegFlushKey(key), ERROR_SUCCESS);

    EXPECT_EQ(fs::read_symlink(data + "/registry.reg"), "middle.reg");
    EXPECT_EQ(fs::read_symlink(data + "/middle.reg"), "../dotfiles/corvant.reg");
    EXPECT_EQ(fileText(target),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\CorvantRegistryTest]\r\n\"old\"="
              "\"1\"\r\n\"new\"=\"2\"\r\n\r\n");
    // The lock is kept beside the file itself, so every link to it shares one lock.
    EXPECT_EQ(entriesOf(data), (std::vector<std::string>{"middle.reg", "registry.reg"}));
    EXPECT_EQ(entriesOf(dotfiles), (std::vector<std::string>{"corvant.reg", "corvant.reg.lock"}));
}

TEST_F(StoreAccess, ALinkToAFileNotThereYetGetsItOnTheFirstWrite) {
    const std::string target = sandbox_.folder() + "/elsewhere/corvant/registry.reg";
    fs::create_symlink(target, sandbox_.folder() + "/link.reg");
    setRegistryStorePath(sandbox_.folder() + "/link.reg");
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    EXPECT_TRUE(fs::is_symlink(sandbox_.folder() + "/link.reg"));
    EXPECT_NE(fileText(target).find("[HKEY_LOCAL_MACHINE\\Software\\Classes\\CorvantRegistryTest]"), std::string::npos);
}

TEST_F(StoreAccess, ALinkLoopIsAFailureReturn) {
    fs::create_symlink("b.reg", sandbox_.folder() + "/a.reg");
    fs::create_symlink("a.reg", sandbox_.folder() + "/b.reg");
    setRegistryStorePath(sandbox_.folder() + "/a.reg");
    HKEY unused = nullptr;
    EXPECT_NE(create(HKEY_CLASSES_ROOT, scratchKey, &unused), ERROR_SUCCESS);
    EXPECT_STRNE(registryStoreProblem(), "");
    EXPECT_EQ(fs::read_symlink(sandbox_.folder() + "/a.reg"), "b.reg");
    EXPECT_EQ(openRegistryHandleCount(), 0u);
}

TEST_F(StoreAccess, RewritingKeepsTheStoresPermissionsExactly) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(chmod(storeFile().c_str(), 0600), 0);
    {
        CreationMask permissive(0);
        ASSERT_EQ(setBytes(key, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
        EXPECT_EQ(modeOf(storeFile()), 0600u);
    }
    ASSERT_EQ(chmod(storeFile().c_str(), 0664), 0);
    {
        CreationMask strict(077);
        ASSERT_EQ(setBytes(key, "v", REG_SZ, std::string("y\0", 2)), ERROR_SUCCESS);
        EXPECT_EQ(modeOf(storeFile()), 0664u);
    }
}

TEST_F(StoreAccess, ANewStoreGetsThePermissionsNewFilesGet) {
    CreationMask mask(027);
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    EXPECT_EQ(modeOf(storeFile()), 0640u);
}

TEST_F(StoreAccess, RootWritingSomeoneElsesStoreLeavesItTheirs) {
    if (geteuid() != 0) GTEST_SKIP() << "needs root";
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(chown(storeFile().c_str(), 4321, 4322), 0);
    ASSERT_EQ(chmod(storeFile().c_str(), 0640), 0);
    ASSERT_EQ(setBytes(key, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    struct stat info;
    ASSERT_EQ(stat(storeFile().c_str(), &info), 0);
    EXPECT_EQ(info.st_uid, 4321u);
    EXPECT_EQ(info.st_gid, 4322u);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
}

// Read-only marks are honoured even for root, who could write regardless.
TEST_F(StoreAccess, AReadOnlyStoreIsAFailureReturnAndStaysAsItWas) {
    {
        KeyHandle key;
        ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
        ASSERT_EQ(setBytes(key, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    }
    const std::string before = fileText(storeFile());
    ASSERT_EQ(chmod(storeFile().c_str(), 0444), 0);

    KeyHandle key;
    EXPECT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS) << "opening needs no write";
    EXPECT_EQ(setBytes(key, "v", REG_SZ, std::string("y\0", 2)), ERROR_ACCESS_DENIED);
    HKEY unused = nullptr;
    EXPECT_EQ(create(key, "New", &unused), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, scratchKey), ERROR_ACCESS_DENIED);
    EXPECT_EQ(fileText(storeFile()), before);
    // Reading and flushing still work, and do not hide why the writes failed.
    EXPECT_EQ(readValue(scratchKey, "v"), stringValue("x"));
    EXPECT_EQ(RegFlushKey(key), ERROR_SUCCESS);
    EXPECT_NE(std::string(registryStoreProblem()).find(storeFile()), std::string::npos);

    chmod(storeFile().c_str(), 0644);
    EXPECT_EQ(setBytes(key, "v", REG_SZ, std::string("y\0", 2)), ERROR_SUCCESS);
    EXPECT_STREQ(registryStoreProblem(), "");
}

TEST_F(StoreAccess, AReadOnlyFolderIsAFailureReturn) {
    const std::string folder = sandbox_.folder() + "/locked";
    ASSERT_TRUE(fs::create_directory(folder));
    ASSERT_EQ(chmod(folder.c_str(), 0555), 0);
    setRegistryStorePath(folder + "/registry.reg");
    HKEY unused = nullptr;
    EXPECT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, &unused), ERROR_ACCESS_DENIED);
    EXPECT_NE(std::string(registryStoreProblem()).find(folder), std::string::npos);
    EXPECT_TRUE(fs::is_empty(folder));
    chmod(folder.c_str(), 0755);
}

TEST_F(StoreAccess, AFolderThatCannotBeMadeIsAFailureReturn) {
    writeFileText(sandbox_.folder() + "/plain file", "x");
    setRegistryStorePath(sandbox_.folder() + "/plain file/corvant/registry.reg");
    HKEY unused = nullptr;
    EXPECT_NE(create(HKEY_CLASSES_ROOT, scratchKey, &unused), ERROR_SUCCESS);
    EXPECT_STRNE(registryStoreProblem(), "");
    EXPECT_EQ(openRegistryHandleCount(), 0u);
}

TEST_F(StoreAccess, AStoreThatIsNotAFileCannotBeRead) {
    ASSERT_TRUE(fs::create_directory(storeFile()));
    HKEY unused = nullptr;
    EXPECT_EQ(open(HKEY_CLASSES_ROOT, scratchKey, &unused), ERROR_CANTREAD);
    EXPECT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, &unused), ERROR_CANTREAD);
    EXPECT_TRUE(fs::is_directory(storeFile()));
}

TEST_F(StoreAccess, AnUnreadableStoreIsAFailureReturn) {
    writeFileText(storeFile(), "REGEDIT4\r\n");
    ASSERT_EQ(chmod(storeFile().c_str(), 0), 0);
    // In a child without root's power to read any file, as a user would be.
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        dropPermissionBypass();
        HKEY unused = nullptr;
        _exit(open(HKEY_CLASSES_ROOT, scratchKey, &unused) == ERROR_ACCESS_DENIED ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    chmod(storeFile().c_str(), 0644);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
}

}  // namespace
}  // namespace corvant::testing
