// Several processes sharing one store file.
#include "tests/registry/store_children.h"
#include "tests/registry/store_fixture.h"

namespace corvant::testing {
namespace {

std::string valueName(int process, int index) { return "p" + std::to_string(process) + "-" + std::to_string(index); }

using SharedStore = StoreTest;

TEST_F(SharedStore, TwoProcessesWritingAtOnceLoseNoUpdate) {
    constexpr int perProcess = 300;
    {
        KeyHandle key;
        ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    }
    auto writer = [](int process) {
        return [process] {
            HKEY key = nullptr;
            if (RegCreateKeyExA(HKEY_CLASSES_ROOT, scratchKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
                ERROR_SUCCESS)
                return false;
            bool good = true;
            for (int i = 0; i < perProcess && good; ++i) {
                std::string data = std::to_string(i) + '\0';
                good = setBytes(key, valueName(process, i).c_str(), REG_SZ, data) == ERROR_SUCCESS;
                // Every tenth step also adds a key of its own.
                HKEY subkey = nullptr;
                if (good && i % 10 == 0) {
                    good = RegCreateKeyExA(key, valueName(process, i).c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                           &subkey, nullptr) == ERROR_SUCCESS;
                    if (good) RegCloseKey(subkey);
                }
            }
            RegCloseKey(key);
            return good;
        };
    };
    pid_t first = startChild(writer(1));
    pid_t second = startChild(writer(2));
    ASSERT_GT(first, 0);
    ASSERT_GT(second, 0);
    EXPECT_TRUE(childSucceeded(first, 120));
    EXPECT_TRUE(childSucceeded(second, 120));

    std::vector<std::string> names = valueNames(scratchKey);
    EXPECT_EQ(names.size(), 2u * perProcess);
    for (int process = 1; process <= 2; ++process) {
        for (int i = 0; i < perProcess; ++i)
            EXPECT_EQ(readValue(scratchKey, valueName(process, i)), stringValue(std::to_string(i)))
                << valueName(process, i);
    }
    EXPECT_EQ(subkeyNames(scratchKey).size(), 2u * perProcess / 10);
    // No temporary file is left behind.
    EXPECT_EQ(folderEntries(), (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(SharedStore, AnOpenHandleSeesWhatAnotherProcessWrote) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExA(key, "from child", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);

    pid_t child = startChild([] {
        HKEY other = nullptr;
        bool good =
            RegOpenKeyExA(HKEY_CLASSES_ROOT, scratchKey, 0, KEY_SET_VALUE, &other) == ERROR_SUCCESS &&
            setBytes(other, "from child", REG_SZ, std::string("hello\0", 6)) == ERROR_SUCCESS &&
            RegCreateKeyExA(other, "Child", 0, nullptr, 0, KEY_SET_VALUE, nullptr, &other, nullptr) == ERROR_SUCCESS;
        return good;
    });
    ASSERT_GT(child, 0);
    ASSERT_TRUE(childSucceeded(child, 60));

    BYTE data[16];
    size = sizeof data;
    ASSERT_EQ(RegQueryValueExA(key, "from child", nullptr, nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(std::string(reinterpret_cast<char *>(data), size), std::string("hello\0", 6));
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{"Child"});

    // And the other way round: a value written here lands beside the child's, not over them.
    ASSERT_EQ(setBytes(key, "from parent", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    rereadStore();
    EXPECT_EQ(valueNames(scratchKey), (std::vector<std::string>{"from child", "from parent"}));
}

TEST_F(SharedStore, AKeyDeletedByAnotherProcessIsSeenAsDeleted) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, path("Doomed").c_str(), key.out()), ERROR_SUCCESS);
    pid_t child =
        startChild([] { return RegDeleteTreeA(HKEY_CLASSES_ROOT, "CorvantRegistryTest\\Doomed") == ERROR_SUCCESS; });
    ASSERT_GT(child, 0);
    ASSERT_TRUE(childSucceeded(child, 60));
    EXPECT_EQ(setBytes(key, "v", REG_SZ, std::string("x\0", 2)), ERROR_KEY_DELETED);
    EXPECT_FALSE(keyExists(path("Doomed")));
}

}  // namespace
}  // namespace corvant::testing
