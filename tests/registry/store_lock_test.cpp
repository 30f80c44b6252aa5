// A writer waits a bounded time for another process's lock on the store;
// a holder that never lets go (stopped in a terminal or a debugger) costs a
// failure that leaves the store as it was, not a hung program.
#include <fcntl.h>
#include <sys/file.h>

#include <cstring>

#include "assoc/apply.h"
#include "assoc/browser_settings.h"
#include "assoc/main_window.h"
#include "tests/registry/store_children.h"
#include "tests/registry/store_fixture.h"

namespace corvant::testing {
namespace {

class StoreLock : public StoreTest {
protected:
    void SetUp() override {
        StoreTest::SetUp();
        setRegistryLockWait(300);
    }
    void TearDown() override {
        setRegistryLockWait(0);
        StoreTest::TearDown();
    }

    // A child that takes the store's lock, then either stops itself, as a
    // program suspended in a terminal would, or lets go after holdFor.
    pid_t lockHolder(std::chrono::milliseconds holdFor = std::chrono::milliseconds::max()) {
        int ready[2];
        if (pipe(ready) != 0) return -1;
        const std::string lockFile = storeFile() + ".lock";
        pid_t pid = fork();
        if (pid == 0) {
            int fd = ::open(lockFile.c_str(), O_RDWR | O_CREAT, 0600);
            if (fd < 0 || flock(fd, LOCK_EX) != 0 || write(ready[1], "x", 1) != 1) _exit(1);
            if (holdFor != std::chrono::milliseconds::max()) {
                std::this_thread::sleep_for(holdFor);
                _exit(0);
            }
            raise(SIGSTOP);
            for (;;) pause();
        }
        close(ready[1]);
        char signal = 0;
        bool holding = read(ready[0], &signal, 1) == 1;
        close(ready[0]);
        return holding ? pid : -1;
    }
};

TEST_F(StoreLock, AWriterGivesUpOnAStoppedHolderAndLeavesTheStoreAsItWas) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    const std::string before = fileText(storeFile());

    pid_t holder = lockHolder();
    ASSERT_GT(holder, 0);
    KilledAtEnd killer(holder);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(setBytes(key, "v", REG_SZ, std::string("y\0", 2)), ERROR_LOCK_VIOLATION);
    // It did wait before giving up.
    EXPECT_GE(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(300));
    HKEY unused = nullptr;
    EXPECT_EQ(create(key, "New", &unused), ERROR_LOCK_VIOLATION);
    EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, scratchKey), ERROR_LOCK_VIOLATION);
    EXPECT_EQ(fileText(storeFile()), before);
    EXPECT_NE(std::string(registryStoreProblem()).find(storeFile() + ".lock"), std::string::npos);
    // Reading needs no lock.
    EXPECT_EQ(readValue(scratchKey, "v"), stringValue("x"));

    killer.killNow();
    EXPECT_EQ(setBytes(key, "v", REG_SZ, std::string("y\0", 2)), ERROR_SUCCESS);
    EXPECT_EQ(readValue(scratchKey, "v"), stringValue("y"));
    EXPECT_STREQ(registryStoreProblem(), "");
}

TEST_F(StoreLock, AWriterWaitsForAHolderThatLetsGoInTime) {
    setRegistryLockWait(30000);
    pid_t holder = lockHolder(std::chrono::milliseconds(200));
    ASSERT_GT(holder, 0);
    KilledAtEnd killer(holder);
    KeyHandle key;
    EXPECT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists(scratchKey));
}

TEST_F(StoreLock, TheApplyReportsTheRegistryErrorWhenTheStoreStaysLocked) {
    browserSettings = BrowserSettings{};
    browserSettings.registerHtmlFile = browserSettings.registerHttp = browserSettings.registerHttps =
        browserSettings.registerFtp = browserSettings.registerGopher = true;
    std::strcpy(browserSettings.browserPath, "/bin/sh");  // a file that exists
    mainDialogWindow = nullptr;

    pid_t holder = lockHolder();
    ASSERT_GT(holder, 0);
    KilledAtEnd killer(holder);
    clearShownMessageBoxes();
    EXPECT_FALSE(applyAssociations());
    const auto boxes = shownMessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Error opening/modifying registry.");
    EXPECT_EQ(boxes[0].title, "Corvant Error");
    EXPECT_FALSE(keyExists(".html"));
}

}  // namespace
}  // namespace corvant::testing
