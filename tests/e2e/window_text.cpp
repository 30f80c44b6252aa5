// Prints what a top-level window shows, so the Wine journeys can check the
// texts of a message box and the state of a dialog's buttons:
//   window_text TITLE
// TITLE ending in "*" stands for any title that starts with the rest (a
// caption that shows progress). First line "title<TAB>" and the window's
// title, then one line per child control:
// "CLASS<TAB>ID<TAB>enabled|disabled<TAB>TEXT" (tabs and line feeds in a
// text are shown as \t and \n), and after a list box one line per entry:
// "entry<TAB>INDEX<TAB>TEXT". Exit status 2 when no such window exists.
// Windows build only.
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/win32.h"

namespace {

std::string escaped(const char *text) {
    std::string out;
    for (const char *p = text; *p != '\0'; ++p) {
        if (*p == '\n') {
            out += "\\n";
        } else if (*p == '\t') {
            out += "\\t";
        } else if (*p != '\r') {
            out += *p;
        }
    }
    return out;
}

// The wide-character messages, converted here: the narrow ones are not
// translated when they cross into another process under Wine.
void printEntries(HWND list) {
    LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (LRESULT index = 0; index < count; ++index) {
        wchar_t wide[8192] = L"";
        char entry[8192 * 2] = "";
        LRESULT length = SendMessageW(list, LB_GETTEXTLEN, index, 0);
        if (length < 0 || length >= static_cast<LRESULT>(sizeof wide / sizeof wide[0])) {
            std::printf("entry\t%ld\t(too long)\n", static_cast<long>(index));
            continue;
        }
        SendMessageW(list, LB_GETTEXT, index, reinterpret_cast<LPARAM>(wide));
        WideCharToMultiByte(CP_ACP, 0, wide, -1, entry, sizeof entry, nullptr, nullptr);
        std::printf("entry\t%ld\t%s\n", static_cast<long>(index), escaped(entry).c_str());
    }
}

BOOL CALLBACK printControl(HWND control, LPARAM) {
    char className[64] = "";
    char text[2048] = "";
    GetClassNameA(control, className, sizeof className);
    GetWindowTextA(control, text, sizeof text);
    std::printf("%s\t%d\t%s\t%s\n", className, GetDlgCtrlID(control), IsWindowEnabled(control) ? "enabled" : "disabled",
                escaped(text).c_str());
    if (lstrcmpiA(className, "ListBox") == 0) {
        printEntries(control);
    }
    return TRUE;
}

struct TitleSearch {
    const char *prefix;
    size_t length;
    HWND found;
};

BOOL CALLBACK matchTitle(HWND window, LPARAM parameter) {
    auto *search = reinterpret_cast<TitleSearch *>(parameter);
    char title[1024] = "";
    GetWindowTextA(window, title, sizeof title);
    if (IsWindowVisible(window) && std::strncmp(title, search->prefix, search->length) == 0) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND findWindow(const std::string &title) {
    if (title.empty() || title.back() != '*') return FindWindowA(nullptr, title.c_str());
    TitleSearch search{title.c_str(), title.size() - 1, nullptr};
    EnumWindows(matchTitle, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: window_text TITLE\n");
        return 1;
    }
    HWND window = findWindow(argv[1]);
    if (window == nullptr) {
        return 2;
    }
    char title[1024] = "";
    GetWindowTextA(window, title, sizeof title);
    std::printf("title\t%s\n", escaped(title).c_str());
    EnumChildWindows(window, printControl, 0);
    std::fflush(stdout);
    return 0;
}
