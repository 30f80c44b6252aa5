// The registry calls' behaviour, run natively against the store and cross-built
// against Wine's registry, so both must answer the same way.
#include <algorithm>
#include <cstring>

#include "tests/registry/registry_test_key.h"

namespace corvant::testing {
namespace {

using KeysAndHandles = RegistryTest;
using Values = RegistryTest;
using Enumeration = RegistryTest;
using AccessRights = RegistryTest;
using Deletion = RegistryTest;
using CurrentUser = RegistryTest;

TEST_F(KeysAndHandles, CreateReportsNewThenExistingAndEveryOpenIsADistinctHandle) {
    KeyHandle first, second, third;
    DWORD disposition = 0;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, first.out(), KEY_ALL_ACCESS, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, second.out(), KEY_ALL_ACCESS, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, scratchKey, third.out()), ERROR_SUCCESS);
    EXPECT_NE(first.key, second.key);
    EXPECT_NE(first.key, third.key);
    EXPECT_NE(second.key, third.key);

    // A null or empty subkey gives another handle to the same key.
    KeyHandle sameByNull, sameByEmpty, createdByNull;
    ASSERT_EQ(open(first, nullptr, sameByNull.out()), ERROR_SUCCESS);
    ASSERT_EQ(open(first, "", sameByEmpty.out()), ERROR_SUCCESS);
    ASSERT_EQ(create(first, nullptr, createdByNull.out()), ERROR_SUCCESS);
    EXPECT_NE(sameByNull.key, first.key);
    EXPECT_NE(sameByEmpty.key, sameByNull.key);
    ASSERT_EQ(setBytes(sameByNull, "via null", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(createdByNull, "via create", REG_SZ, std::string("y\0", 2)), ERROR_SUCCESS);
    EXPECT_EQ(readValue(scratchKey, "via null"), stringValue("x"));
    EXPECT_EQ(readValue(scratchKey, "via create"), stringValue("y"));
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{});
}

TEST_F(KeysAndHandles, NamesIgnoreCaseAndKeepTheirFirstSpelling) {
    KeyHandle key, again;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, path("Mixed\\Shell").c_str(), key.out()), ERROR_SUCCESS);
    DWORD disposition = 0;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, "CORVANTREGISTRYTEST\\mixed\\SHELL", again.out(), KEY_ALL_ACCESS, &disposition),
              ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{"Mixed"});
    EXPECT_EQ(subkeyNames(path("mixed")), std::vector<std::string>{"Shell"});

    ASSERT_EQ(setBytes(key, "Content Type", REG_SZ, std::string("a\0", 2)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(again, "CONTENT TYPE", REG_SZ, std::string("b\0", 2)), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(path("Mixed\\Shell")), std::vector<std::string>{"Content Type"});
    EXPECT_EQ(readValue(path("MIXED\\shell"), "content type"), stringValue("b"));
}

TEST_F(KeysAndHandles, SubkeyPathsSplitAtBackslashes) {
    KeyHandle base, deep, trailing, doubled, opened;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, base.out()), ERROR_SUCCESS);
    ASSERT_EQ(create(base, "A\\B\\C", deep.out()), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists(path("A")));
    EXPECT_TRUE(keyExists(path("A\\B")));
    EXPECT_TRUE(keyExists(path("a\\b\\c")));
    ASSERT_EQ(create(base, "Trailing\\", trailing.out()), ERROR_SUCCESS);
    EXPECT_EQ(subkeyNames(path("")), (std::vector<std::string>{"A", "Trailing"}));
    // Empty names between separators are skipped.
    ASSERT_EQ(create(base, "D\\\\E", doubled.out()), ERROR_SUCCESS);
    EXPECT_EQ(subkeyNames(path("D")), std::vector<std::string>{"E"});

    // A leading backslash: refused for creation, and for opening below anything but the hive.
    HKEY unused = nullptr;
    EXPECT_EQ(create(base, "\\Lead", &unused), ERROR_BAD_PATHNAME);
    EXPECT_EQ(create(HKEY_CLASSES_ROOT, "\\CorvantRegistryTest", &unused), ERROR_BAD_PATHNAME);
    EXPECT_EQ(open(base, "\\A", &unused), ERROR_BAD_PATHNAME);
    EXPECT_FALSE(keyExists(path("Lead")));
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, "\\CorvantRegistryTest\\A\\B", opened.out()), ERROR_SUCCESS);
}

TEST_F(KeysAndHandles, MissingKeysAreNotFoundAndNotCreatedByOpening) {
    KeyHandle base;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, base.out()), ERROR_SUCCESS);
    HKEY unused = nullptr;
    EXPECT_EQ(open(base, "Nope", &unused), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open(base, "Nope\\Deeper", &unused), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{});
}

TEST_F(KeysAndHandles, AFailedOpenOrCreateLeavesNoHandle) {
    KeyHandle base;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, base.out()), ERROR_SUCCESS);
    HKEY closed = nullptr;
    ASSERT_EQ(open(base, nullptr, &closed), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(closed), ERROR_SUCCESS);

    HKEY result = base;
    EXPECT_EQ(open(base, "Missing", &result), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(result, nullptr);
    result = base;
    EXPECT_EQ(create(base, "\\Lead", &result), ERROR_BAD_PATHNAME);
    EXPECT_EQ(result, nullptr);
    result = base;
    EXPECT_EQ(create(base, std::string(257, 'k').c_str(), &result), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(result, nullptr);
    result = base;
    EXPECT_EQ(open(closed, "x", &result), ERROR_INVALID_HANDLE);
    EXPECT_EQ(result, nullptr);
    result = base;
    EXPECT_EQ(create(closed, "x", &result), ERROR_INVALID_HANDLE);
    EXPECT_EQ(result, nullptr);
    // Without a key to start from, the result is not touched.
    result = base;
    EXPECT_EQ(open(nullptr, "x", &result), ERROR_INVALID_HANDLE);
    EXPECT_EQ(result, base.key);
}

TEST_F(KeysAndHandles, OpeningAPredefinedKeyItselfGivesThatKeyBack) {
    HKEY result = nullptr;
    EXPECT_EQ(open(HKEY_CLASSES_ROOT, nullptr, &result, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(result, HKEY_CLASSES_ROOT);
    result = nullptr;
    EXPECT_EQ(open(HKEY_CLASSES_ROOT, "", &result, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(result, HKEY_CLASSES_ROOT);
    result = nullptr;
    EXPECT_EQ(open(HKEY_CURRENT_USER, "", &result, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(result, HKEY_CURRENT_USER);
    // A lone backslash names the same key through a handle of its own.
    KeyHandle own;
    EXPECT_EQ(open(HKEY_CLASSES_ROOT, "\\", own.out(), KEY_READ), ERROR_SUCCESS);
    EXPECT_NE(own.key, HKEY_CLASSES_ROOT);
    EXPECT_NE(own.key, nullptr);
}

TEST_F(KeysAndHandles, APredefinedKeyIsKnownByItsLower32BitsAlone) {
    if (sizeof(HKEY) < 8) GTEST_SKIP() << "64-bit handles only";
    const std::uint64_t classesRoot = reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) & 0xffffffffu;
    const std::uint64_t currentUser = reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER) & 0xffffffffu;
    HKEY zeroExtended = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(classesRoot));
    HKEY otherUpperHalf = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(classesRoot | 0xdeadbeef00000000u));

    KeyHandle created, opened, user, userAgain;
    ASSERT_EQ(create(zeroExtended, scratchKey, created.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(created, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    ASSERT_EQ(open(otherUpperHalf, scratchKey, opened.out(), KEY_READ), ERROR_SUCCESS);
    BYTE data[4];
    DWORD size = sizeof data;
    EXPECT_EQ(RegQueryValueExA(opened, "v", nullptr, nullptr, data, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    ASSERT_EQ(create(HKEY_CURRENT_USER, userScratchKey, user.out()), ERROR_SUCCESS);
    EXPECT_EQ(open(reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(currentUser | 0x100000000u)), userScratchKey,
                   userAgain.out(), KEY_READ),
              ERROR_SUCCESS);
}

TEST_F(KeysAndHandles, KeyNamesUpTo255AndValueNamesUpTo16383Characters) {
    KeyHandle base, longest;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, base.out()), ERROR_SUCCESS);
    std::string name255(255, 'k');
    ASSERT_EQ(create(base, name255.c_str(), longest.out()), ERROR_SUCCESS);
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{name255});
    HKEY unused = nullptr;
    EXPECT_EQ(create(base, std::string(257, 'k').c_str(), &unused), ERROR_INVALID_PARAMETER);

    std::string value16383(16383, 'v');
    EXPECT_EQ(setBytes(base, value16383.c_str(), REG_SZ, std::string("1\0", 2)), ERROR_SUCCESS);
    EXPECT_EQ(setBytes(base, std::string(16384, 'v').c_str(), REG_SZ, std::string("2\0", 2)), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(valueNames(scratchKey), std::vector<std::string>{value16383});
}

TEST_F(KeysAndHandles, ClosedUnknownAndNullHandlesAreInvalid) {
    HKEY key = nullptr;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, &key), ERROR_SUCCESS);
    ASSERT_EQ(RegCloseKey(key), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
    EXPECT_EQ(setBytes(key, "v", REG_SZ, std::string("x\0", 2)), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegFlushKey(key), ERROR_INVALID_HANDLE);
    HKEY unused = nullptr;
    EXPECT_EQ(open(key, "x", &unused), ERROR_INVALID_HANDLE);
    EXPECT_EQ(create(key, "x", &unused), ERROR_INVALID_HANDLE);
    char name[32];
    DWORD length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegDeleteTreeA(key, nullptr), ERROR_INVALID_HANDLE);
    EXPECT_EQ(RegCloseKey(nullptr), ERROR_INVALID_HANDLE);
    // The hive itself is never really closed.
    EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists(scratchKey));
}

TEST_F(Values, KeepTypeAndExactBytes) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    DWORD two = 2;
    ASSERT_EQ(RegSetValueExA(key, "", 0, REG_SZ, reinterpret_cast<const BYTE *>("Description"), 12), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "EditFlags", 0, REG_DWORD, reinterpret_cast<const BYTE *>(&two), 4), ERROR_SUCCESS);
    ASSERT_EQ(RegSetValueExA(key, "URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE *>(""), 1), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "binary", REG_BINARY, std::string("\0\x01\xff\0", 4)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "empty binary", REG_BINARY, ""), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "empty string", REG_SZ, ""), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "odd type", 0x12345, "ab"), ERROR_SUCCESS);

    EXPECT_EQ(readValue(scratchKey, ""), stringValue("Description"));
    EXPECT_EQ(readValue(scratchKey, "EditFlags"), (RegistryValue{REG_DWORD, std::string("\x02\0\0\0", 4)}));
    EXPECT_EQ(readValue(scratchKey, "URL Protocol"), (RegistryValue{REG_SZ, std::string(1, '\0')}));
    EXPECT_EQ(readValue(scratchKey, "binary"), (RegistryValue{REG_BINARY, std::string("\0\x01\xff\0", 4)}));
    EXPECT_EQ(readValue(scratchKey, "empty binary"), (RegistryValue{REG_BINARY, ""}));
    EXPECT_EQ(readValue(scratchKey, "empty string"), (RegistryValue{REG_SZ, ""}));
    EXPECT_EQ(readValue(scratchKey, "odd type"), (RegistryValue{0x12345, "ab"}));

    // Overwriting changes type and data in place.
    ASSERT_EQ(setBytes(key, "binary", REG_SZ, std::string("now text\0", 9)), ERROR_SUCCESS);
    EXPECT_EQ(readValue(scratchKey, "binary"), stringValue("now text"));
    // A null name is the default value.
    ASSERT_EQ(setBytes(key, nullptr, REG_SZ, std::string("default\0", 8)), ERROR_SUCCESS);
    EXPECT_EQ(readValue(scratchKey, ""), stringValue("default"));
}

TEST_F(Values, QueryAnswersTheNeededSize) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "v", REG_SZ, std::string("abcdef\0", 7)), ERROR_SUCCESS);

    DWORD type = 0, size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, &type, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(size, 7u);

    BYTE small[3] = {'x', 'x', 'x'};
    size = sizeof small;
    type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, &type, small, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));

    BYTE exact[7];
    size = sizeof exact;
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, exact, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 7u);
    EXPECT_EQ(std::memcmp(exact, "abcdef", 7), 0);

    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(RegQueryValueExA(key, "v", nullptr, nullptr, exact, nullptr), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegQueryValueExA(key, nullptr, nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
}

TEST_F(Values, AStringWhoseLengthLeavesOutTheZeroAfterItGetsTheZeroCounted) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    const char text[] = "abc";  // the zero follows the three characters given
    ASSERT_EQ(RegSetValueExA(key, "short", 0, REG_SZ, reinterpret_cast<const BYTE *>(text), 3), ERROR_SUCCESS);
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(key, "short", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 4u);
    BYTE exact[3];
    size = sizeof exact;
    EXPECT_EQ(RegQueryValueExA(key, "short", nullptr, nullptr, exact, &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 4u);
    EXPECT_EQ(readValue(scratchKey, "short"), stringValue("abc"));

    ASSERT_EQ(RegSetValueExA(key, "expand", 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE *>(text), 3), ERROR_SUCCESS);
    EXPECT_EQ(readValue(scratchKey, "expand"), (RegistryValue{REG_EXPAND_SZ, std::string("abc\0", 4)}));
    // Only strings: other data is taken as long as given.
    ASSERT_EQ(RegSetValueExA(key, "binary", 0, REG_BINARY, reinterpret_cast<const BYTE *>(text), 3), ERROR_SUCCESS);
    EXPECT_EQ(readValue(scratchKey, "binary"), (RegistryValue{REG_BINARY, "abc"}));
}

TEST_F(Values, AMissingValueHasSizeZeroWhenOnlyTheSizeIsAskedFor) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    DWORD size = 1234;
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, 0u);
    BYTE buffer[8];
    size = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "missing", nullptr, nullptr, buffer, &size), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(size, sizeof buffer);
}

TEST_F(Values, OneVariableForTypeAndSizeEndsWithTheSize) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "bin", REG_BINARY, "\x01\x02\x03\x04"), ERROR_SUCCESS);
    BYTE buffer[4] = {};
    DWORD both = sizeof buffer;
    EXPECT_EQ(RegQueryValueExA(key, "bin", nullptr, &both, buffer, &both), ERROR_SUCCESS);
    EXPECT_EQ(both, 4u);
    EXPECT_EQ(std::memcmp(buffer, "\x01\x02\x03\x04", 4), 0);
    both = 0;
    EXPECT_EQ(RegQueryValueExA(key, "bin", nullptr, &both, nullptr, &both), ERROR_SUCCESS);
    EXPECT_EQ(both, 4u);
}

TEST_F(Values, StringWithoutTerminatorIsStoredAsGivenAndEndedInALargerBuffer) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    // The byte after the given length is not zero, so nothing more is taken.
    ASSERT_EQ(RegSetValueExA(key, "bare", 0, REG_SZ, reinterpret_cast<const BYTE *>("abcd"), 3), ERROR_SUCCESS);
    BYTE buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    DWORD size = sizeof buffer;
    ASSERT_EQ(RegQueryValueExA(key, "bare", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::memcmp(buffer, "abc\0", 4), 0);
    std::memset(buffer, 'x', sizeof buffer);
    size = 3;
    ASSERT_EQ(RegQueryValueExA(key, "bare", nullptr, nullptr, buffer, &size), ERROR_SUCCESS);
    EXPECT_EQ(buffer[3], 'x');
}

TEST_F(Values, ManyValuesInOneKeyAreFoundByNameInAnyCase) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    std::vector<std::string> names;
    for (int i = 0; i < 30; ++i) {
        names.push_back("value" + std::to_string(10 + i));
        ASSERT_EQ(setBytes(key, names.back().c_str(), REG_SZ, std::to_string(i) + '\0'), ERROR_SUCCESS);
    }
    ASSERT_EQ(setBytes(key, "VALUE25", REG_DWORD, std::string("\x05\0\0\0", 4)), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(scratchKey), names);
    EXPECT_EQ(readValue(scratchKey, "value25"), dwordValue(5));
    EXPECT_EQ(readValue(scratchKey, "Value39"), stringValue("29"));
    EXPECT_EQ(readValue(scratchKey, "value40"), std::nullopt);

    // Emptied and filled again, the key forgets the old names.
    ASSERT_EQ(RegDeleteTreeA(key, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(readValue(scratchKey, "value10"), std::nullopt);
    ASSERT_EQ(setBytes(key, "Value12", REG_SZ, std::string("again\0", 6)), ERROR_SUCCESS);
    EXPECT_EQ(valueNames(scratchKey), std::vector<std::string>{"Value12"});
    EXPECT_EQ(readValue(scratchKey, "VALUE12"), stringValue("again"));
}

TEST_F(Values, NullDataWithALengthIsRefused) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, nullptr, 4), ERROR_NOACCESS);
    EXPECT_EQ(readValue(scratchKey, "v"), std::nullopt);
    EXPECT_EQ(RegSetValueExA(key, "v", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
    EXPECT_EQ(readValue(scratchKey, "v"), (RegistryValue{REG_BINARY, ""}));
}

TEST_F(Enumeration, SubkeysComeInCaseFoldedOrderThenNoMoreItems) {
    for (const char *name : {"b", "_x", "a1", "A_", "Ab", "[", "~"}) {
        KeyHandle key;
        ASSERT_EQ(create(HKEY_CLASSES_ROOT, path(name).c_str(), key.out()), ERROR_SUCCESS);
    }
    EXPECT_EQ(subkeyNames(scratchKey), (std::vector<std::string>{"[", "_x", "a1", "A_", "Ab", "b", "~"}));

    KeyHandle key;
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, scratchKey, key.out(), KEY_READ), ERROR_SUCCESS);
    char name[8];
    DWORD length = 2;  // "_x" needs 3 with its terminator
    EXPECT_EQ(RegEnumKeyExA(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(length, 2u);
    length = 3;
    ASSERT_EQ(RegEnumKeyExA(key, 1, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_SUCCESS);
    EXPECT_EQ(length, 2u);
    EXPECT_STREQ(name, "_x");
    length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(key, 7, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
}

TEST_F(Enumeration, ValuesReportNameAndDataSizes) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "LongName", REG_SZ, std::string("abcdef\0", 7)), ERROR_SUCCESS);

    char name[16];
    BYTE data[16];
    auto scribble = [&] {
        std::memset(name, 'x', sizeof name);
        std::memset(data, 'x', sizeof data);
    };
    // A name too long for its buffer: as much of it as fits, ended; the data
    // that fits comes as well, and so do its type and size.
    scribble();
    DWORD nameLength = 8, dataSize = sizeof data, type = 0;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
    EXPECT_EQ(nameLength, 8u);
    EXPECT_STREQ(name, "LongNam");
    EXPECT_EQ(std::memcmp(data, "abcdef\0", 7), 0);
    EXPECT_EQ(dataSize, 7u);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    // No room at all leaves the name's buffer alone.
    scribble();
    nameLength = 0;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);
    EXPECT_EQ(nameLength, 0u);
    EXPECT_EQ(name[0], 'x');

    // Data too long for its buffer: neither it nor the name is written, but the size comes back.
    scribble();
    nameLength = sizeof name;
    dataSize = 2;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
    EXPECT_EQ(dataSize, 7u);
    EXPECT_EQ(nameLength, sizeof name);
    EXPECT_EQ(name[0], 'x');
    EXPECT_EQ(data[0], 'x');
    scribble();
    nameLength = 3;
    dataSize = 2;
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data, &dataSize), ERROR_MORE_DATA);
    EXPECT_EQ(name[0], 'x');

    nameLength = 9;
    dataSize = 7;
    type = 0;
    ASSERT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, &type, data, &dataSize), ERROR_SUCCESS);
    EXPECT_EQ(nameLength, 8u);
    EXPECT_STREQ(name, "LongName");
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(dataSize, 7u);
    EXPECT_EQ(std::memcmp(data, "abcdef", 7), 0);

    nameLength = sizeof name;
    EXPECT_EQ(RegEnumValueA(key, 1, name, &nameLength, nullptr, nullptr, nullptr, nullptr), ERROR_NO_MORE_ITEMS);
    EXPECT_EQ(RegEnumValueA(key, 0, name, &nameLength, nullptr, nullptr, data, nullptr), ERROR_INVALID_PARAMETER);
}

TEST_F(AccessRights, EachCallNeedsItsOwnRightButCreatingBelowNeedsNone) {
    KeyHandle setOnly, queryOnly, child, grandchild;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, setOnly.out(), KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(setOnly, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    // The program creates every nested key below a handle with KEY_SET_VALUE only.
    ASSERT_EQ(create(setOnly, "shell", child.out(), KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(create(child, "open", grandchild.out(), KEY_SET_VALUE), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists(path("shell\\open")));

    DWORD size = 0;
    EXPECT_EQ(RegQueryValueExA(setOnly, "v", nullptr, nullptr, nullptr, &size), ERROR_ACCESS_DENIED);
    char name[16];
    DWORD length = sizeof name;
    EXPECT_EQ(RegEnumValueA(setOnly, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(setOnly, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);

    ASSERT_EQ(open(HKEY_CLASSES_ROOT, scratchKey, queryOnly.out(), KEY_QUERY_VALUE), ERROR_SUCCESS);
    EXPECT_EQ(setBytes(queryOnly, "v", REG_SZ, std::string("y\0", 2)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegQueryValueExA(queryOnly, "v", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    length = sizeof name;
    EXPECT_EQ(RegEnumKeyExA(queryOnly, 0, name, &length, nullptr, nullptr, nullptr, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_EQ(readValue(scratchKey, "v"), stringValue("x"));
    EXPECT_EQ(RegFlushKey(setOnly), ERROR_SUCCESS);
    EXPECT_EQ(RegFlushKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);
}

TEST_F(Deletion, DeletesASubtreeAndHandlesIntoItSeeTheKeyDeleted) {
    KeyHandle base, doomed;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, base.out()), ERROR_SUCCESS);
    ASSERT_EQ(create(base, "Doomed\\Child", doomed.out()), ERROR_SUCCESS);
    KeyHandle keep;
    ASSERT_EQ(create(base, "Keep", keep.out()), ERROR_SUCCESS);

    EXPECT_EQ(RegDeleteTreeA(base, "doomed"), ERROR_SUCCESS);
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{"Keep"});
    EXPECT_EQ(RegDeleteTreeA(base, "Doomed"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(setBytes(doomed, "v", REG_SZ, std::string("x\0", 2)), ERROR_KEY_DELETED);
    EXPECT_EQ(RegQueryValueExA(doomed, "v", nullptr, nullptr, nullptr, nullptr), ERROR_KEY_DELETED);
    HKEY unused = nullptr;
    EXPECT_EQ(create(doomed, "again", &unused), ERROR_KEY_DELETED);
    EXPECT_EQ(RegCloseKey(doomed.key), ERROR_SUCCESS);
    doomed.key = nullptr;
}

TEST_F(Deletion, WithoutASubkeyOnlyTheContentsGo) {
    KeyHandle base, child;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, base.out()), ERROR_SUCCESS);
    ASSERT_EQ(create(base, "Child\\Grandchild", child.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(base, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);

    KeyHandle setOnly;
    ASSERT_EQ(open(HKEY_CLASSES_ROOT, scratchKey, setOnly.out(), KEY_SET_VALUE), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteTreeA(setOnly, nullptr), ERROR_ACCESS_DENIED);
    EXPECT_TRUE(keyExists(path("Child")));

    EXPECT_EQ(RegDeleteTreeA(base, nullptr), ERROR_SUCCESS);
    EXPECT_TRUE(keyExists(scratchKey));
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{});
    EXPECT_EQ(valueNames(scratchKey), std::vector<std::string>{});
}

TEST_F(CurrentUser, KeysAndValuesBelowItWorkAsBelowClassesRootAndStayApart) {
    KeyHandle key, choice;
    DWORD disposition = 0;
    ASSERT_EQ(create(HKEY_CURRENT_USER, userScratchKey, key.out(), KEY_ALL_ACCESS, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
    ASSERT_EQ(create(key, "http\\UserChoice", choice.out(), KEY_SET_VALUE), ERROR_SUCCESS);
    // Created in name order: Wine lists values by name, Windows and the store in creation order.
    ASSERT_EQ(setBytes(choice, "Hash", REG_BINARY, std::string("\x01\x02", 2)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(choice, "ProgId", REG_SZ, std::string("OtherBrowserURL\0", 16)), ERROR_SUCCESS);

    EXPECT_EQ(readValue(HKEY_CURRENT_USER, userPath("HTTP\\userchoice"), "progid"), stringValue("OtherBrowserURL"));
    EXPECT_EQ(valueNames(HKEY_CURRENT_USER, userPath("http\\UserChoice")),
              (std::vector<std::string>{"Hash", "ProgId"}));
    EXPECT_EQ(subkeyNames(HKEY_CURRENT_USER, userScratchKey), std::vector<std::string>{"http"});
    KeyHandle again;
    ASSERT_EQ(create(HKEY_CURRENT_USER, userPath("Http").c_str(), again.out(), KEY_READ, &disposition), ERROR_SUCCESS);
    EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));

    // The same path below the other root is another key.
    EXPECT_FALSE(keyExists(HKEY_CLASSES_ROOT, userPath("http\\UserChoice")));
    KeyHandle classesKey;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, classesKey.out()), ERROR_SUCCESS);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, scratchKey));

    // Only HKEY_CLASSES_ROOT takes a path with a leading backslash.
    HKEY unused = nullptr;
    EXPECT_EQ(open(HKEY_CURRENT_USER, "\\Software\\CorvantRegistryTest", &unused), ERROR_BAD_PATHNAME);

    EXPECT_EQ(RegDeleteTreeA(HKEY_CURRENT_USER, userPath("http").c_str()), ERROR_SUCCESS);
    EXPECT_FALSE(keyExists(HKEY_CURRENT_USER, userPath("http")));
    EXPECT_TRUE(keyExists(HKEY_CURRENT_USER, userScratchKey));
    EXPECT_EQ(setBytes(choice, "ProgId", REG_SZ, std::string("x\0", 2)), ERROR_KEY_DELETED);
    EXPECT_TRUE(keyExists(HKEY_CLASSES_ROOT, scratchKey));
}

using LocalMachine = RegistryTest;

// HKEY_LOCAL_MACHINE\Software\Classes (in the 64-bit view) and HKEY_CLASSES_ROOT
// are one set of keys: what is written through one shows through the other.
TEST_F(LocalMachine, ItsClassesAreTheKeysOfClassesRoot) {
    const std::string machinePath = std::string("Software\\Classes\\") + scratchKey + "\\shell";
    KeyHandle key;
    ASSERT_EQ(create(HKEY_LOCAL_MACHINE, machinePath.c_str(), key.out(), KEY_SET_VALUE | KEY_WOW64_64KEY),
              ERROR_SUCCESS);
    ASSERT_EQ(setBytes(key, "", REG_SZ, std::string("run\0", 4)), ERROR_SUCCESS);
    EXPECT_EQ(readValue(HKEY_CLASSES_ROOT, std::string(scratchKey) + "\\shell", ""), stringValue("run"));
    deleteTree(scratchKey);
    EXPECT_FALSE(keyExists(HKEY_LOCAL_MACHINE, machinePath, KEY_WOW64_64KEY));
    const std::vector<std::string> software = subkeyNames(HKEY_LOCAL_MACHINE, "Software", KEY_WOW64_64KEY);
    EXPECT_EQ(std::count(software.begin(), software.end(), "Classes"), 1);
}

}  // namespace
}  // namespace corvant::testing
