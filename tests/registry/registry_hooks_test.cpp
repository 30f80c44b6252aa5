// The test hooks that the association tests rely on.
#include "tests/registry/store_fixture.h"

namespace corvant::testing {
namespace {

using RegistryHooks = StoreTest;

TEST_F(RegistryHooks, AKeyMadeToFailCannotBeCreatedOrOpenedUntilCleared) {
    KeyHandle base;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, base.out()), ERROR_SUCCESS);
    failKeyOpen("corvantregistrytest\\HTTPS");
    HKEY unused = nullptr;
    EXPECT_EQ(create(base, "https", &unused), ERROR_ACCESS_DENIED);
    EXPECT_EQ(create(HKEY_CLASSES_ROOT, "CorvantRegistryTest\\Https\\shell", &unused), ERROR_ACCESS_DENIED);
    EXPECT_FALSE(keyExists(path("https")));
    KeyHandle sibling;
    EXPECT_EQ(create(base, "http", sibling.out()), ERROR_SUCCESS);

    clearRegistryFailures();
    KeyHandle created;
    ASSERT_EQ(create(base, "https", created.out()), ERROR_SUCCESS);
    failKeyOpen("CorvantRegistryTest\\https");
    EXPECT_EQ(open(base, "https", &unused), ERROR_ACCESS_DENIED);
    clearRegistryFailures();
}

TEST_F(RegistryHooks, ValueWritesFailAtAndBelowTheNamedKeyOnly) {
    KeyHandle base, below, sibling;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, path("http").c_str(), base.out()), ERROR_SUCCESS);
    ASSERT_EQ(create(base, "shell\\open", below.out()), ERROR_SUCCESS);
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, path("https").c_str(), sibling.out()), ERROR_SUCCESS);
    failValueWritesBelow("CorvantRegistryTest\\HTTP");
    EXPECT_EQ(setBytes(base, "v", REG_SZ, std::string("x\0", 2)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(setBytes(below, "v", REG_SZ, std::string("x\0", 2)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(setBytes(sibling, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    clearRegistryFailures();
    EXPECT_EQ(setBytes(base, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    EXPECT_EQ(readValue(path("http\\shell\\open"), "v"), std::nullopt);
}

TEST_F(RegistryHooks, CountsOpenHandles) {
    EXPECT_EQ(openRegistryHandleCount(), 0u);
    HKEY first = nullptr, second = nullptr, failed = nullptr;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, &first), ERROR_SUCCESS);
    ASSERT_EQ(open(first, nullptr, &second), ERROR_SUCCESS);
    EXPECT_NE(open(first, "missing", &failed), ERROR_SUCCESS);
    EXPECT_EQ(openRegistryHandleCount(), 2u);
    RegCloseKey(first);
    RegCloseKey(first);
    RegCloseKey(HKEY_CLASSES_ROOT);
    EXPECT_EQ(openRegistryHandleCount(), 1u);
    RegCloseKey(second);
    EXPECT_EQ(openRegistryHandleCount(), 0u);
}

TEST_F(RegistryHooks, RecordsCallsWithTheKeysStoredSpelling) {
    KeyHandle existing;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, "http\\Shell", existing.out()), ERROR_SUCCESS);
    recordRegistryCalls(true);
    HKEY cls = nullptr, shell = nullptr;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, "HTTP", &cls), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(cls, "", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(cls, "EditFlags", REG_DWORD, std::string(4, '\0')), ERROR_SUCCESS);
    ASSERT_EQ(create(cls, "shell", &shell), ERROR_SUCCESS);
    HKEY unused = nullptr;
    EXPECT_EQ(open(cls, "missing", &unused), ERROR_FILE_NOT_FOUND);
    RegCloseKey(shell);
    RegFlushKey(cls);
    RegCloseKey(cls);
    recordRegistryCalls(false);
    RegCloseKey(HKEY_CLASSES_ROOT);

    EXPECT_EQ(recordedRegistryCalls(), (std::vector<std::string>{
                                           "RegCreateKeyExA http",
                                           "RegSetValueExA http",
                                           "RegSetValueExA http EditFlags",
                                           "RegCreateKeyExA http\\Shell",
                                           "RegOpenKeyExA http\\missing",
                                           "RegCloseKey http\\Shell",
                                           "RegFlushKey http",
                                           "RegCloseKey http",
                                       }));
}

TEST_F(RegistryHooks, CurrentUserKeysAreNamedWithTheirHive) {
    failKeyOpen("hkey_current_user\\software\\BLOCKED");
    HKEY unused = nullptr;
    EXPECT_EQ(create(HKEY_CURRENT_USER, "Software\\Blocked", &unused), ERROR_ACCESS_DENIED);
    KeyHandle classes;
    EXPECT_EQ(create(HKEY_CLASSES_ROOT, "Software\\Blocked", classes.out()), ERROR_SUCCESS);
    failValueWritesBelow("HKEY_CURRENT_USER");
    EXPECT_EQ(setBytes(HKEY_CURRENT_USER, "v", REG_SZ, std::string("x\0", 2)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(setBytes(classes, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    clearRegistryFailures();

    recordRegistryCalls(true);
    HKEY user = nullptr;
    ASSERT_EQ(create(HKEY_CURRENT_USER, "Software", &user), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(user, "v", REG_SZ, std::string("x\0", 2)), ERROR_SUCCESS);
    RegCloseKey(user);
    recordRegistryCalls(false);
    EXPECT_EQ(recordedRegistryCalls(), (std::vector<std::string>{
                                           "RegCreateKeyExA HKEY_CURRENT_USER\\Software",
                                           "RegSetValueExA HKEY_CURRENT_USER\\Software v",
                                           "RegCloseKey HKEY_CURRENT_USER\\Software",
                                       }));
}

}  // namespace
}  // namespace corvant::testing
