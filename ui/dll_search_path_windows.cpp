#include "ui/dll_search_path.h"

#include "platform/win32.h"

void leaveCurrentDirectoryOffDllSearchPath() {
    // SetDllDirectoryA came with Windows XP SP1; it is looked up so that the
    // program still starts where it is missing.
    typedef BOOL(WINAPI * SetDllDirectoryFunction)(LPCSTR);
    HMODULE kernel = GetModuleHandleA("kernel32.dll");
    if (!kernel) return;
    const auto setDllDirectory = reinterpret_cast<SetDllDirectoryFunction>(
        reinterpret_cast<void (*)()>(GetProcAddress(kernel, "SetDllDirectoryA")));
    if (setDllDirectory) setDllDirectory("");
}
