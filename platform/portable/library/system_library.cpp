// The modules that the portable layer implements itself, handed out by
// LoadLibraryA only for their full path in the system folder.
#include <cstring>
#include <string>

#include "platform/portable/files/system_folders.h"
#include "platform/portable/test_hooks.h"
#include "platform/portable/version/version_functions.h"
#include "platform/portable/windows_api.h"

namespace {

struct Export {
    const char *name;
    FARPROC function;
};

template <typename Function>
FARPROC exported(Function function) {
    return reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(function));
}

struct Module {
    const char *fileName;
    Export exports[3];
    unsigned loads;  // LoadLibraryA calls not yet matched by FreeLibrary
};

Module versionModule = {"version.dll",
                        {{"GetFileVersionInfoSizeA", exported(corvant::version::getFileVersionInfoSize)},
                         {"GetFileVersionInfoA", exported(corvant::version::getFileVersionInfo)},
                         {"VerQueryValueA", exported(corvant::version::verQueryValue)}},
                        0};
Module *const modules[] = {&versionModule};

bool systemFolder(std::string &folder) {
    const char *windows = corvant::files::windowsDirectory();
    if (windows == nullptr) return false;
    folder = windows;
    if (folder.empty() || folder.back() != '/') folder += '/';
    folder += "system32";
    return true;
}

bool sameLetters(const char *a, const char *b) {
    for (; *a && *b; ++a, ++b) {
        const char x = *a >= 'A' && *a <= 'Z' ? static_cast<char>(*a - 'A' + 'a') : *a;
        const char y = *b >= 'A' && *b <= 'Z' ? static_cast<char>(*b - 'A' + 'a') : *b;
        if (x != y) return false;
    }
    return *a == *b;
}

Module *moduleOf(HMODULE handle) {
    for (Module *module : modules)
        if (reinterpret_cast<HMODULE>(module) == handle && module->loads > 0) return module;
    return nullptr;
}

}  // namespace

UINT WINAPI GetSystemDirectoryA(LPSTR buffer, UINT size) {
    std::string folder;
    if (!systemFolder(folder)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    if (buffer == nullptr || size <= folder.size()) return static_cast<UINT>(folder.size() + 1);
    std::memcpy(buffer, folder.c_str(), folder.size() + 1);
    return static_cast<UINT>(folder.size());
}

HMODULE WINAPI LoadLibraryA(LPCSTR fileName) {
    std::string folder;
    const size_t folderLength = systemFolder(folder) ? folder.size() : 0;
    // The folder, a separator of either kind, and the module's file name.
    if (fileName != nullptr && folderLength > 0 && std::strncmp(fileName, folder.c_str(), folderLength) == 0 &&
        (fileName[folderLength] == '\\' || fileName[folderLength] == '/')) {
        for (Module *module : modules) {
            if (!sameLetters(fileName + folderLength + 1, module->fileName)) continue;
            ++module->loads;
            return reinterpret_cast<HMODULE>(module);
        }
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

FARPROC WINAPI GetProcAddress(HMODULE handle, LPCSTR procName) {
    Module *module = moduleOf(handle);
    if (module == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    // A name, not an ordinal (a pointer value below 0x10000).
    if (reinterpret_cast<ULONG_PTR>(procName) >= 0x10000) {
        for (const Export &item : module->exports)
            if (std::strcmp(item.name, procName) == 0) return item.function;
    }
    SetLastError(ERROR_PROC_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI FreeLibrary(HMODULE handle) {
    Module *module = moduleOf(handle);
    if (module == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    --module->loads;
    return TRUE;
}

namespace corvant::testing {

size_t loadedLibraryCount() {
    size_t count = 0;
    for (const Module *module : modules) count += module->loads;
    return count;
}

}  // namespace corvant::testing
