#include "assoc/registry_text.h"

#include <cstring>

bool setStringValue(HKEY key, const char *valueName, const char *text) {
    const DWORD size = static_cast<DWORD>(std::strlen(text) + 1);
    return RegSetValueExA(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE *>(text), size) == ERROR_SUCCESS;
}

bool setDwordValue(HKEY key, const char *valueName, DWORD number) {
    const BYTE bytes[4] = {static_cast<BYTE>(number), static_cast<BYTE>(number >> 8), static_cast<BYTE>(number >> 16),
                           static_cast<BYTE>(number >> 24)};
    return RegSetValueExA(key, valueName, 0, REG_DWORD, bytes, sizeof bytes) == ERROR_SUCCESS;
}
