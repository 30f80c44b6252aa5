#include "search/tree_search.h"

#include <cstring>
#include <memory>
#include <new>

#include "assoc/browser_settings.h"
#include "search/find_handle.h"
#include "search/path_separator.h"

HWND resultList = nullptr;

namespace {

constexpr DWORD fullPathSize = 8192;

// What one scan needs; kept off the stack so that a deep walk's frames stay
// small even when the compiler folds the scan into the walk.
struct ScanState {
    WIN32_FIND_DATAA entry;
    char fullPath[fullPathSize];
};

bool isDotOrDotDot(const char *name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Only a to z change; bytes of other code pages stay as they are.
void upperCaseInPlace(char *name) {
    for (; *name != '\0'; ++name) {
        if (*name >= 'a' && *name <= 'z') *name = static_cast<char>(*name - 'a' + 'A');
    }
}

const char *targetName() {
    return browserSettings.browserIsNetscape ? "NETSCAPE.EXE" : "IEXPLORE.EXE";
}

// Puts the current directory, a separator where needed and the name into
// fullPath. A path that does not fit is refused rather than cut short.
bool composeFullPath(char *fullPath, const char *name) {
    DWORD length = GetCurrentDirectoryA(fullPathSize, fullPath);
    if (length == 0 || length >= fullPathSize) return false;
    const bool needsSeparator = fullPath[length - 1] != pathSeparator;
    const size_t nameLength = std::strlen(name);
    if (length + (needsSeparator ? 1 : 0) + nameLength + 1 > fullPathSize) return false;
    if (needsSeparator) fullPath[length++] = pathSeparator;
    std::memcpy(fullPath + length, name, nameLength + 1);
    return true;
}

// Walks the current directory's subtree. Returns false once the walk has
// lost its place (a ".." that failed), which ends the whole walk.
bool walk() {
    scanDirectory();

    std::unique_ptr<WIN32_FIND_DATAA> entry(new (std::nothrow) WIN32_FIND_DATAA);
    if (!entry) return true;
    FindHandle find("*.*", *entry);
    if (!find.started()) return true;
    do {
        const DWORD attributes = entry->dwFileAttributes;
        // Links, junctions and mount points lead out of the tree or back into it.
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
            (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || isDotOrDotDot(entry->cFileName)) {
            continue;
        }
        if (!SetCurrentDirectoryA(entry->cFileName)) continue;
        if (!walk() || !SetCurrentDirectoryA("..")) return false;
    } while (find.next(*entry));
    return true;
}

}  // namespace

void scanDirectory() {
    std::unique_ptr<ScanState> state(new (std::nothrow) ScanState);
    if (!state) return;
    FindHandle find("*.exe", state->entry);
    if (!find.started()) return;
    const char *target = targetName();
    do {
        char *name = state->entry.cFileName;
        if (isDotOrDotDot(name)) continue;
        upperCaseInPlace(name);
        if (std::strcmp(name, target) != 0) continue;
        if (!composeFullPath(state->fullPath, name)) continue;
        SendMessageA(resultList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(state->fullPath));
    } while (find.next(state->entry));
}

void searchTree() { walk(); }
