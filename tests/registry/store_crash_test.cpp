// Writers killed at random moments, saving or not: the store must still
// parse, keep every value whose write and flush succeeded, hold no more than
// one temporary file beside it, and let the next writer in at once.
#include <poll.h>
#include <sys/stat.h>

#include <random>
#include <set>

#include "tests/registry/store_children.h"
#include "tests/registry/store_fixture.h"

namespace corvant::testing {
namespace {

constexpr mode_t storeMode = 0640;

// Writes one value after another, each set, flushed and closed, and names
// each on the pipe once its flush has succeeded. Runs until killed.
[[noreturn]] void writeUntilKilled(int round, int acknowledgements) {
    for (int i = 0;; ++i) {
        const std::string name = "r" + std::to_string(round) + "-" + std::to_string(i);
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_CLASSES_ROOT, scratchKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            _exit(3);
        const std::string data = name + '\0';
        bool good = RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE *>(data.data()),
                                   static_cast<DWORD>(data.size())) == ERROR_SUCCESS &&
                    RegFlushKey(key) == ERROR_SUCCESS;
        RegCloseKey(key);
        if (!good) _exit(4);
        const std::string line = name + "\n";
        if (write(acknowledgements, line.data(), line.size()) != static_cast<ssize_t>(line.size())) _exit(5);
    }
}

// Reads acknowledged names until the writer's end closes, or until the
// first one when firstOnly; false when none came within the time.
bool readAcknowledged(int from, std::set<std::string> &names, std::string &partial, bool firstOnly) {
    const size_t before = names.size();
    for (;;) {
        pollfd ready{from, POLLIN, 0};
        // Generous, for a loaded machine: a writer that gets nothing done in this time is stuck.
        if (poll(&ready, 1, 20000) <= 0) return false;
        char buffer[4096];
        ssize_t n = read(from, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return !firstOnly;
        partial.append(buffer, static_cast<size_t>(n));
        for (size_t end; (end = partial.find('\n')) != std::string::npos; partial.erase(0, end + 1))
            names.insert(partial.substr(0, end));
        if (firstOnly && names.size() > before) return true;
    }
}

using StoreCrash = StoreTest;

TEST_F(StoreCrash, KilledWritersLoseNothingAcknowledgedAndLeaveAtMostOneTemporaryFile) {
    {
        KeyHandle key;
        ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    }
    ASSERT_EQ(chmod(storeFile().c_str(), storeMode), 0);
    const std::set<std::string> allowed = {"registry.reg", "registry.reg.lock", "registry.reg.tmp"};
    std::mt19937 random(424242);
    std::set<std::string> acknowledged;
    int kills = 0, killsLeavingTemporary = 0;

    // At least 100 kills, and more until one has struck in the middle of a save.
    for (int round = 0; kills < 100 || (killsLeavingTemporary == 0 && kills < 400); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        int channel[2];
        ASSERT_EQ(pipe(channel), 0);
        pid_t writer = fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            close(channel[0]);
            writeUntilKilled(round, channel[1]);
        }
        KilledAtEnd killer(writer);
        close(channel[1]);
        std::string partial;
        // The writer after a killed one gets in without waiting and without failing.
        const bool started = readAcknowledged(channel[0], acknowledged, partial, true);
        if (started) std::this_thread::sleep_for(std::chrono::microseconds(random() % 12000));
        killer.killNow();
        ++kills;
        readAcknowledged(channel[0], acknowledged, partial, false);
        close(channel[0]);
        ASSERT_TRUE(started) << "the writer did not get a value written";

        rereadStore();
        std::vector<std::string> listed = valueNames(scratchKey);
        ASSERT_STREQ(registryStoreProblem(), "");
        const std::set<std::string> stored(listed.begin(), listed.end());
        for (const std::string &name : acknowledged) ASSERT_TRUE(stored.count(name)) << name << " was lost";

        for (const std::string &entry : folderEntries()) ASSERT_TRUE(allowed.count(entry)) << entry;
        struct stat info;
        ASSERT_EQ(stat(storeFile().c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 07777, storeMode);
        if (stat((storeFile() + ".tmp").c_str(), &info) == 0) {
            ++killsLeavingTemporary;
            EXPECT_EQ(info.st_mode & 07777 & ~storeMode, 0u) << "temporary file wider than the store";
        }
    }
    RecordProperty("killsLeavingTemporary", killsLeavingTemporary);
    EXPECT_GE(kills, 100);
    EXPECT_GT(killsLeavingTemporary, 0) << "no kill struck while a store was being saved";
    EXPECT_GT(acknowledged.size(), 100u);
}

}  // namespace
}  // namespace corvant::testing
