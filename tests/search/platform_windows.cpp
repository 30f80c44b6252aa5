// The Windows build's list box and drive root for the search tests.
#include "tests/search/search_fixture.h"

namespace corvant::testing {

const char separator = '\\';

HWND createSortedListBox() {
    return CreateWindowExA(0, "LISTBOX", "", WS_POPUP | LBS_SORT | LBS_HASSTRINGS, 0, 0, 400, 300, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void destroyListBox(HWND listBox) { DestroyWindow(listBox); }

// The folder is given a drive letter of its own for the search.
bool searchFromDriveRoot(const std::string &folder, std::string &root, std::vector<std::string> &entries) {
    const DWORD drivesInUse = GetLogicalDrives();
    char drive[] = "?:";
    for (char letter = 'Z'; letter > 'D' && drive[0] == '?'; --letter) {
        if ((drivesInUse & (1u << (letter - 'A'))) == 0) drive[0] = letter;
    }
    if (drive[0] == '?' || !DefineDosDeviceA(0, drive, folder.c_str())) return false;
    const std::string start = currentDirectory();
    const std::string driveRoot = std::string(drive) + "\\";
    bool searched = false;
    if (SetCurrentDirectoryA(driveRoot.c_str())) {
        searchTree();
        root = currentDirectory();
        entries = listEntries(resultList);
        searched = true;
    }
    SetCurrentDirectoryA(start.c_str());
    DefineDosDeviceA(DDD_REMOVE_DEFINITION, drive, folder.c_str());
    return searched;
}

}  // namespace corvant::testing
