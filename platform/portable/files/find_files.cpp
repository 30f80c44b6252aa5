// FindFirstFileA, FindNextFileA and FindClose over directory listings and
// streams.
#include <cerrno>
#include <cstring>
#include <memory>
#include <new>
#include <unordered_set>

#include "platform/portable/files.h"
#include "platform/portable/files/directory_listing.h"
#include "platform/portable/files/name_pattern.h"
#include "platform/portable/files/path_names.h"
#include "platform/portable/files/win32_error.h"

namespace {

using corvant::files::DirectoryEntries;
using corvant::files::DirectoryListing;
using corvant::files::NamePattern;

struct FindState {
    DirectoryEntries entries;
    NamePattern pattern;
    size_t next = 0;  // in the listing
};

// Handles in use, so that a stale or foreign handle is refused, not followed.
std::unordered_set<const void *> &openFinds() {
    static std::unordered_set<const void *> finds;
    return finds;
}

FindState *findState(HANDLE handle) {
    return openFinds().count(handle) != 0 ? static_cast<FindState *>(handle) : nullptr;
}

void fill(WIN32_FIND_DATAA &data, const char *name, DWORD attributes) {
    data.dwFileAttributes = attributes;
    data.ftCreationTime = FILETIME{0, 0};
    data.ftLastAccessTime = FILETIME{0, 0};
    data.ftLastWriteTime = FILETIME{0, 0};
    data.nFileSizeHigh = 0;
    data.nFileSizeLow = 0;
    data.dwReserved0 = 0;
    data.dwReserved1 = 0;
    std::memcpy(data.cFileName, name, std::strlen(name) + 1);
    data.cAlternateFileName[0] = '\0';
}

// Fills data with the next entry that matches; sizes and times stay zero.
bool deliverNext(FindState &state, WIN32_FIND_DATAA &data) {
    const char *name = nullptr;
    DWORD attributes = 0;
    if (state.entries.stream) {
        while (state.entries.stream->next(name, attributes)) {
            if (!state.pattern.matches(name)) continue;
            fill(data, name, attributes);
            return true;
        }
        return false;
    }
    const DirectoryListing &listing = *state.entries.listing;
    while (state.next < listing.size()) {
        const size_t index = state.next++;
        name = listing.name(index);
        if (!state.pattern.matches(name)) continue;
        fill(data, name, listing.attributes(index));
        return true;
    }
    return false;
}

bool readWithoutCase(const std::string &directory, DirectoryEntries &entries) {
    if (corvant::files::readDirectory(directory, entries) || errno != ENOENT) return entries.listing || entries.stream;
    std::string resolved;
    if (!corvant::files::resolveWithoutCase(directory, resolved)) return false;
    return corvant::files::readDirectory(resolved, entries);
}

}  // namespace

HANDLE WINAPI FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA findData) {
    if (pattern == nullptr || findData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    const std::string path = corvant::files::toPosixPath(pattern);
    const size_t slash = path.rfind('/');
    const std::string directory = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const std::string namePattern = slash == std::string::npos ? path : path.substr(slash + 1);
    if (namePattern.empty()) {
        SetLastError(path.empty() ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }

    DirectoryEntries entries;
    if (!readWithoutCase(directory, entries)) {
        const int error = errno;
        SetLastError(error == ENOENT || error == ENOTDIR ? ERROR_PATH_NOT_FOUND
                                                         : corvant::files::win32ErrorFromErrno(error));
        return INVALID_HANDLE_VALUE;
    }
    std::unique_ptr<FindState> state(new (std::nothrow) FindState{std::move(entries), NamePattern(namePattern)});
    if (!state) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return INVALID_HANDLE_VALUE;
    }
    if (!deliverNext(*state, *findData)) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    openFinds().insert(state.get());
    return state.release();
}

BOOL WINAPI FindNextFileA(HANDLE find, LPWIN32_FIND_DATAA findData) {
    FindState *state = findState(find);
    if (state == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (findData == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (!deliverNext(*state, *findData)) {
        SetLastError(ERROR_NO_MORE_FILES);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE find) {
    FindState *state = findState(find);
    if (state == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    openFinds().erase(find);
    delete state;
    return TRUE;
}
