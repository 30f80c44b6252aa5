#include "ui/dll_search_path.h"

namespace {

template <typename Function>
Function kernelFunction(const char *name) {
    // kernel32.dll is in every process already: nothing is loaded here.
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(kernel, name)));
}

}  // namespace

void restrictDllSearchToSystemFolder() {
    // Windows 8 and later have SetDefaultDllDirectories, and so have Vista
    // and 7 with update KB2533623. It takes the program's own folder off the
    // search too.
    typedef BOOL(WINAPI * SetDefaultDllDirectoriesFunction)(DWORD);
    const auto setDefaultDllDirectories = kernelFunction<SetDefaultDllDirectoriesFunction>("SetDefaultDllDirectories");
    if (setDefaultDllDirectories) setDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // SetDllDirectoryA came with XP SP1. An empty folder takes the current
    // directory off the search, where the call above is missing, and also
    // for a LoadLibraryEx with LOAD_WITH_ALTERED_SEARCH_PATH, which does not
    // follow the default directories set above.
    typedef BOOL(WINAPI * SetDllDirectoryFunction)(LPCSTR);
    const auto setDllDirectory = kernelFunction<SetDllDirectoryFunction>("SetDllDirectoryA");
    if (setDllDirectory) setDllDirectory("");
}
