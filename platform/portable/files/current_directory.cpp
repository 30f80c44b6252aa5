// The current directory and the Windows directory.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
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

// The current directory as the program named it, which is what Windows
// reports (the case typed, "." and ".." taken away by name), beside the same
// path spelt as the file system spells it. Both are kept up to date by
// SetCurrentDirectoryA without asking the file system; whether they still
// lead to the current directory is checked when the name is asked for, and
// remembered until the directory changes. Empty when not known.
struct NamedDirectory {
    std::string named;
    std::string actual;
    bool identityKnown = false;
    dev_t device = 0;
    ino_t inode = 0;
};
NamedDirectory current;

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

void rememberMove(const std::string &target, const std::string &reached) {
    current.identityKnown = false;
    if (target[0] == '/') {
        current.named = "/";
        current.actual = "/";
    } else if (current.named.empty()) {
        return;
    }
    appendComponents(current.named, target);
    appendComponents(current.actual, reached);
}

// stat() for paths of any length: one longer than the system's limit is
// opened piece by piece.
bool statAnyLength(const std::string &path, struct stat &status) {
    if (path.size() < PATH_MAX) return stat(path.c_str(), &status) == 0;
    int directory = AT_FDCWD;
    size_t start = 0;
    bool reached = true;
    while (reached && path.size() - start >= PATH_MAX) {
        size_t cut = path.rfind('/', start + PATH_MAX - 1);
        if (cut == std::string::npos || cut <= start) {
            reached = false;
            break;
        }
        const std::string piece = cut == 0 ? "/" : path.substr(start, cut - start);
        const int next = openat(directory, piece.c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
        if (directory != AT_FDCWD) close(directory);
        directory = next;
        reached = next >= 0;
        start = cut + 1;
    }
    if (reached) reached = fstatat(directory, path.c_str() + start, &status, 0) == 0;
    if (directory >= 0 && directory != AT_FDCWD) close(directory);
    return reached;
}

bool sameDirectory(const struct stat &a, dev_t device, ino_t inode) { return a.st_dev == device && a.st_ino == inode; }

// Whether the remembered name still leads to the current directory; it does
// not after a chdir() past this layer or a ".." out of a linked folder.
bool nameStillHolds() {
    if (current.named.empty()) return false;
    struct stat here;
    if (stat(".", &here) != 0) return false;
    if (current.identityKnown) return sameDirectory(here, current.device, current.inode);
    struct stat named;
    if (!statAnyLength(current.actual, named) || !sameDirectory(here, named.st_dev, named.st_ino)) {
        return false;
    }
    current.identityKnown = true;
    current.device = here.st_dev;
    current.inode = here.st_ino;
    return true;
}

// Characters that Windows refuses in a path it is asked to open.
bool hasInvalidCharacter(const char *path) {
    for (const char *c = path; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || std::strchr("*?\"<>|", byte) != nullptr) return true;
    }
    return false;
}

bool isDirectory(const std::string &path) {
    std::string resolved;
    struct stat status;
    return corvant::files::resolveWithoutCase(path, resolved) && stat(resolved.c_str(), &status) == 0 &&
           S_ISDIR(status.st_mode);
}

// Windows tells a missing last name (ERROR_FILE_NOT_FOUND, or
// ERROR_DIRECTORY for a file) from a path that breaks off before it
// (ERROR_PATH_NOT_FOUND).
DWORD missingTargetError(std::string target, int error) {
    while (target.size() > 1 && target.back() == '/') target.pop_back();
    const size_t slash = target.rfind('/');
    const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : target.substr(0, slash);
    if (!isDirectory(parent)) return ERROR_PATH_NOT_FOUND;
    return error == ENOTDIR ? ERROR_DIRECTORY : ERROR_FILE_NOT_FOUND;
}

}  // namespace

DWORD WINAPI GetCurrentDirectoryA(DWORD bufferLength, LPSTR buffer) {
    if (nameStillHolds()) return answerText(current.named.c_str(), buffer, bufferLength);
    current = NamedDirectory{};
    char *path = getcwd(nullptr, 0);
    if (path == nullptr) {
        corvant::files::failWithErrno(errno);
        return 0;
    }
    current.named = path;
    current.actual = path;
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
    if (target.empty() || hasInvalidCharacter(path)) {
        SetLastError(ERROR_INVALID_NAME);
        return FALSE;
    }
    // The root of the drive, as the program names it.
    if (target == "/") target = corvant::files::driveRoot();

    std::string reached = target;
    int result = chdir(target.c_str());
    int error = result == 0 ? 0 : errno;
    if (error == ENOENT) {
        std::string resolved;
        if (corvant::files::resolveWithoutCase(target, resolved)) {
            result = chdir(resolved.c_str());
            error = result == 0 ? 0 : errno;
            reached = resolved;
        }
    }
    if (result != 0) {
        if (error == ENOENT || error == ENOTDIR) {
            SetLastError(missingTargetError(target, error));
            return FALSE;
        }
        return corvant::files::failWithErrno(error);
    }
    rememberMove(target, reached);
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
