// A store file that does not parse is refused, explained and left untouched.
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/portable/registry/store_file.h"
#include "tests/registry/store_fixture.h"

namespace corvant::testing {
namespace {

struct CorruptStore {
    const char *fault;
    std::string text;
    unsigned line;  // where the reason should point
};

const std::string header = "REGEDIT4\r\n\r\n";
const std::string keyLine = "[HKEY_CLASSES_ROOT\\http]\r\n";

const std::vector<CorruptStore> corruptStores = {
    {"empty file", "", 1},
    {"wrong header", "REGEDIT5\r\n\r\n" + keyLine, 1},
    {"version 5 header", "Windows Registry Editor Version 5.00\r\n\r\n" + keyLine, 1},
    {"header not first", "\r\nREGEDIT4\r\n" + keyLine, 1},
    {"unterminated string", header + keyLine + "\"a\"=\"abc\r\n", 4},
    {"unterminated value name", header + keyLine + "\"abc=\"x\"\r\n", 4},
    {"bad escape", header + keyLine + "\"a\"=\"a\\qb\"\r\n", 4},
    {"bad hex digit", header + keyLine + "\"a\"=hex:01,0g\r\n", 4},
    {"single hex digit", header + keyLine + "\"a\"=hex:1,02\r\n", 4},
    {"bad hex type", header + keyLine + "\"a\"=hex(zz):00\r\n", 4},
    {"bad dword", header + keyLine + "\"a\"=dword:123456789\r\n", 4},
    {"dword without digits", header + keyLine + "\"a\"=dword:\r\n", 4},
    {"unclosed key line", header + "[HKEY_CLASSES_ROOT\\http\r\n@=\"x\"\r\n", 3},
    {"text after key line", header + "[HKEY_CLASSES_ROOT\\http] x\r\n", 3},
    {"value before the first key", header + "@=\"x\"\r\n" + keyLine, 3},
    {"unknown root", header + "[HKEY_USERS\\.DEFAULT]\r\n", 3},
    {"key deletion", header + "[-HKEY_CLASSES_ROOT\\http]\r\n", 3},
    {"empty key name", header + "[HKEY_CLASSES_ROOT\\http\\\\shell]\r\n", 3},
    {"key name too long", header + "[HKEY_CLASSES_ROOT\\" + std::string(256, 'k') + "]\r\n", 3},
    {"keys nested too deeply",
     header + "[HKEY_CLASSES_ROOT" +
         [] {
             std::string levels;
             for (int i = 0; i < 513; ++i) levels += "\\k";
             return levels;
         }() +
         "]\r\n",
     3},
    {"truncated continuation", header + keyLine + "\"a\"=hex:01,02,\\\r\n", 4},
    {"continuation into a key line", header + keyLine + "\"a\"=hex:01,\\\r\n" + keyLine, 5},
    {"continuation into a blank line", header + keyLine + "\"a\"=hex:01,\\\r\n\r\n  02\r\n", 5},
    {"missing equals sign", header + keyLine + "\"a\" \"b\"\r\n", 4},
    {"unknown data kind", header + keyLine + "\"a\"=str:\"x\"\r\n", 4},
    {"text after string", header + keyLine + "\"a\"=\"b\" c\r\n", 4},
    {"value deletion", header + keyLine + "\"a\"=-\r\n", 4},
    {"stray text", header + keyLine + "hello\r\n", 4},
    {"zero byte", header + keyLine + std::string("\"a\"=\"x\0y\"\r\n", 11), 4},
};

using CorruptStoreFile = StoreTest;

TEST_F(CorruptStoreFile, EachKindIsRefusedWithFileAndLineAndLeftByteIdentical) {
    for (const CorruptStore &corrupt : corruptStores) {
        SCOPED_TRACE(corrupt.fault);
        writeFileText(storeFile(), corrupt.text);
        rereadStore();

        HKEY unused = nullptr;
        EXPECT_EQ(create(HKEY_CLASSES_ROOT, "http", &unused), ERROR_BADDB);
        EXPECT_EQ(create(HKEY_CLASSES_ROOT, "brand new", &unused), ERROR_BADDB);
        EXPECT_EQ(open(HKEY_CLASSES_ROOT, "http", &unused), ERROR_BADDB);
        EXPECT_EQ(setBytes(HKEY_CLASSES_ROOT, "v", REG_SZ, std::string("x\0", 2)), ERROR_BADDB);
        EXPECT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "http"), ERROR_BADDB);
        EXPECT_EQ(RegFlushKey(HKEY_CLASSES_ROOT), ERROR_BADDB);

        const std::string expectedPlace = storeFile() + ":" + std::to_string(corrupt.line) + ": ";
        std::string problem = registryStoreProblem();
        EXPECT_EQ(problem.rfind(expectedPlace, 0), 0u) << problem;
        EXPECT_GT(problem.size(), expectedPlace.size());

        EXPECT_EQ(fileText(storeFile()), corrupt.text);
        EXPECT_EQ(folderEntries(), std::vector<std::string>{"registry.reg"});
        EXPECT_EQ(openRegistryHandleCount(), 0u);
    }
}

TEST_F(CorruptStoreFile, AStoreLargerThanTheLimitIsRefusedUnreadAndUntouched) {
    // A file with a hole reads as zero bytes without taking the disk's room.
    for (unsigned long long size : {registry::largestStore + 1, 2ull << 30}) {
        writeFileText(storeFile(), header + keyLine);
        ASSERT_EQ(truncate(storeFile().c_str(), static_cast<off_t>(size)), 0);
        rereadStore();
        rusage before{}, after{};
        getrusage(RUSAGE_SELF, &before);
        HKEY unused = nullptr;
        EXPECT_EQ(open(HKEY_CLASSES_ROOT, "http", &unused), ERROR_BADDB);
        EXPECT_EQ(create(HKEY_CLASSES_ROOT, "brand new", &unused), ERROR_BADDB);
        getrusage(RUSAGE_SELF, &after);
        EXPECT_LT(after.ru_maxrss - before.ru_maxrss, 64 * 1024) << "kilobytes taken: it was read";
        EXPECT_NE(std::string(registryStoreProblem()).find(storeFile() + ": larger than the 256 MiB"),
                  std::string::npos)
            << registryStoreProblem();
        struct stat info {};
        ASSERT_EQ(stat(storeFile().c_str(), &info), 0);
        EXPECT_EQ(static_cast<unsigned long long>(info.st_size), size);
        EXPECT_EQ(folderEntries(), std::vector<std::string>{"registry.reg"});
    }
}

TEST_F(CorruptStoreFile, AnOpenHandleCannotWriteIntoAStoreThatWentBad) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, "http", key.out()), ERROR_SUCCESS);
    const std::string broken = header + keyLine + "\"a\"=\"unterminated\r\n";
    writeFileText(storeFile(), broken);
    EXPECT_EQ(setBytes(key, "v", REG_SZ, std::string("x\0", 2)), ERROR_BADDB);
    EXPECT_EQ(fileText(storeFile()), broken);
}

TEST_F(CorruptStoreFile, ARepairedFileIsUsedAgainAndTheProblemCleared) {
    writeFileText(storeFile(), header + keyLine + "\"a\"=hex:zz\r\n");
    HKEY key = nullptr;
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, "http", &key), ERROR_BADDB);
    EXPECT_STRNE(registryStoreProblem(), "");

    writeFileText(storeFile(), header + keyLine + "\"a\"=hex:01\r\n");
    rereadStore();
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, "http", &key), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_STREQ(registryStoreProblem(), "");
    EXPECT_EQ(readValue("http", "a"), (RegistryValue{REG_BINARY, "\x01"}));
}

}  // namespace
}  // namespace corvant::testing
