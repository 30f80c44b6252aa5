// PeekMessageA, PostMessageA and the rest of the message functions.
#include "platform/portable/ui/message_queue.h"

#include <deque>

#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/edit_field.h"
#include "platform/portable/ui/front_end.h"
#include "platform/portable/ui/list_box.h"
#include "platform/portable/ui/mouse_input.h"
#include "platform/portable/ui/screen_notice.h"
#include "platform/portable/ui/screen_painter.h"
#include "platform/portable/ui/scripted_front_end.h"

namespace corvant::ui {
namespace {

// A key message with the modifiers held when it was typed, or a mouse message.
struct QueuedInput {
    MSG message;
    bool shift;
};

struct QueueState {
    std::deque<MSG> posted;
    std::deque<QueuedInput> input;
    bool quitPosted = false;
    int quitCode = 0;
    // The modifiers of the last key message taken, as GetKeyState reports them.
    bool shiftDown = false;
    bool altDown = false;
};

QueueState &queue() {
    static QueueState instance;
    return instance;
}

struct VirtualKey {
    KeyCode code;
    WPARAM key;
};

const VirtualKey virtualKeys[] = {
    {KeyCode::Enter, VK_RETURN},  {KeyCode::Escape, VK_ESCAPE},  {KeyCode::Tab, VK_TAB},
    {KeyCode::BackTab, VK_TAB},   {KeyCode::Space, VK_SPACE},    {KeyCode::Up, VK_UP},
    {KeyCode::Down, VK_DOWN},     {KeyCode::Left, VK_LEFT},      {KeyCode::Right, VK_RIGHT},
    {KeyCode::Home, VK_HOME},     {KeyCode::End, VK_END},        {KeyCode::PageUp, VK_PRIOR},
    {KeyCode::PageDown, VK_NEXT}, {KeyCode::Backspace, VK_BACK}, {KeyCode::Delete, VK_DELETE},
};

constexpr LPARAM altFlag = static_cast<LPARAM>(KF_ALTDOWN) << 16;

bool isKeyMessage(UINT message) {
    return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_CHAR || message == WM_SYSCHAR;
}

// Routes a key as Windows does: to the control with the focus; while no
// control has it, to the active dialog, as a system key.
bool queueKey(const Key &key) {
    Window *dialog = activeDialog();
    if (!dialog) return false;
    Window *focus = findWindow(dialog->focus);
    const bool focused = focus && (focus == dialog || focus->parent == dialog->handle);
    // Pasted text goes into a field with the focus and nowhere else: its
    // letters are no mnemonics, its blanks press no button.
    if (key.pasted && !(focused && focus->kind == WindowKind::Edit)) return false;
    const bool system = key.alt || !focused;
    MSG message{};
    message.hwnd = focused ? focus->handle : dialog->handle;
    message.time = GetTickCount();
    if (key.code == KeyCode::Character) {
        message.message = system ? WM_SYSCHAR : WM_CHAR;
        message.wParam = static_cast<unsigned char>(key.character);
    } else {
        message.message = system ? WM_SYSKEYDOWN : WM_KEYDOWN;
        for (const VirtualKey &entry : virtualKeys)
            if (entry.code == key.code) message.wParam = entry.key;
    }
    if (key.alt) message.lParam |= altFlag;
    queue().input.push_back(QueuedInput{message, key.code == KeyCode::BackTab});
    return true;
}

bool isWithin(HWND window, HWND ancestor) {
    for (Window *w = findWindow(window); w; w = findWindow(w->parent))
        if (w->handle == ancestor) return true;
    return false;
}

bool matches(const MSG &message, HWND window, UINT first, UINT last) {
    if (window && !isWithin(message.hwnd, window)) return false;
    return (first == 0 && last == 0) || (message.message >= first && message.message <= last);
}

bool takePosted(MSG &message, HWND window, UINT first, UINT last, bool remove) {
    std::deque<MSG> &posted = queue().posted;
    for (auto it = posted.begin(); it != posted.end(); ++it)
        if (matches(*it, window, first, last)) {
            message = *it;
            if (remove) posted.erase(it);
            return true;
        }
    return false;
}

bool takeInput(MSG &message, HWND window, UINT first, UINT last, bool remove) {
    QueueState &q = queue();
    for (auto it = q.input.begin(); it != q.input.end(); ++it)
        if (matches(it->message, window, first, last)) {
            message = it->message;
            if (isKeyMessage(message.message)) {
                q.shiftDown = it->shift;
                q.altDown = (message.lParam & altFlag) != 0;
            }
            if (remove) q.input.erase(it);
            return true;
        }
    return false;
}

enum class Taken { Message, Nothing, Closed };

// Posted messages first, then WM_QUIT, then input. The screen is drawn
// before input is read, as Windows paints once the posted messages are done.
Taken take(MSG &message, HWND window, UINT first, UINT last, bool remove, bool wait) {
    QueueState &q = queue();
    if (takePosted(message, window, first, last, remove)) return Taken::Message;
    if (q.quitPosted && (!window && matches(MSG{nullptr, WM_QUIT, 0, 0, 0, {}}, nullptr, first, last))) {
        message = MSG{nullptr, WM_QUIT, static_cast<WPARAM>(q.quitCode), 0, GetTickCount(), {}};
        if (remove) q.quitPosted = false;
        return Taken::Message;
    }
    for (;;) {
        if (takeInput(message, window, first, last, remove)) return Taken::Message;
        FrontEnd *frontEnd = activeFrontEnd();
        if (!frontEnd) return wait ? Taken::Closed : Taken::Nothing;
        redrawScreen();
        InputEvent event;
        InputRead read = frontEnd->readInput(event, wait);
        if (read == InputRead::Nothing) return Taken::Nothing;
        if (read == InputRead::Closed) return Taken::Closed;
        // Input is not taken while the screen cannot show the dialogs.
        if (event.kind == InputKind::Resize || screenTooSmall(frontEnd->columns(), frontEnd->rows(), openDialogs()))
            continue;
        // A notice on the last row is read by the time the user acts again.
        clearScreenNotice();
        if (event.kind == InputKind::Key) {
            queueKey(event.key);
        } else {
            MSG mouse;
            if (mouseMessageFor(event.mouse, frontEnd->columns(), frontEnd->rows(), mouse))
                q.input.push_back(QueuedInput{mouse, false});
        }
    }
}

}  // namespace

bool waitMessage(MSG &message) { return take(message, nullptr, 0, 0, true, true) == Taken::Message; }

bool keyOfMessage(const MSG &message, Key &key) {
    if (!isKeyMessage(message.message)) return false;
    key = Key{};
    key.alt = (message.lParam & altFlag) != 0;
    if (message.message == WM_CHAR || message.message == WM_SYSCHAR) {
        key.code = KeyCode::Character;
        key.character = static_cast<char>(message.wParam);
        return true;
    }
    for (const VirtualKey &entry : virtualKeys)
        if (entry.key == message.wParam) {
            key.code = entry.code;
            if (entry.code == KeyCode::Tab && GetKeyState(VK_SHIFT) < 0) key.code = KeyCode::BackTab;
            return true;
        }
    return false;
}

void resetMessageQueue() {
    queue() = QueueState{};
    resetMouse();
}

}  // namespace corvant::ui

using namespace corvant::ui;

BOOL WINAPI PeekMessageA(LPMSG message, HWND window, UINT first, UINT last, UINT remove) {
    if (!message) return FALSE;
    return take(*message, window, first, last, (remove & PM_REMOVE) != 0, false) == Taken::Message;
}

BOOL WINAPI PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window && !findWindow(window)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    queue().posted.push_back(MSG{window, message, wParam, lParam, GetTickCount(), {}});
    return TRUE;
}

void WINAPI PostQuitMessage(int exitCode) {
    queue().quitPosted = true;
    queue().quitCode = exitCode;
}

// The key messages of this layer already carry their characters.
BOOL WINAPI TranslateMessage(const MSG *) { return FALSE; }

LRESULT WINAPI DispatchMessageA(const MSG *message) {
    if (!message) return 0;
    Window *window = findWindow(message->hwnd);
    if (!window) return 0;
    Key key;
    if (keyOfMessage(*message, key)) {
        // A control's own keys, without the dialog manager's.
        if (window->kind == WindowKind::ListBox)
            listBoxKey(*window, key);
        else if (window->kind == WindowKind::Edit)
            editFieldKey(*window, key);
        return 0;
    }
    return SendMessageA(message->hwnd, message->message, message->wParam, message->lParam);
}

BOOL WINAPI IsDialogMessageA(HWND dialog, LPMSG message) {
    Window *window = findWindow(dialog);
    if (!message || !window || window->kind != WindowKind::Dialog || !isWithin(message->hwnd, dialog)) return FALSE;
    Key key;
    if (keyOfMessage(*message, key))
        handleDialogKey(*window, key);
    else if (message->message != WM_KEYUP && message->message != WM_SYSKEYUP)
        DispatchMessageA(message);
    return TRUE;
}

SHORT WINAPI GetKeyState(int virtualKey) {
    const bool down = (virtualKey == VK_SHIFT && queue().shiftDown) || (virtualKey == VK_MENU && queue().altDown);
    return static_cast<SHORT>(down ? 0x8000 : 0);
}
