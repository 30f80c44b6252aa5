// The store file's text: pinned for a small content, and every value byte
// surviving a trip through the file.
#include <sstream>

#include "tests/registry/store_fixture.h"

namespace corvant::testing {
namespace {

using StoreFormat = StoreTest;

TEST_F(StoreFormat, WritesRegeditsRegedit4Text) {
    KeyHandle cls, command;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, "http", cls.out(), KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(cls, "", REG_SZ, std::string("URL:HyperText \"Transfer\" C:\\x\0", 30)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(cls, "EditFlags", REG_DWORD, std::string("\x02\0\0\0", 4)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(cls, "URL Protocol", REG_SZ, std::string(1, '\0')), ERROR_SUCCESS);
    ASSERT_EQ(create(cls, "shell\\open\\command", command.out(), KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(command, "Bare", REG_SZ, "ab"), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(command, "Lines", REG_SZ, std::string("a\r\nb\0", 5)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(command, "Big", REG_DWORD, std::string("\xef\xbe\xad\xde", 4)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(command, "Short", REG_DWORD, std::string("\x01\x02", 2)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(command, "Empty", REG_BINARY, ""), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(command, "Quad", REG_QWORD, std::string("\x01\0\0\0\0\0\0\x80", 8)), ERROR_SUCCESS);
    KeyHandle later;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, ".html", later.out(), KEY_SET_VALUE), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(later, "", REG_SZ, std::string("htmlfile\0", 9)), ERROR_SUCCESS);

    EXPECT_EQ(fileText(storeFile()),
              "REGEDIT4\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Classes\\.html]\r\n"
              "@=\"htmlfile\"\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Classes\\http]\r\n"
              "@=\"URL:HyperText \\\"Transfer\\\" C:\\\\x\"\r\n"
              "\"EditFlags\"=dword:00000002\r\n"
              "\"URL Protocol\"=\"\"\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Classes\\http\\shell]\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Classes\\http\\shell\\open]\r\n"
              "\r\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Classes\\http\\shell\\open\\command]\r\n"
              "\"Bare\"=hex(1):61,62\r\n"
              "\"Lines\"=hex(1):61,0d,0a,62,00\r\n"
              "\"Big\"=dword:deadbeef\r\n"
              "\"Short\"=hex(4):01,02\r\n"
              "\"Empty\"=hex:\r\n"
              "\"Quad\"=hex(b):01,00,00,00,00,00,00,80\r\n"
              "\r\n");
}

TEST_F(StoreFormat, WrapsLongHexDataWithContinuationLines) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    std::string bytes;
    for (int i = 0; i < 100; ++i) bytes += static_cast<char>(i);
    ASSERT_EQ(setBytes(key, "bin", REG_BINARY, bytes), ERROR_SUCCESS);

    std::string text = fileText(storeFile());
    size_t start = text.find("\"bin\"=hex:00,01,");
    ASSERT_NE(start, std::string::npos);
    std::istringstream lines(text.substr(start));
    std::string line;
    int lineCount = 0;
    while (std::getline(lines, line) && !line.empty() && line != "\r") {
        ASSERT_EQ(line.back(), '\r');
        line.pop_back();
        ++lineCount;
        EXPECT_LE(line.size(), 80u) << line;
        if (lineCount > 1) {
            EXPECT_EQ(line.substr(0, 2), "  ");
        }
        bool continued = line.back() == '\\';
        if (!continued) break;
        EXPECT_EQ(line[line.size() - 2], ',');
    }
    EXPECT_EQ(lineCount, 5);  // 100 bytes at 3 characters each
}

TEST_F(StoreFormat, EveryValueSurvivesTheFileByteForByte) {
    std::string allBytes;
    for (int i = 0; i < 256; ++i) allBytes += static_cast<char>(i);
    std::string longBinary;
    for (int i = 0; i < 5000; ++i) longBinary += static_cast<char>((i * 31) & 0xff);
    const std::vector<std::pair<std::string, RegistryValue>> values = {
        {"quotes", stringValue("say \"hi\" \"")},
        {"backslashes", stringValue("C:\\Program Files\\ \\\\ end\\")},
        {"semicolon", stringValue("; not a comment")},
        {"brackets", stringValue("[HKEY_CLASSES_ROOT\\fake]")},
        {"non-ascii", stringValue("caf\xe9 \x80\xff\xa0")},
        {"embedded zero", RegistryValue{REG_SZ, std::string("a\0b\0", 4)}},
        {"no terminator", RegistryValue{REG_SZ, "abc"}},
        {"two terminators", RegistryValue{REG_SZ, std::string("abc\0\0", 5)}},
        {"just terminator", RegistryValue{REG_SZ, std::string(1, '\0')}},
        {"empty string", RegistryValue{REG_SZ, ""}},
        {"empty binary", RegistryValue{REG_BINARY, ""}},
        {"tab and newline", stringValue("a\tb\nc\rd")},
        {"every byte", RegistryValue{REG_BINARY, allBytes}},
        {"long binary", RegistryValue{REG_BINARY, longBinary}},
        {"expand", RegistryValue{REG_EXPAND_SZ, std::string("%PATH%\0", 7)}},
        {"multi", RegistryValue{REG_MULTI_SZ, std::string("a\0bc\0\0", 6)}},
        {"dword", dwordValue(0xdeadbeef)},
        {"short dword", RegistryValue{REG_DWORD, "\x01"}},
        {"none", RegistryValue{REG_NONE, std::string("\0\x01", 2)}},
        {"big type", RegistryValue{0xfffffffe, "x"}},
        {"name \"with\" quotes\\and;=]", stringValue("v")},
        {"caf\xe9", stringValue("name not ascii")},
        {"", stringValue("default")},
    };
    const char *keyName = "CorvantRegistryTest\\Awk]ward [\"key\"];\xe9";
    {
        KeyHandle key;
        ASSERT_EQ(create(HKEY_CLASSES_ROOT, keyName, key.out()), ERROR_SUCCESS);
        for (const auto &[name, value] : values)
            ASSERT_EQ(setBytes(key, name.c_str(), value.type, value.bytes), ERROR_SUCCESS) << name;
    }
    const std::string written = fileText(storeFile());

    rereadStore();
    std::vector<std::string> expectedNames;
    for (const auto &[name, value] : values) {
        EXPECT_EQ(readValue(keyName, name), value) << name;
        expectedNames.push_back(name);
    }
    // Values keep the order they were created in.
    EXPECT_EQ(valueNames(keyName), expectedNames);
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{"Awk]ward [\"key\"];\xe9"});

    // Writing back what was read gives the same text.
    KeyHandle other;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, "CorvantRegistryTest2", other.out()), ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteTreeA(HKEY_CLASSES_ROOT, "CorvantRegistryTest2"), ERROR_SUCCESS);
    EXPECT_EQ(fileText(storeFile()), written);
}

TEST_F(StoreFormat, ReadsCommentsBlankLinesAndLooserSpelling) {
    writeFileText(storeFile(),
                  "REGEDIT4\n"
                  "; a comment line\n"
                  "\n"
                  "[hkey_classes_root\\CorvantRegistryTest\\Deep\\Er]\r\n"
                  "  \"spaced\" = \"x\"\r\n"
                  "\t; indented comment\r\n"
                  "\"upper\"=dword:DEADbeef\r\n"
                  "\"wrapped\"=hex(2):41,\\\r\n"
                  "\t  42 , 43,\\\r\n"
                  "  00\r\n"
                  "\r\n"
                  "[HKEY_CLASSES_ROOT\\CorvantRegistryTest]\r\n"
                  "@=\"top\"\r\n"
                  "\r\n"
                  "[HKEY_CLASSES_ROOT\\CorvantRegistryTest\\deep\\er]\r\n"
                  "\"later\"=hex:FF\r\n"
                  "\"SPACED\"=\"y\"\r\n");
    EXPECT_EQ(readValue(path("Deep\\Er"), "spaced"), stringValue("y"));
    EXPECT_EQ(readValue(path("Deep\\Er"), "upper"), dwordValue(0xdeadbeef));
    EXPECT_EQ(readValue(path("Deep\\Er"), "wrapped"), (RegistryValue{REG_EXPAND_SZ, std::string("ABC\0", 4)}));
    EXPECT_EQ(readValue(path("Deep\\Er"), "later"), (RegistryValue{REG_BINARY, "\xff"}));
    EXPECT_EQ(readValue(scratchKey, ""), stringValue("top"));
    EXPECT_EQ(valueNames(path("Deep\\Er")), (std::vector<std::string>{"spaced", "upper", "wrapped", "later"}));
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{"Deep"});
    EXPECT_STREQ(registryStoreProblem(), "");
}

TEST_F(StoreFormat, ValuesOnTheHiveItselfGetTheHiveLine) {
    ASSERT_EQ(setBytes(HKEY_CLASSES_ROOT, "top", REG_SZ, std::string("v\0", 2)), ERROR_SUCCESS);
    EXPECT_EQ(fileText(storeFile()),
              "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Classes]\r\n\"top\"=\"v\"\r\n\r\n");
    rereadStore();
    EXPECT_EQ(readValue("", "top"), stringValue("v"));
}

TEST_F(StoreFormat, KeysInAnyOrderAndRepeatedSectionsReadIntoEnumerationOrder) {
    std::string text = "REGEDIT4\r\n";
    // Subkeys before their parents, names in falling order and mixed case.
    for (int i = 29; i >= 0; --i) {
        std::string name = (i % 2 ? "Key" : "KEY") + std::to_string(100 + i);
        text += "\r\n[HKEY_CLASSES_ROOT\\CorvantRegistryTest\\" + name + "\\Inner]\r\n@=\"inner\"\r\n";
        text += "\r\n[HKEY_CLASSES_ROOT\\CorvantRegistryTest\\" + name + "]\r\n@=\"" + name + "\"\r\n";
    }
    // Many values, not in name order, some given twice.
    text += "\r\n[HKEY_CLASSES_ROOT\\CorvantRegistryTest\\Values]\r\n";
    for (int i = 0; i < 40; ++i) text += "\"v" + std::to_string((i * 17) % 40) + "\"=\"first\"\r\n";
    text += "\r\n[HKEY_CLASSES_ROOT\\corvantregistrytest\\key105]\r\n\"added\"=\"later\"\r\n";
    text += "\r\n[HKEY_CLASSES_ROOT\\CorvantRegistryTest\\VALUES]\r\n\"V3\"=\"second\"\r\n\"v40\"=\"new\"\r\n";
    writeFileText(storeFile(), text);

    std::vector<std::string> expectedKeys;
    for (int i = 0; i < 30; ++i) expectedKeys.push_back((i % 2 ? "Key" : "KEY") + std::to_string(100 + i));
    expectedKeys.push_back("Values");
    EXPECT_EQ(subkeyNames(scratchKey), expectedKeys);
    for (int i = 0; i < 30; ++i) {
        const std::string name = expectedKeys[static_cast<size_t>(i)];
        EXPECT_EQ(readValue(path(name), ""), stringValue(name));
        EXPECT_EQ(subkeyNames(path(name)), std::vector<std::string>{"Inner"});
    }
    EXPECT_EQ(valueNames(path("KEY105")), (std::vector<std::string>{"", "added"}));

    std::vector<std::string> expectedValues;
    for (int i = 0; i < 40; ++i) expectedValues.push_back("v" + std::to_string((i * 17) % 40));
    expectedValues.push_back("v40");
    EXPECT_EQ(valueNames(path("Values")), expectedValues);
    EXPECT_EQ(readValue(path("Values"), "v3"), stringValue("second"));
    EXPECT_EQ(readValue(path("Values"), "V39"), stringValue("first"));
    EXPECT_EQ(readValue(path("Values"), "v41"), std::nullopt);
}

TEST_F(StoreFormat, CurrentUserSectionsFollowTheClassesInTheSameFileAndBothReadBack) {
    KeyHandle user, cls;
    ASSERT_EQ(create(HKEY_CURRENT_USER, "Software\\Choice", user.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(user, "ProgId", REG_SZ, std::string("Other\0", 6)), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(HKEY_CURRENT_USER, "top", REG_DWORD, std::string("\x07\0\0\0", 4)), ERROR_SUCCESS);
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, "http", cls.out()), ERROR_SUCCESS);
    ASSERT_EQ(setBytes(cls, "", REG_SZ, std::string("URL\0", 4)), ERROR_SUCCESS);

    const std::string expected =
        "REGEDIT4\r\n"
        "\r\n"
        "[HKEY_LOCAL_MACHINE\\Software\\Classes\\http]\r\n"
        "@=\"URL\"\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER]\r\n"
        "\"top\"=dword:00000007\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software]\r\n"
        "\r\n"
        "[HKEY_CURRENT_USER\\Software\\Choice]\r\n"
        "\"ProgId\"=\"Other\"\r\n"
        "\r\n";
    EXPECT_EQ(fileText(storeFile()), expected);

    rereadStore();
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, "software\\choice", "ProgId"), stringValue("Other"));
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, "", "top"), dwordValue(7));
    EXPECT_EQ(readValue("http", ""), stringValue("URL"));
    EXPECT_EQ(subkeyNames(HKEY_CURRENT_USER, ""), std::vector<std::string>{"Software"});
    // Writing one root writes the other back as it was.
    ASSERT_EQ(setBytes(cls, "", REG_SZ, std::string("URL\0", 4)), ERROR_SUCCESS);
    EXPECT_EQ(fileText(storeFile()), expected);
}

TEST_F(StoreFormat, ReadsCurrentUserSectionsInAnyOrderAndSpelling) {
    writeFileText(storeFile(),
                  "REGEDIT4\r\n"
                  "\r\n"
                  "[hkey_current_user\\Software\\A]\r\n"
                  "@=\"user\"\r\n"
                  "\r\n"
                  "[HKEY_CLASSES_ROOT\\A]\r\n"
                  "@=\"classes\"\r\n"
                  "\r\n"
                  "[HKEY_CURRENT_USER\\SOFTWARE\\a]\r\n"
                  "\"more\"=\"m\"\r\n");
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, "Software\\A", ""), stringValue("user"));
    EXPECT_EQ(readValue(HKEY_CURRENT_USER, "Software\\A", "more"), stringValue("m"));
    EXPECT_EQ(readValue("A", ""), stringValue("classes"));
    EXPECT_EQ(subkeyNames(HKEY_CURRENT_USER, "Software"), std::vector<std::string>{"A"});
    EXPECT_STREQ(registryStoreProblem(), "");
}

// Stores of earlier versions name the classes below HKEY_CLASSES_ROOT.
TEST_F(StoreFormat, ClassesOfEitherSpellingAreOneKeyBelowLocalMachine) {
    writeFileText(
        storeFile(),
        "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Corvant]\r\n\r\n[HKEY_CLASSES_ROOT\\http]\r\n@=\"old\"\r\n"
        "\r\n[hkey_local_machine\\SOFTWARE\\classes\\HTTP\\shell]\r\n\"x\"=\"y\"\r\n");
    EXPECT_EQ(readValue(HKEY_LOCAL_MACHINE, "Software\\Classes\\http", ""), stringValue("old"));
    EXPECT_EQ(readValue("http\\shell", "x"), stringValue("y"));
    EXPECT_EQ(subkeyNames(HKEY_LOCAL_MACHINE, "Software"), (std::vector<std::string>{"Classes", "Corvant"}));
}

TEST_F(StoreFormat, LineBreaksInNamesAreRefusedSinceTheFileCannotHoldThem) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    HKEY unused = nullptr;
    EXPECT_EQ(create(key, "two\nlines", &unused), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(setBytes(key, "two\r\nlines", REG_SZ, std::string("x\0", 2)), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{});
    EXPECT_EQ(valueNames(scratchKey), std::vector<std::string>{});
}

TEST_F(StoreFormat, KeysNestDownTo512LevelsAndNoDeeper) {
    std::string deepest = scratchKey;
    for (int level = 2; level <= 512; ++level) deepest += "\\k";
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, deepest.c_str(), key.out()), ERROR_SUCCESS);
    HKEY unused = nullptr;
    EXPECT_EQ(create(key, "one more", &unused), ERROR_INVALID_PARAMETER);
    rereadStore();
    EXPECT_TRUE(keyExists(deepest));
}

TEST_F(StoreFormat, KeyNamesLongerThan255AreRefused) {
    KeyHandle key;
    ASSERT_EQ(create(HKEY_CLASSES_ROOT, scratchKey, key.out()), ERROR_SUCCESS);
    HKEY unused = nullptr;
    EXPECT_EQ(create(key, std::string(256, 'k').c_str(), &unused), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(subkeyNames(scratchKey), std::vector<std::string>{});
}

}  // namespace
}  // namespace corvant::testing
