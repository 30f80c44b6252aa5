// The system's own message boxes, read and answered from a second thread:
// the box runs its modal loop on the thread that showed it, which goes on
// handling the messages posted to it.
#include <string>

#include "platform/win32.h"
#include "tests/ui/message_box_answers.h"

namespace corvant::testing {
namespace {

// The system's message box shows its text in the static control with this identifier.
constexpr int boxTextId = 0xFFFF;

struct Watch {
    DWORD thread = 0;
    int answer = IDOK;
    HANDLE stop = nullptr;
    std::vector<AnsweredBox> boxes;
};

struct Search {
    HWND found = nullptr;
    HWND answered = nullptr;
};

BOOL CALLBACK findBox(HWND window, LPARAM parameter) {
    Search &search = *reinterpret_cast<Search *>(parameter);
    char className[16] = "";
    GetClassNameA(window, className, sizeof className);
    if (lstrcmpA(className, "#32770") != 0 || !IsWindowVisible(window) || window == search.answered) return TRUE;
    search.found = window;
    return FALSE;
}

std::string windowText(HWND window) {
    const int length = GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, &text[0], length + 1)));
    return text;
}

BOOL CALLBACK findIcon(HWND control, LPARAM parameter) {
    char className[16] = "";
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || (GetWindowLongA(control, GWL_STYLE) & SS_TYPEMASK) != SS_ICON)
        return TRUE;
    *reinterpret_cast<HICON *>(parameter) = reinterpret_cast<HICON>(SendMessageA(control, STM_GETICON, 0, 0));
    return FALSE;
}

// The flags that give the box its buttons and icon, read back from what it shows.
unsigned styleOf(HWND box) {
    unsigned style = 0;
    if (GetDlgItem(box, IDYES) && GetDlgItem(box, IDNO))
        style = GetDlgItem(box, IDCANCEL) ? MB_YESNOCANCEL : MB_YESNO;
    else if (GetDlgItem(box, IDOK))
        style = GetDlgItem(box, IDCANCEL) ? MB_OKCANCEL : MB_OK;
    HICON icon = nullptr;
    EnumChildWindows(box, findIcon, reinterpret_cast<LPARAM>(&icon));
    if (!icon) return style;
    const struct {
        LPCSTR name;
        unsigned flag;
    } icons[] = {{IDI_HAND, MB_ICONHAND},
                 {IDI_QUESTION, MB_ICONQUESTION},
                 {IDI_EXCLAMATION, MB_ICONEXCLAMATION},
                 {IDI_ASTERISK, MB_ICONASTERISK}};
    for (const auto &known : icons)
        if (LoadIconA(nullptr, known.name) == icon) return style | known.flag;
    return style | MB_USERICON;
}

DWORD WINAPI watchBoxes(void *parameter) {
    Watch &watch = *static_cast<Watch *>(parameter);
    Search search;
    while (WaitForSingleObject(watch.stop, 20) == WAIT_TIMEOUT) {
        search.found = nullptr;
        EnumThreadWindows(watch.thread, findBox, reinterpret_cast<LPARAM>(&search));
        if (!search.found) continue;
        HWND box = search.found;
        watch.boxes.push_back({windowText(GetDlgItem(box, boxTextId)), windowText(box), styleOf(box)});
        // Without the wanted button, the first one, which is the default.
        int id = watch.answer;
        if (!GetDlgItem(box, id)) id = GetDlgItem(box, IDYES) ? IDYES : IDOK;
        HWND button = GetDlgItem(box, id);
        PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
        search.answered = box;
    }
    return 0;
}

}  // namespace

std::vector<AnsweredBox> answerMessageBoxes(const std::function<void()> &show, int answer) {
    Watch watch;
    watch.thread = GetCurrentThreadId();
    watch.answer = answer;
    watch.stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    HANDLE watcher = CreateThread(nullptr, 0, watchBoxes, &watch, 0, nullptr);
    show();
    SetEvent(watch.stop);
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    CloseHandle(watch.stop);
    return watch.boxes;
}

}  // namespace corvant::testing
