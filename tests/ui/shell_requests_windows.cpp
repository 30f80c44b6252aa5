// A handler of the test's own for the ms-settings protocol, registered below
// HKEY_CLASSES_ROOT for the test's length: the shell starts the recorder
// (request_recorder.cpp) with the log and the address.
#include <string>

#include "platform/win32.h"
#include "tests/support/registry_reader.h"
#include "tests/ui/shell_requests.h"

namespace corvant::testing {
namespace {

const char handlerKey[] = "ms-settings";

std::string withBackslashes(std::string path) {
    for (char &c : path)
        if (c == '/') c = '\\';
    return path;
}

bool setText(const char *keyPath, const char *valueName, const std::string &text) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CLASSES_ROOT, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    const bool set = RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(text.c_str()),
                                    static_cast<DWORD>(text.size() + 1)) == ERROR_SUCCESS;
    RegCloseKey(key);
    return set;
}

}  // namespace

ShellRequests::ShellRequests(const std::string &folder) : log_(folder + "\\shell-requests.log") {
    // Another handler would not be ours to replace.
    if (keyExists(handlerKey)) return;
    registered_ = true;
    const std::string command = "\"" + withBackslashes(CORVANT_REQUEST_RECORDER) + "\" \"" + log_ + "\" \"%1\"";
    ready_ = setText(handlerKey, "URL Protocol", "") && setText("ms-settings\\shell\\open\\command", "", command);
}

ShellRequests::~ShellRequests() {
    if (registered_) deleteTree(handlerKey);
}

}  // namespace corvant::testing
