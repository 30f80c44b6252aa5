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
// "NETSCAPE.EXE" and "IEXPLORE.EXE" alike.
constexpr size_t targetNameLength = 12;
// Entries examined between two reports to the observer.
constexpr unsigned entriesPerReport = 256;

// What one scan needs; kept off the stack so that a deep walk's frames stay
// small even when the compiler folds the scan into the walk.
struct ScanState {
    WIN32_FIND_DATAA entry;
    char fullPath[fullPathSize];
};

bool isDotOrDotDot(const char *name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// A name that Windows cannot hold. Where the file system allows one (a
// folder named "\" or "..\.." on Linux), it is not entered: spelt as a
// Windows path it would name another folder, or none.
bool isForeignName(const char *name) {
    for (const char *c = name; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (byte < 0x20 || std::strchr("\\/:*?\"<>|", byte) != nullptr) return true;
    }
    return false;
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

enum class Outcome { Finished, Stopped, Lost };

// One walk: the observer to report to, and the length of the current
// directory's name, which the walk keeps itself instead of asking for it.
class Walk {
public:
    // The browser type is read once: the walk looks for one name throughout.
    explicit Walk(SearchObserver *observer) : observer_(observer), target_(targetName()) {}

    Outcome run() {
        std::unique_ptr<char[]> start(new (std::nothrow) char[fullPathSize]);
        const DWORD length = start ? GetCurrentDirectoryA(fullPathSize, start.get()) : 0;
        // Only a drive root ends in a separator.
        const bool endsInSeparator =
            length > 0 && length < fullPathSize && start[length - 1] == pathSeparator;
        start.reset();
        return walkHere(length, endsInSeparator ? 0 : 1);
    }

    // Examines the executables of the current directory.
    bool scan() {
        std::unique_ptr<ScanState> state(new (std::nothrow) ScanState);
        if (!state) return true;
        FindHandle find("*.exe", state->entry);
        if (!find.started()) return true;
        do {
            if (!examined()) return false;
            // A folder is never a browser, whatever its name.
            if ((state->entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
            char *name = state->entry.cFileName;
            upperCaseInPlace(name);
            if (std::strcmp(name, target_) != 0) continue;
            if (!composeFullPath(state->fullPath, name)) continue;
            SendMessageA(resultList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(state->fullPath));
        } while (find.next(state->entry));
        return true;
    }

private:
    bool report(BOOL (SearchObserver::*call)()) {
        return observer_ == nullptr || (observer_->*call)() != FALSE;
    }

    bool examined() {
        if (++sinceReport_ < entriesPerReport) return true;
        sinceReport_ = 0;
        return report(&SearchObserver::entriesExamined);
    }

    // Walks the current directory's subtree. pathLength is the length of
    // its name, separatorLength what a name below it adds besides its own.
    Outcome walkHere(size_t pathLength, size_t separatorLength) {
        if (!report(&SearchObserver::folderEntered) || !scan()) return Outcome::Stopped;

        std::unique_ptr<WIN32_FIND_DATAA> entry(new (std::nothrow) WIN32_FIND_DATAA);
        if (!entry) return Outcome::Finished;
        FindHandle find("*.*", *entry);
        if (!find.started()) return Outcome::Finished;
        do {
            if (!examined()) return Outcome::Stopped;
            const DWORD attributes = entry->dwFileAttributes;
            // Links, junctions and mount points lead out of the tree or back into it.
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 ||
                (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 || isDotOrDotDot(entry->cFileName) ||
                isForeignName(entry->cFileName)) {
                continue;
            }
            // Below a folder whose name leaves no room for the target's full
            // path nothing could be listed.
            const size_t childLength = pathLength + separatorLength + std::strlen(entry->cFileName);
            if (childLength + 1 + targetNameLength + 1 > fullPathSize) continue;
            if (!SetCurrentDirectoryA(entry->cFileName)) continue;
            const Outcome below = walkHere(childLength, 1);
            if (below == Outcome::Lost || !SetCurrentDirectoryA("..")) return Outcome::Lost;
            if (below == Outcome::Stopped) return Outcome::Stopped;
        } while (find.next(*entry));
        return Outcome::Finished;
    }

    SearchObserver *observer_;
    const char *target_;
    unsigned sinceReport_ = 0;
};

}  // namespace

void scanDirectory() { Walk(nullptr).scan(); }

void searchTree() { Walk(nullptr).run(); }

BOOL searchTree(SearchObserver &observer) {
    return Walk(&observer).run() == Outcome::Stopped ? FALSE : TRUE;
}
