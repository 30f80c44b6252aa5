#include "assoc/browser_registration.h"

const char registeredApplicationName[] = "Corvant";

namespace {

bool endsWithExe(const std::string &text) {
    if (text.size() <= 4) return false;
    const char *end = text.c_str() + text.size() - 4;
    const char *exe = ".exe";
    for (int i = 0; i < 4; ++i) {
        char letter = end[i];
        if (letter >= 'A' && letter <= 'Z') letter = static_cast<char>(letter - 'A' + 'a');
        if (letter != exe[i]) return false;
    }
    return true;
}

// The last part of a Windows or POSIX path, without a final ".exe".
std::string fileNameWithoutExe(const char *browserPath) {
    const char *name = browserPath;
    for (const char *at = browserPath; *at; ++at)
        if (*at == '\\' || *at == '/') name = at + 1;
    std::string text(name);
    if (endsWithExe(text)) text.resize(text.size() - 4);
    return text;
}

}  // namespace

std::string registeredBrowserName(const char *browserPath) {
    return fileNameWithoutExe(browserPath) + " (chosen with Corvant)";
}
