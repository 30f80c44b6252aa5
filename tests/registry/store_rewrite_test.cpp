// Each write formats only the keys that changed and reuses the text of the
// others; whatever the calls did, the file must hold exactly what the calls
// answer before it is read again.
#include <random>

#include "tests/registry/store_fixture.h"

namespace corvant::testing {
namespace {

// Every key and value below root, through the registry calls.
void describeTree(HKEY root, const std::string &keyPath, std::vector<std::string> &lines) {
    KeyHandle key;
    if (RegOpenKeyExA(root, keyPath.c_str(), 0, KEY_READ, key.out()) != ERROR_SUCCESS) return;
    lines.push_back("[" + keyPath + "]");
    for (DWORD index = 0;; ++index) {
        char name[256];
        BYTE data[256];
        DWORD nameLength = sizeof name, dataSize = sizeof data, type = 0;
        if (RegEnumValueA(key, index, name, &nameLength, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
        lines.push_back(std::string(name, nameLength) + "=" + std::to_string(type) + ":" +
                        std::string(reinterpret_cast<char *>(data), dataSize));
    }
    for (const std::string &subkey : subkeyNames(root, keyPath))
        describeTree(root, keyPath.empty() ? subkey : keyPath + "\\" + subkey, lines);
}

std::vector<std::string> describeStore() {
    std::vector<std::string> lines;
    describeTree(HKEY_CLASSES_ROOT, "", lines);
    lines.push_back("--");
    describeTree(HKEY_CURRENT_USER, "", lines);
    return lines;
}

using StoreRewrite = StoreTest;

TEST_F(StoreRewrite, TheFileAlwaysHoldsWhatTheCallsAnswer) {
    std::mt19937 random(20240607);
    auto pick = [&](std::initializer_list<const char *> choices) {
        return std::string(*(choices.begin() + random() % choices.size()));
    };
    auto somePath = [&] {
        std::string keyPath = pick({"Alpha", "ALPHA", "beta", "Gamma", "delta"});
        for (auto depth = random() % 3; depth > 0; --depth) keyPath += "\\" + pick({"x", "Y", "z"});
        return keyPath;
    };

    for (int step = 1; step <= 400; ++step) {
        HKEY root = random() % 4 ? HKEY_CLASSES_ROOT : HKEY_CURRENT_USER;
        const std::string keyPath = somePath();
        KeyHandle key;
        switch (random() % 6) {
        case 0:
        case 1:
        case 2:
            ASSERT_EQ(create(root, keyPath.c_str(), key.out()), ERROR_SUCCESS);
            ASSERT_EQ(setBytes(key, pick({"", "one", "TWO"}).c_str(), REG_SZ, std::to_string(step) + '\0'),
                      ERROR_SUCCESS);
            break;
        case 3: RegDeleteTreeA(root, keyPath.c_str()); break;
        case 4:
            if (open(root, keyPath.c_str(), key.out()) == ERROR_SUCCESS) {
                ASSERT_EQ(RegDeleteTreeA(key, nullptr), ERROR_SUCCESS);
            }
            break;
        default: ASSERT_EQ(setBytes(root, "top", REG_SZ, std::to_string(step) + '\0'), ERROR_SUCCESS); break;
        }
        if (step % 20 == 0) {
            SCOPED_TRACE("step " + std::to_string(step));
            const std::vector<std::string> answered = describeStore();
            rereadStore();
            ASSERT_EQ(describeStore(), answered);
        }
    }
}

}  // namespace
}  // namespace corvant::testing
