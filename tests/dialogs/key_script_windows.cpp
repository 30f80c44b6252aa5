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

// False for steps that only the scripted screen knows ({Snap}, {Resize:...}).
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
    if (name == "Snap" || name.compare(0, 7, "Resize:") == 0) return false;
    throw std::invalid_argument("unknown key in script: {" + name + "}");
}

// Types the next ordinary key, or, when the dialog is busy, the busy keys
// up to the next {Pass}. Out of keys, a waiting dialog is ended with -1.
void typeNext(HWND dialog, bool busy) {
    Keyboard &k = keyboard();
    // A waiting dialog lets every {Pass} go by.
    while (!busy && !k.steps.empty() && k.steps.front().presses.empty()) {
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
            if (step.presses.empty()) break;
            presses.insert(presses.end(), step.presses.begin(), step.presses.end());
        }
    } else {
        if (k.steps.front().busy) k.busyLate = true;
        presses = k.steps.front().presses;
        k.steps.pop_front();
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
    // Key messages left over from an earlier test.
    MSG message;
    while (PeekMessageA(&message, nullptr, WM_KEYFIRST, WM_KEYLAST, PM_REMOVE)) {}
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
