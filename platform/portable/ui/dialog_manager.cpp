#include "platform/portable/ui/dialog_manager.h"

#include <cctype>

#include "platform/portable/ui/canvas.h"
#include "platform/portable/ui/front_end.h"
#include "platform/portable/ui/edit_field.h"
#include "platform/portable/ui/list_box.h"
#include "platform/portable/ui/message_queue.h"
#include "platform/portable/ui/mnemonic.h"
#include "platform/portable/ui/screen_painter.h"

namespace corvant::ui {
namespace {

struct ManagerState {
    std::vector<HWND> dialogs;
    bool exhausted = false;
    FrontEnd *frontEnd = nullptr;
};

ManagerState &state() {
    static ManagerState instance;
    return instance;
}

}  // namespace

WindowKind windowKindOf(const DialogControlTemplate &control) {
    const std::string &name = control.className;
    auto is = [&name](const char *wanted) {
        if (name.size() != std::char_traits<char>::length(wanted)) return false;
        for (size_t i = 0; i < name.size(); ++i)
            if (std::tolower(static_cast<unsigned char>(name[i])) !=
                std::tolower(static_cast<unsigned char>(wanted[i])))
                return false;
        return true;
    };
    if (is("Button")) {
        switch (control.style & BS_TYPEMASK) {
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: return WindowKind::PushButton;
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return WindowKind::CheckBox;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return WindowKind::RadioButton;
        case BS_GROUPBOX: return WindowKind::GroupBox;
        default: return WindowKind::Other;
        }
    }
    if (is("Static")) return WindowKind::Static;
    if (is("ListBox")) return WindowKind::ListBox;
    if (is("Edit")) return WindowKind::Edit;
    return WindowKind::Other;
}

Window controlFromTemplate(const DialogControlTemplate &item) {
    Window control;
    control.kind = windowKindOf(item);
    control.id = static_cast<int>(static_cast<WORD>(item.id));
    if (item.id == 0xFFFFFFFFu || static_cast<WORD>(item.id) == 0xFFFF) control.id = -1;
    control.text = item.text.isNumber ? std::string() : item.text.name;
    control.style = item.style;
    control.exStyle = item.exStyle;
    control.x = item.x;
    control.y = item.y;
    control.cx = item.cx;
    control.cy = item.cy;
    control.enabled = !(item.style & WS_DISABLED);
    return control;
}

namespace {

HWND createDialog(const DialogTemplate &dialogTemplate, HWND owner, DLGPROC proc, LONG_PTR userData) {
    Window dialog;
    dialog.kind = WindowKind::Dialog;
    dialog.parent = owner;
    dialog.owner = owner;
    dialog.text = dialogTemplate.title;
    dialog.style = dialogTemplate.style;
    dialog.exStyle = dialogTemplate.exStyle;
    dialog.cx = dialogTemplate.cx;
    dialog.cy = dialogTemplate.cy;
    dialog.proc = proc;
    dialog.userData = userData;
    dialog.enabled = !(dialogTemplate.style & WS_DISABLED);
    HWND handle = createWindow(dialog);
    std::vector<HWND> children;
    for (const DialogControlTemplate &item : dialogTemplate.controls) {
        Window control = controlFromTemplate(item);
        control.parent = handle;
        children.push_back(createWindow(control));
    }
    findWindow(handle)->children = children;
    return handle;
}

bool isVisible(const Window &control) { return (control.style & WS_VISIBLE) != 0; }

bool passedOverByTab(Window &dialog, const Window &control);

// The focusable controls in tab order, starting after `from` (or at the start).
HWND nextTabStop(Window &dialog, HWND from, bool backwards) {
    const std::vector<HWND> &children = dialog.children;
    int n = static_cast<int>(children.size());
    if (n == 0) return nullptr;
    int start = -1;
    for (int i = 0; i < n; ++i)
        if (children[i] == from) start = i;
    for (int step = 1; step <= n; ++step) {
        int index;
        if (start < 0)
            index = backwards ? n - step : step - 1;
        else
            index = ((start + (backwards ? -step : step)) % n + n) % n;
        Window *control = findWindow(children[index]);
        if (control && (control->style & WS_TABSTOP) && canTakeFocus(*control) && !passedOverByTab(dialog, *control))
            return control->handle;
    }
    return nullptr;
}

// The dialog's controls in template order.
std::vector<Window *> controlsOf(const Window &dialog) {
    std::vector<Window *> controls;
    for (HWND child : dialog.children)
        if (Window *control = findWindow(child)) controls.push_back(control);
    return controls;
}

// The controls of the group holding `member`: from a WS_GROUP control up to the next one.
std::vector<Window *> groupOf(Window &dialog, const Window &member) {
    std::vector<Window *> all = controlsOf(dialog);
    size_t position = 0;
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i] == &member) position = i;
    size_t first = position;
    while (first > 0 && !(all[first]->style & WS_GROUP)) --first;
    size_t last = position + 1;
    while (last < all.size() && !(all[last]->style & WS_GROUP)) ++last;
    return std::vector<Window *>(all.begin() + first, all.begin() + last);
}

// Tab leads into a group of radio buttons at its checked one, as Windows
// does: the unchecked ones are passed over while one of them is checked.
bool passedOverByTab(Window &dialog, const Window &control) {
    if (control.kind != WindowKind::RadioButton || control.check == BST_CHECKED) return false;
    for (Window *other : groupOf(dialog, control))
        if (other->kind == WindowKind::RadioButton && other->check == BST_CHECKED) return true;
    return false;
}

// The keyboard moves the focus: a field it enters has its text selected, so
// that typing replaces it, as a dialog on Windows does.
void setFocusTo(Window &dialog, Window *control) {
    dialog.focus = control ? control->handle : nullptr;
    if (control && control->kind == WindowKind::Edit) selectAllText(*control);
}

void setFocusTo(Window &dialog, HWND control) {
    if (Window *window = findWindow(control); window && window->parent == dialog.handle) {
        setFocusTo(dialog, window);
    } else {
        dialog.focus = control;
    }
}

bool isAuto(const Window &button) {
    DWORD type = button.style & BS_TYPEMASK;
    return type == BS_AUTORADIOBUTTON || type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE;
}

void sendCommand(Window &dialog, int id, WORD code, HWND control) {
    sendToDialog(dialog, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(control));
}

// What a mouse click on the control would do.
void click(Window &dialog, Window &control) {
    if (!control.enabled) return;
    if (isAuto(control)) {
        if (control.kind == WindowKind::RadioButton) {
            for (Window *other : groupOf(dialog, control))
                if (other != &control && other->kind == WindowKind::RadioButton && isAuto(*other))
                    other->check = BST_UNCHECKED;
            control.check = BST_CHECKED;
        } else if ((control.style & BS_TYPEMASK) == BS_AUTO3STATE) {
            control.check = (control.check + 1) % 3;
        } else {
            control.check = control.check == BST_CHECKED ? BST_UNCHECKED : BST_CHECKED;
        }
    }
    sendCommand(dialog, control.id, BN_CLICKED, control.handle);
}

Window *focusedControl(Window &dialog) {
    Window *control = findWindow(dialog.focus);
    return control && control->parent == dialog.handle ? control : nullptr;
}

// The focus is somewhere in the dialog: on a control or on the dialog itself
// (which has no control that can take it).
bool hasFocus(Window &dialog) { return dialog.focus == dialog.handle || focusedControl(dialog) != nullptr; }

// The dialog manager's own handling of WM_NEXTDLGCTL: the control in wParam
// when lParam says so, otherwise the next (wParam 0) or previous tab stop.
void moveFocusOnRequest(Window &dialog, WPARAM wParam, LPARAM lParam) {
    HWND target = nullptr;
    if (LOWORD(lParam) != 0) {
        Window *control = findWindow(reinterpret_cast<HWND>(wParam));
        if (control && control->parent == dialog.handle && canTakeFocus(*control)) target = control->handle;
    } else {
        target = nextTabStop(dialog, focusedControl(dialog) ? dialog.focus : nullptr, wParam != 0);
    }
    if (target) setFocusTo(dialog, target);
}

void pressEnter(Window &dialog) {
    Window *focus = focusedControl(dialog);
    if (focus && focus->kind == WindowKind::PushButton && focus->enabled) {
        sendCommand(dialog, focus->id, BN_CLICKED, focus->handle);
        return;
    }
    for (HWND child : dialog.children) {
        Window *control = findWindow(child);
        if (control && control->kind == WindowKind::PushButton && (control->style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) {
            if (control->enabled) sendCommand(dialog, control->id, BN_CLICKED, control->handle);
            return;
        }
    }
    Window *ok = findChild(dialog, IDOK);
    sendCommand(dialog, IDOK, BN_CLICKED, ok ? ok->handle : nullptr);
}

void moveInGroup(Window &dialog, Window &focus, bool backwards) {
    std::vector<Window *> group = groupOf(dialog, focus);
    int n = static_cast<int>(group.size());
    int position = 0;
    for (int i = 0; i < n; ++i)
        if (group[i] == &focus) position = i;
    for (int step = 1; step < n; ++step) {
        Window *candidate = group[((position + (backwards ? -step : step)) % n + n) % n];
        if (!canTakeFocus(*candidate)) continue;
        setFocusTo(dialog, candidate);
        if (candidate->kind == WindowKind::RadioButton && isAuto(*candidate)) click(dialog, *candidate);
        return;
    }
}

void activateMnemonic(Window &dialog, char letter) {
    std::vector<Window *> matches;
    std::vector<Window *> all = controlsOf(dialog);
    // Search from the control after the focus, so that repeated presses cycle.
    size_t start = 0;
    for (size_t i = 0; i < all.size(); ++i)
        if (all[i]->handle == dialog.focus) start = i + 1;
    for (size_t step = 0; step < all.size(); ++step) {
        Window *control = all[(start + step) % all.size()];
        if (isVisible(*control) && !(control->style & SS_NOPREFIX && control->kind == WindowKind::Static) &&
            mnemonicMatches(control->text, letter))
            matches.push_back(control);
    }
    if (matches.empty()) return;
    Window *target = matches.front();
    if (target->kind == WindowKind::Static || target->kind == WindowKind::GroupBox) {
        // A label's letter moves to the control that follows it.
        if (!target->enabled) return;
        for (size_t i = 0; i < all.size(); ++i)
            if (all[i] == target)
                for (size_t j = i + 1; j < all.size(); ++j)
                    if (canTakeFocus(*all[j])) {
                        setFocusTo(dialog, all[j]);
                        return;
                    }
        return;
    }
    if (!canTakeFocus(*target)) return;
    setFocusTo(dialog, target);
    bool unique = matches.size() == 1;
    if (unique && target->kind != WindowKind::ListBox && target->kind != WindowKind::Edit) click(dialog, *target);
}

bool wantsCharacters(const Window *focus) {
    return focus && (focus->kind == WindowKind::ListBox || focus->kind == WindowKind::Edit);
}

}  // namespace

FrontEnd *activeFrontEnd() { return state().frontEnd; }
void setActiveFrontEnd(FrontEnd *frontEnd) { state().frontEnd = frontEnd; }

const std::vector<HWND> &openDialogs() { return state().dialogs; }
bool inputExhausted() { return state().exhausted; }

void resetDialogManager() {
    ManagerState &s = state();
    for (HWND dialog : s.dialogs)
        if (Window *window = findWindow(dialog)) {
            window->ended = true;
            window->result = -1;
        }
    s.dialogs.clear();
    s.exhausted = false;
    destroyAllWindows();
    resetMessageQueue();
}

void clickControl(Window &dialog, Window &control) { click(dialog, control); }

bool canTakeFocus(const Window &control) {
    if (!control.enabled || !isVisible(control)) return false;
    switch (control.kind) {
    case WindowKind::PushButton:
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
    case WindowKind::ListBox:
    case WindowKind::Edit: return true;
    default: return false;
    }
}

INT_PTR sendToDialog(Window &dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!dialog.proc) return FALSE;
    return dialog.proc(dialog.handle, message, wParam, lParam);
}

void redrawScreen() {
    FrontEnd *frontEnd = activeFrontEnd();
    if (!frontEnd) return;
    Canvas screen(frontEnd->columns(), frontEnd->rows());
    screen.dimShown = frontEnd->showsDim();
    paintScreen(screen, state().dialogs);
    frontEnd->present(screen);
}

void handleDialogKey(Window &dialog, const Key &key) {
    // While nothing in the dialog has the focus, Windows hands keys to the
    // dialog as system keys: only letters act, as mnemonics.
    if (!hasFocus(dialog)) {
        if (key.code == KeyCode::Character) activateMnemonic(dialog, key.character);
        return;
    }
    Window *focus = focusedControl(dialog);
    if (focus && focus->kind == WindowKind::ListBox && listBoxKey(*focus, key)) return;
    if (focus && focus->kind == WindowKind::Edit && editFieldKey(*focus, key)) return;
    switch (key.code) {
    case KeyCode::Tab:
    case KeyCode::BackTab: {
        HWND next = nextTabStop(dialog, focus ? dialog.focus : nullptr, key.code == KeyCode::BackTab);
        if (next) setFocusTo(dialog, next);
        return;
    }
    case KeyCode::Enter: pressEnter(dialog); return;
    case KeyCode::Escape: {
        Window *cancel = findChild(dialog, IDCANCEL);
        sendCommand(dialog, IDCANCEL, BN_CLICKED, cancel ? cancel->handle : nullptr);
        return;
    }
    case KeyCode::Space:
        if (focus && focus->kind != WindowKind::ListBox && focus->kind != WindowKind::Edit) click(dialog, *focus);
        return;
    case KeyCode::Up:
    case KeyCode::Left:
    case KeyCode::Down:
    case KeyCode::Right:
        if (focus) moveInGroup(dialog, *focus, key.code == KeyCode::Up || key.code == KeyCode::Left);
        return;
    case KeyCode::Character:
        if (key.alt || !wantsCharacters(focus)) activateMnemonic(dialog, key.character);
        return;
    default: return;
    }
}

LRESULT dialogMessage(Window &dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND handle = dialog.handle;
    INT_PTR handled = sendToDialog(dialog, message, wParam, lParam);
    // The procedure may have ended the dialog and its windows with it.
    Window *still = findWindow(handle);
    if (handled || !still) return handled;
    switch (message) {
    case WM_NEXTDLGCTL: moveFocusOnRequest(*still, wParam, lParam); return 0;
    case WM_SETTEXT: still->text = lParam ? reinterpret_cast<const char *>(lParam) : ""; return TRUE;
    case WM_CLOSE: {
        Window *cancel = findChild(*still, IDCANCEL);
        PostMessageA(handle, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(cancel ? cancel->handle : nullptr));
        return 0;
    }
    default: return 0;
    }
}

Window *activeDialog() {
    const std::vector<HWND> &dialogs = state().dialogs;
    return dialogs.empty() ? nullptr : findWindow(dialogs.back());
}

INT_PTR runDialog(const DialogTemplate &dialogTemplate, HWND owner, DLGPROC proc, LPARAM initParam, LONG_PTR userData) {
    ManagerState &s = state();
    if (!s.frontEnd) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return -1;
    }
    HWND handle = createDialog(dialogTemplate, owner, proc, userData);
    Window *ownerWindow = findWindow(owner);
    bool reenableOwner = ownerWindow && ownerWindow->enabled;
    if (reenableOwner) ownerWindow->enabled = false;
    s.dialogs.push_back(handle);

    Window *dialog = findWindow(handle);
    HWND first = nextTabStop(*dialog, nullptr, false);
    bool focusGiven = sendToDialog(*dialog, WM_INITDIALOG, reinterpret_cast<WPARAM>(first), initParam) != FALSE;
    // As the dialog is shown and activated, a focus that the procedure did
    // not place goes to the first tab stop as well; with no control that can
    // take it, the dialog keeps it itself.
    if (focusGiven || !hasFocus(*dialog)) setFocusTo(*dialog, first ? first : handle);

    while (!dialog->ended) {
        if (s.exhausted) {
            dialog->ended = true;
            dialog->result = -1;
            break;
        }
        MSG message;
        if (!waitMessage(message)) {
            s.exhausted = true;
            for (HWND open : s.dialogs)
                if (Window *window = findWindow(open)) {
                    window->ended = true;
                    window->result = -1;
                }
            break;
        }
        if (message.message == WM_QUIT) {
            // Every modal loop ends on the way out; the message stays for the next one.
            PostQuitMessage(static_cast<int>(message.wParam));
            break;
        }
        if (!IsDialogMessageA(handle, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }

    sendToDialog(*dialog, WM_DESTROY, 0, 0);
    INT_PTR result = dialog->result;
    for (size_t i = 0; i < s.dialogs.size(); ++i)
        if (s.dialogs[i] == handle) {
            s.dialogs.erase(s.dialogs.begin() + static_cast<long>(i));
            break;
        }
    destroyWindow(handle);
    if (reenableOwner)
        if (Window *stillThere = findWindow(owner)) stillThere->enabled = true;
    redrawScreen();
    return result;
}

}  // namespace corvant::ui
