#include "platform/portable/ui/shell_association.h"

#include <cctype>
#include <vector>

#include "platform/win32.h"

namespace corvant::shell {

namespace {

// The longest command line Windows starts a program with.
constexpr DWORD longestCommand = 32767;

class OpenedKey {
public:
    explicit OpenedKey(const std::string &path) {
        if (RegOpenKeyExA(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_QUERY_VALUE, &key_) != ERROR_SUCCESS) key_ = nullptr;
    }
    ~OpenedKey() {
        if (key_) RegCloseKey(key_);
    }
    OpenedKey(const OpenedKey &) = delete;
    OpenedKey &operator=(const OpenedKey &) = delete;

    // The key's default value when it is a non-empty string of at most limit bytes.
    bool readDefaultString(DWORD limit, std::string &text) const {
        if (!key_) return false;
        DWORD type = 0;
        DWORD size = 0;
        if (RegQueryValueExA(key_, nullptr, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return false;
        if ((type != REG_SZ && type != REG_EXPAND_SZ) || size == 0 || size > limit + 1) return false;
        std::vector<char> data(size + 1, '\0');
        if (RegQueryValueExA(key_, nullptr, nullptr, &type, reinterpret_cast<BYTE *>(data.data()), &size) !=
                ERROR_SUCCESS ||
            size >= data.size())
            return false;
        data[size] = '\0';
        text = data.data();  // up to the first zero, as Windows reads a string
        return !text.empty();
    }

private:
    HKEY key_ = nullptr;
};

bool isSchemeCharacter(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '+' || c == '-' || c == '.';
}

// ".html" of "/srv/pages/index.html"; empty when the last name has no dot.
std::string extensionOf(const std::string &path) {
    const size_t nameStart = path.find_last_of("/\\") == std::string::npos ? 0 : path.find_last_of("/\\") + 1;
    const size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < nameStart || dot + 1 == path.size()) return std::string();
    return path.substr(dot);
}

}  // namespace

bool hasUrlScheme(const std::string &address) {
    const size_t colon = address.find(':');
    if (colon == std::string::npos || colon < 2 || !std::isalpha(static_cast<unsigned char>(address[0]))) return false;
    for (size_t i = 1; i < colon; ++i)
        if (!isSchemeCharacter(address[i])) return false;
    return true;
}

std::string classOfAddress(const std::string &address) {
    if (hasUrlScheme(address)) return address.substr(0, address.find(':'));
    const std::string extension = extensionOf(address);
    std::string className;
    // A key name holds at most 255 characters.
    if (extension.empty() || !OpenedKey(extension).readDefaultString(255, className)) return std::string();
    return className;
}

bool readOpenCommand(const std::string &className, std::string &command) {
    if (className.empty()) return false;
    return OpenedKey(className + "\\shell\\open\\command").readDefaultString(longestCommand, command);
}

}  // namespace corvant::shell
