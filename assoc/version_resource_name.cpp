#include "assoc/version_resource_name.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/win32.h"

namespace {

// Version resources are a few kilobytes; a size far beyond that is a
// damaged or hostile file, not a bigger name.
const DWORD maxBlockSize = 1024 * 1024;
// Longer than any program's name; such text is not shown.
const size_t maxNameLength = 200;

typedef DWORD(WINAPI *GetSizeFunction)(LPCSTR, LPDWORD);
typedef BOOL(WINAPI *GetInfoFunction)(LPCSTR, DWORD, DWORD, LPVOID);
typedef BOOL(WINAPI *QueryFunction)(LPCVOID, LPCSTR, LPVOID *, UINT *);

template <typename Function>
Function lookUp(HMODULE library, const char *name) {
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(library, name)));
}

// version.dll is no KnownDLL: loaded by name, it would be looked for first
// beside the program, where anyone may have put one.
HMODULE loadVersionLibrary() {
    char path[MAX_PATH + 16];
    const UINT length = GetSystemDirectoryA(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return nullptr;
    std::strcat(path, "\\version.dll");
    return LoadLibraryA(path);
}

class VersionBlock {
public:
    VersionBlock(QueryFunction query, std::vector<BYTE> &bytes) : query_(query), bytes_(bytes) {}

    // The value at path, if it lies wholly inside the block: at most length
    // bytes of it, as the resource gave them.
    bool find(const char *path, const BYTE *&value, size_t &length) const {
        LPVOID found = nullptr;
        UINT foundLength = 0;
        if (!query_(bytes_.data(), path, &found, &foundLength) || found == nullptr) return false;
        const BYTE *begin = bytes_.data();
        const BYTE *end = begin + bytes_.size();
        value = static_cast<const BYTE *>(found);
        if (value < begin || value >= end) return false;
        length = foundLength < static_cast<size_t>(end - value) ? foundLength : static_cast<size_t>(end - value);
        return true;
    }

    // The text at path, up to its terminating zero or its length.
    std::string text(const char *path) const {
        const BYTE *value = nullptr;
        size_t length = 0;
        if (!find(path, value, length)) return std::string();
        const char *letters = reinterpret_cast<const char *>(value);
        return std::string(letters, strnlen(letters, length));
    }

private:
    QueryFunction query_;
    std::vector<BYTE> &bytes_;
};

// The name without the blanks around it; "" when it is not fit to be shown.
std::string usableName(const std::string &text) {
    const size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return std::string();
    const std::string name = text.substr(first, text.find_last_not_of(' ') - first + 1);
    if (name.size() > maxNameLength) return std::string();
    for (char letter : name)
        if (static_cast<unsigned char>(letter) < 0x20 || letter == 0x7f) return std::string();
    return name;
}

std::string nameFromBlock(QueryFunction query, std::vector<BYTE> &bytes) {
    const VersionBlock block(query, bytes);
    const BYTE *translation = nullptr;
    size_t length = 0;
    // Pairs of a language and a code page; the first is the resource's own.
    if (!block.find("\\VarFileInfo\\Translation", translation, length) || length < 4) return std::string();
    const unsigned language = translation[0] | translation[1] << 8;
    const unsigned codePage = translation[2] | translation[3] << 8;
    for (const char *field : {"FileDescription", "ProductName"}) {
        char path[64];
        std::snprintf(path, sizeof path, "\\StringFileInfo\\%04x%04x\\%s", language, codePage, field);
        const std::string name = usableName(block.text(path));
        if (!name.empty()) return name;
    }
    return std::string();
}

}  // namespace

std::string versionResourceName(const char *executablePath) {
    const HMODULE library = loadVersionLibrary();
    if (library == nullptr) return std::string();
    const auto getSize = lookUp<GetSizeFunction>(library, "GetFileVersionInfoSizeA");
    const auto getInfo = lookUp<GetInfoFunction>(library, "GetFileVersionInfoA");
    const auto query = lookUp<QueryFunction>(library, "VerQueryValueA");
    std::string name;
    if (getSize && getInfo && query) {
        DWORD ignored = 0;
        const DWORD size = getSize(executablePath, &ignored);
        if (size > 0 && size <= maxBlockSize) {
            std::vector<BYTE> bytes(size);
            if (getInfo(executablePath, 0, size, bytes.data())) name = nameFromBlock(query, bytes);
        }
    }
    FreeLibrary(library);
    return name;
}
