// Stands in for a browser in the Wine journeys: writes the file name of the
// process that started it, then its arguments, one a line, to a file named
// after itself with ".txt" added. The file appears complete or not at all.
#include <windows.h>
#include <tlhelp32.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace {

std::string parentName() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return "?";
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    DWORD parent = 0;
    const DWORD self = GetCurrentProcessId();
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (entry.th32ProcessID == self) parent = entry.th32ParentProcessID;
    std::string name = "?";
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (parent != 0 && entry.th32ProcessID == parent) name = entry.szExeFile;
    CloseHandle(snapshot);
    return name;
}

}  // namespace

int main(int argc, char **argv) {
    const std::string record = std::string(argv[0]) + ".txt";
    const std::string partial = record + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        out << parentName() << '\n';
        for (int i = 1; i < argc; ++i) out << argv[i] << '\n';
        if (!out) return 1;
    }
    return std::rename(partial.c_str(), record.c_str()) == 0 ? 0 : 1;
}
