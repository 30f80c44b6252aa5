#include "search/tree_search.h"

#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <utility>
#include <vector>

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

bool isDotOrDotDot(const char *name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// A name that Windows cannot hold. Where the file system allows one (a
// folder named "\" or "..\.." on Linux), it is not entered: spelt as a
// Windows path it would name another folder, or none. The name is read
// character by character in the ANSI code page: in the double-byte code
// pages a character's second byte may be that of '\' or '|'.
bool isForeignName(const char *name) {
    for (const char *c = name; *c != '\0'; c = CharNextExA(CP_ACP, c, 0)) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (IsDBCSLeadByteEx(CP_ACP, byte)) continue;
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

const char *targetName() { return browserSettings.browserIsNetscape ? "NETSCAPE.EXE" : "IEXPLORE.EXE"; }

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

// A folder on the way down: the names of its subfolders still to be walked
// (each followed by a zero), and the length of its own name.
struct Level {
    std::string subfolders;
    size_t next = 0;
    size_t pathLength = 0;
};

// One walk. It goes down by the subfolders' names and back with "..", so its
// place is the current directory; per folder on the way down it keeps only
// the names still to be walked, not an open enumeration, so that a deep tree
// costs little. The length of the current directory's name is kept here
// rather than asked for.
class Walk {
public:
    // The browser type is read once: the walk looks for one name throughout.
    explicit Walk(SearchObserver *observer) : observer_(observer), target_(targetName()) {}

    Outcome run() {
        std::unique_ptr<char[]> start(new (std::nothrow) char[fullPathSize]);
        std::unique_ptr<WIN32_FIND_DATAA> entry(new (std::nothrow) WIN32_FIND_DATAA);
        if (!start || !entry) return Outcome::Finished;
        const DWORD length = GetCurrentDirectoryA(fullPathSize, start.get());
        // Only a drive root ends in a separator.
        startEndsInSeparator_ = length > 0 && length < fullPathSize && start[length - 1] == pathSeparator;
        start.reset();

        if (!visit(length, *entry)) return Outcome::Stopped;
        while (!levels_.empty()) {
            Level &level = levels_.back();
            if (level.next >= level.subfolders.size()) {
                levels_.pop_back();
                if (levels_.empty()) break;
                if (!SetCurrentDirectoryA("..")) return Outcome::Lost;
                continue;
            }
            const char *name = level.subfolders.c_str() + level.next;
            const size_t nameLength = std::strlen(name);
            level.next += nameLength + 1;
            const size_t separatorLength = levels_.size() == 1 && startEndsInSeparator_ ? 0 : 1;
            const size_t childLength = level.pathLength + separatorLength + nameLength;
            if (!SetCurrentDirectoryA(name)) continue;
            if (!visit(childLength, *entry)) return unwind(levels_.size());
        }
        return Outcome::Finished;
    }

    // Examines the executables of the current directory, with entry as
    // room for the entries.
    bool scan(WIN32_FIND_DATAA &entry) {
        FindHandle find("*.exe", entry);
        if (!find.started()) return true;
        do {
            if (!examined()) return false;
            examine(entry);
        } while (find.next(entry));
        return true;
    }

private:
    // Lists the entry if it is the browser. A folder never is, whatever its
    // name, nor anything that the apply would refuse as no file (a pipe, a
    // socket or a device, which a listing shows like a file).
    void examine(WIN32_FIND_DATAA &entry) {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
        char *name = entry.cFileName;
        if (!isTargetName(name)) return;
        const DWORD attributes = GetFileAttributesA(name);
        if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return;
        upperCaseInPlace(name);
        list(name);
    }

    // The target's name, with a to z in either case.
    bool isTargetName(const char *name) const {
        size_t i = 0;
        for (; name[i] != '\0' && target_[i] != '\0'; ++i) {
            const char upper = name[i] >= 'a' && name[i] <= 'z' ? static_cast<char>(name[i] - 'a' + 'A') : name[i];
            if (upper != target_[i]) return false;
        }
        return name[i] == target_[i];
    }

    void list(const char *name) {
        std::unique_ptr<char[]> fullPath(new (std::nothrow) char[fullPathSize]);
        if (fullPath && composeFullPath(fullPath.get(), name)) {
            SendMessageA(resultList, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(fullPath.get()));
        }
    }

    bool report(BOOL (SearchObserver::*call)()) { return observer_ == nullptr || (observer_->*call)() != FALSE; }

    bool examined() {
        if (++sinceReport_ < entriesPerReport) return true;
        sinceReport_ = 0;
        return report(&SearchObserver::entriesExamined);
    }

    // In the folder just entered: reports it, examines its executables and
    // notes the subfolders to walk. False when the observer stopped the walk.
    // One enumeration of every entry does both: the executables it lists are
    // those that "*.exe" would bring, since the browser's name ends in ".EXE".
    bool visit(size_t pathLength, WIN32_FIND_DATAA &entry) {
        if (!report(&SearchObserver::folderEntered)) return false;
        Level level;
        level.pathLength = pathLength;
        FindHandle find("*.*", entry);
        if (find.started()) {
            do {
                if (!examined()) return false;
                if (isWalkedInto(entry, pathLength)) {
                    level.subfolders.append(entry.cFileName).push_back('\0');
                } else {
                    examine(entry);
                }
            } while (find.next(entry));
        }
        levels_.push_back(std::move(level));
        return true;
    }

    bool isWalkedInto(const WIN32_FIND_DATAA &entry, size_t parentLength) const {
        const DWORD attributes = entry.dwFileAttributes;
        // Links, junctions and mount points lead out of the tree or back into it.
        if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 || (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
            isDotOrDotDot(entry.cFileName) || isForeignName(entry.cFileName)) {
            return false;
        }
        // Below a folder whose name leaves no room for the target's full path
        // nothing could be listed.
        const size_t separatorLength = levels_.empty() && startEndsInSeparator_ ? 0 : 1;
        const size_t length = parentLength + separatorLength + std::strlen(entry.cFileName);
        return length + 1 + targetNameLength + 1 <= fullPathSize;
    }

    // After a stop in the folder just entered, below the levels noted: back
    // to where the walk began.
    Outcome unwind(size_t depth) {
        for (size_t up = 0; up < depth; ++up) {
            if (!SetCurrentDirectoryA("..")) return Outcome::Lost;
        }
        return Outcome::Stopped;
    }

    SearchObserver *observer_;
    const char *target_;
    bool startEndsInSeparator_ = false;
    unsigned sinceReport_ = 0;
    std::vector<Level> levels_;
};

}  // namespace

void scanDirectory() {
    std::unique_ptr<WIN32_FIND_DATAA> entry(new (std::nothrow) WIN32_FIND_DATAA);
    if (entry) Walk(nullptr).scan(*entry);
}

void searchTree() { Walk(nullptr).run(); }

BOOL searchTree(SearchObserver &observer) { return Walk(&observer).run() == Outcome::Stopped ? FALSE : TRUE; }
