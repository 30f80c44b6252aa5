// The keys of the shared dialog tests under Windows: real key presses
// (SendInput). An ordinary key is sent when a dialog's modal loop has
// nothing left to do (it then sends WM_ENTERIDLE to the dialog's owner); a
// {Busy} key when a dialog that is still handling a command changes its
// caption, as a searching dialog does each time it looks for input.
#include <deque>
#include <map>
#include <stdexcept>
#include <vector>

#include "tests/dialogs/key_script.h"

namespace corvant::testing {
namespace {

struct Step {
    std::vector<INPUT> presses;  // none for a {Pass}
    bool busy = false;
    // The mouse's left button, pressed or released (or both, a click) on the
    // control whose caption holds this text; found as the step is sent.
    std::string mouseTarget;
    bool press = false, release = false;
};

struct Keyboard {
    std::deque<Step> steps;
    bool ranDry = false;
    bool busyLate = false;
    std::map<HWND, DLGPROC> procedures;  // the dialogs run by runKeyedDialog
    DLGPROC starting = nullptr;          // the procedure of the dialog being created
    int commandDepth = 0;
};

Keyboard &keyboard() {
    static Keyboard instance;
    return instance;
}

INPUT keyEvent(WORD key, bool up) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return input;
}

Step press(WORD key, bool shift, bool alt) {
    Step step;
    if (alt) step.presses.push_back(keyEvent(VK_MENU, false));
    if (shift) step.presses.push_back(keyEvent(VK_SHIFT, false));
    step.presses.push_back(keyEvent(key, false));
    step.presses.push_back(keyEvent(key, true));
    if (shift) step.presses.push_back(keyEvent(VK_SHIFT, true));
    if (alt) step.presses.push_back(keyEvent(VK_MENU, true));
    return step;
}

Step character(char c, bool alt) {
    const SHORT scan = VkKeyScanA(c);
    if (scan == -1) throw std::invalid_argument(std::string("no key types ") + c);
    return press(static_cast<WORD>(scan & 0xFF), (scan & 0x100) != 0, alt);
}

// The caption as the control shows it: "&&" stands for "&", a lone "&" marks a mnemonic.
std::string shownCaption(const char *caption) {
    std::string shown;
    for (const char *c = caption; *c; ++c) {
        if (*c == '&' && c[1]) ++c;
        shown += *c;
    }
    return shown;
}

struct Search {
    const std::string *text;
    HWND found;
};

BOOL CALLBACK findCaption(HWND control, LPARAM lParam) {
    Search &search = *reinterpret_cast<Search *>(lParam);
    char caption[256] = "";
    GetWindowTextA(control, caption, sizeof caption);
    if (!IsWindowVisible(control) || shownCaption(caption).find(*search.text) == std::string::npos) return TRUE;
    search.found = control;
    return FALSE;
}

INPUT mouseEvent(DWORD flags, POINT at) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    input.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return input;
}

struct EntrySearch {
    const std::string *text;
    RECT place;
    bool found;
};

// An entry of a list box that holds the text: where it is on the screen.
BOOL CALLBACK findEntry(HWND control, LPARAM lParam) {
    EntrySearch &search = *reinterpret_cast<EntrySearch *>(lParam);
    char className[32] = "";
    GetClassNameA(control, className, sizeof className);
    if (lstrcmpiA(className, "ListBox") != 0) return TRUE;
    const LRESULT count = SendMessageA(control, LB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char entry[512] = "";
        if (SendMessageA(control, LB_GETTEXTLEN, i, 0) >= static_cast<LRESULT>(sizeof entry)) continue;
        SendMessageA(control, LB_GETTEXT, i, reinterpret_cast<LPARAM>(entry));
        if (std::string(entry).find(*search.text) == std::string::npos) continue;
        if (SendMessageA(control, LB_GETITEMRECT, i, reinterpret_cast<LPARAM>(&search.place)) == LB_ERR) continue;
        MapWindowPoints(control, nullptr, reinterpret_cast<POINT *>(&search.place), 2);
        search.found = true;
        return FALSE;
    }
    return TRUE;
}

// The button's movements over the middle of the dialog's control (or list
// entry) that holds the text; none (the script is then taken as run dry)
// when there is none.
std::vector<INPUT> mouseInputs(HWND dialog, const Step &step) {
    Search search{&step.mouseTarget, nullptr};
    EnumChildWindows(dialog, findCaption, reinterpret_cast<LPARAM>(&search));
    std::vector<INPUT> inputs;
    RECT place{};
    if (search.found) {
        if (!GetWindowRect(search.found, &place)) return inputs;
    } else {
        EntrySearch entries{&step.mouseTarget, {}, false};
        EnumChildWindows(dialog, findEntry, reinterpret_cast<LPARAM>(&entries));
        if (!entries.found) return inputs;
        place = entries.place;
    }
    POINT middle{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
    inputs.push_back(mouseEvent(0, middle));
    if (step.press) inputs.push_back(mouseEvent(MOUSEEVENTF_LEFTDOWN, middle));
    if (step.release) inputs.push_back(mouseEvent(MOUSEEVENTF_LEFTUP, middle));
    return inputs;
}

// False for steps that only the scripted screen knows ({Snap}, {Resize:...},
// the mouse at a cell).
bool namedStep(const std::string &name, Step &step) {
    static const struct {
        const char *name;
        WORD key;
        bool shift;
    } names[] = {
        {"Enter", VK_RETURN, false}, {"Esc", VK_ESCAPE, false},     {"Tab", VK_TAB, false},
        {"S-Tab", VK_TAB, true},     {"Space", VK_SPACE, false},    {"Up", VK_UP, false},
        {"Down", VK_DOWN, false},    {"Left", VK_LEFT, false},      {"Right", VK_RIGHT, false},
        {"Home", VK_HOME, false},    {"End", VK_END, false},        {"PgUp", VK_PRIOR, false},
        {"PgDn", VK_NEXT, false},    {"Backspace", VK_BACK, false}, {"Del", VK_DELETE, false},
    };
    for (const auto &entry : names)
        if (name == entry.name) {
            step = press(entry.key, entry.shift, false);
            return true;
        }
    if (name.size() == 3 && name.compare(0, 2, "A-") == 0) {
        step = character(name[2], true);
        return true;
    }
    for (const char *prefix : {"Click:", "Press:", "Release:"}) {
        const std::string start = prefix;
        if (name.compare(0, start.size(), start) != 0 || name.size() == start.size()) continue;
        const std::string target = name.substr(start.size());
        if (target.find_first_not_of("0123456789,") == std::string::npos) return false;
        step.mouseTarget = target;
        step.press = start != "Release:";
        step.release = start != "Press:";
        return true;
    }
    if (name == "Snap" || name.compare(0, 7, "Resize:") == 0 || name.compare(0, 6, "Wheel") == 0) return false;
    throw std::invalid_argument("unknown key in script: {" + name + "}");
}

// Types the next ordinary key, or, when the dialog is busy, the busy keys
// up to the next {Pass}. Out of keys, a waiting dialog is ended with -1.
void typeNext(HWND dialog, bool busy) {
    Keyboard &k = keyboard();
    // A waiting dialog lets every {Pass} go by.
    while (!busy && !k.steps.empty() && k.steps.front().presses.empty() && k.steps.front().mouseTarget.empty()) {
        if (k.steps.front().busy) k.busyLate = true;
        k.steps.pop_front();
    }
    if (k.steps.empty()) {
        if (!busy) {
            k.ranDry = true;
            EndDialog(dialog, -1);
        }
        return;
    }
    std::vector<INPUT> presses;
    if (busy) {
        while (!k.steps.empty() && k.steps.front().busy) {
            const Step step = k.steps.front();
            k.steps.pop_front();
            if (step.presses.empty() && step.mouseTarget.empty()) break;
            const std::vector<INPUT> inputs = step.mouseTarget.empty() ? step.presses : mouseInputs(dialog, step);
            presses.insert(presses.end(), inputs.begin(), inputs.end());
        }
    } else {
        if (k.steps.front().busy) k.busyLate = true;
        const Step step = k.steps.front();
        k.steps.pop_front();
        presses = step.mouseTarget.empty() ? step.presses : mouseInputs(dialog, step);
        if (presses.empty()) {
            k.ranDry = true;
            EndDialog(dialog, -1);
            return;
        }
    }
    if (!presses.empty()) SendInput(static_cast<UINT>(presses.size()), presses.data(), sizeof(INPUT));
}

LRESULT CALLBACK ownerProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_ENTERIDLE) {
        typeNext(reinterpret_cast<HWND>(lParam), false);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// A window of the test's own to own its dialogs, so that their idle
// messages reach the script.
HWND scriptOwner() {
    static HWND owner = [] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = ownerProcedure;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "CorvantKeyScriptOwner";
        RegisterClassA(&windowClass);
        return CreateWindowExA(0, "CorvantKeyScriptOwner", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                               GetModuleHandleA(nullptr), nullptr);
    }();
    return owner;
}

INT_PTR CALLBACK keyedProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    Keyboard &k = keyboard();
    if (message == WM_INITDIALOG) k.procedures[window] = k.starting;
    auto found = k.procedures.find(window);
    if (found == k.procedures.end()) return FALSE;
    DLGPROC procedure = found->second;
    if (message == WM_ENTERIDLE) {
        // From a dialog that this one owns.
        typeNext(reinterpret_cast<HWND>(lParam), false);
        return TRUE;
    }
    if (message == WM_SETTEXT && k.commandDepth > 0) typeNext(window, true);
    if (message == WM_COMMAND) ++k.commandDepth;
    const INT_PTR result = procedure(window, message, wParam, lParam);
    if (message == WM_COMMAND) --k.commandDepth;
    if (message == WM_DESTROY) k.procedures.erase(window);
    return result;
}

void parse(const std::string &script, std::deque<Step> &steps) {
    bool busy = false;
    for (size_t i = 0; i < script.size(); ++i) {
        Step step;
        const char c = script[i];
        if (c == '{' && i + 1 < script.size() && script[i + 1] == '{') {
            step = character('{', false);
            ++i;
        } else if (c == '{') {
            const size_t close = script.find('}', i);
            if (close == std::string::npos) throw std::invalid_argument("unclosed key: " + script.substr(i));
            const std::string name = script.substr(i + 1, close - i - 1);
            i = close;
            if (name == "Busy") {
                busy = true;
                continue;
            }
            if (name != "Pass" && !namedStep(name, step)) continue;
        } else if (c == '\n') {
            step = press(VK_RETURN, false, false);
        } else if (c == '\t') {
            step = press(VK_TAB, false, false);
        } else {
            step = character(c, false);
        }
        step.busy = busy;
        busy = false;
        steps.push_back(step);
    }
}

}  // namespace

KeyboardSession::KeyboardSession() {
    keyboard().steps.clear();
    keyboard().ranDry = false;
    keyboard().busyLate = false;
    // Key and mouse messages left over from an earlier test.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {}
    while (PeekMessageA(&message, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {}
}

KeyboardSession::~KeyboardSession() { keyboard().steps.clear(); }

void typeKeys(const std::string &script) { parse(script, keyboard().steps); }

bool scriptRanDry() { return keyboard().ranDry; }

bool busyKeysCameLate() { return keyboard().busyLate; }

INT_PTR runKeyedDialog(int templateId, DLGPROC proc, LPARAM initParam, HWND owner) {
    keyboard().starting = proc;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(templateId), owner ? owner : scriptOwner(),
                           keyedProcedure, initParam);
}

}  // namespace corvant::testing
