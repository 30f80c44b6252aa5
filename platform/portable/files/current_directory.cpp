// The current directory and the Windows directory.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/portable/files.h"
#include "platform/portable/files/directory_listing.h"
#include "platform/portable/files/path_names.h"
#include "platform/portable/files/system_folders.h"
#include "platform/portable/files/win32_error.h"

namespace {

// Copies text into buffer as the Win32 functions do: the length on success,
// the size needed (terminating zero included) when it does not fit.
DWORD answerText(const char *text, LPSTR buffer, DWORD size) {
    const size_t length = std::strlen(text);
    if (buffer == nullptr || length + 1 > size) return static_cast<DWORD>(length + 1);
    std::memcpy(buffer, text, length + 1);
    return static_cast<DWORD>(length);
}

// The current directory as the program named it, as Windows keeps it: the
// case typed, "." and ".." taken away by name. Empty when not known.
std::string namedDirectory;

void appendComponents(std::string &path, const std::string &relative) {
    size_t start = 0;
    while (start <= relative.size()) {
        size_t end = relative.find('/', start);
        if (end == std::string::npos) end = relative.size();
        const std::string component = relative.substr(start, end - start);
        start = end + 1;
        if (component.empty() || component == ".") continue;
        if (component == "..") {
            const size_t slash = path.rfind('/');
            path.erase(slash == 0 ? 1 : slash);
        } else {
            if (path.back() != '/') path += '/';
            path += component;
        }
    }
}

void rememberName(const std::string &target) {
    if (target[0] == '/') {
        namedDirectory = "/";
    } else if (namedDirectory.empty()) {
        return;
    }
    appendComponents(namedDirectory, target);
}

// Whether the remembered name still leads to the current directory; it does
// not after a chdir() past this layer or a ".." out of a linked folder.
bool nameStillHolds() {
    if (namedDirectory.empty()) return false;
    std::string resolved;
    struct stat named;
    struct stat current;
    return corvant::files::resolveWithoutCase(namedDirectory, resolved) &&
           stat(resolved.c_str(), &named) == 0 && stat(".", &current) == 0 &&
           named.st_dev == current.st_dev && named.st_ino == current.st_ino;
}

}  // namespace

DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    if (nameStillHolds()) return answerText(namedDirectory.c_str(), buffer, bufferLength);
    namedDirectory.clear();
    char *path = getcwd(nullptr, 0);
    if (path == nullptr) {
        corvant::files::failWithErrno(errno);
        return 0;
    }
    namedDirectory = path;
    const DWORD answer = answerText(path, buffer, bufferLength);
    std::free(path);
    return answer;
}

BOOL WINAPI SetCurrentDirectoryA(LPCSTR path) {
    if (path == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::string target = corvant::files::toPosixPath(path);
    if (target.empty()) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    // The root of the drive, as the program names it.
    if (target == "/") target = corvant::files::driveRoot();

    int result = chdir(target.c_str());
    if (result != 0 && errno == ENOENT) {
        std::string resolved;
        if (corvant::files::resolveWithoutCase(target, resolved)) result = chdir(resolved.c_str());
    }
    if (result != 0) return corvant::files::failWithErrno(errno);
    rememberName(target);
    corvant::files::noteCurrentDirectoryChanged();
    return TRUE;
}

UINT WINAPI GetWindowsDirectoryA(LPSTR buffer, UINT size) {
    const char *directory = corvant::files::windowsDirectory();
    if (directory == nullptr) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return answerText(directory, buffer, size);
}
