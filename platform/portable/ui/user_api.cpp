// The user32 functions of the dialog layer.
#include <algorithm>
#include <cstring>

#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/edit_field.h"
#include "platform/portable/ui/list_box.h"
#include "platform/portable/ui/mouse_input.h"
#include "platform/portable/user.h"

using namespace corvant::ui;

namespace {

const HMODULE programModule = reinterpret_cast<HMODULE>(static_cast<uintptr_t>(0x400000));

Window *dialogOf(const Window &control) {
    Window *parent = findWindow(control.parent);
    return parent && parent->kind == WindowKind::Dialog ? parent : nullptr;
}

}  // namespace

INT_PTR WINAPI DialogBoxParamA(HINSTANCE, LPCSTR templateName, HWND parent, DLGPROC dialogProc, LPARAM initParam) {
    DialogTemplate dialogTemplate;
    if (!loadDialogTemplate(templateName, dialogTemplate)) {
        SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
        return -1;
    }
    return runDialog(dialogTemplate, parent, dialogProc, initParam);
}

BOOL WINAPI EndDialog(HWND dialog, INT_PTR result) {
    Window *window = findWindow(dialog);
    if (!window || window->kind != WindowKind::Dialog) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    window->ended = true;
    window->result = result;
    return TRUE;
}

HWND WINAPI GetDlgItem(HWND dialog, int id) {
    Window *window = findWindow(dialog);
    Window *control = window ? findChild(*window, id) : nullptr;
    if (!control) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return nullptr;
    }
    return control->handle;
}

BOOL WINAPI EnableWindow(HWND handle, BOOL enable) {
    Window *window = findWindow(handle);
    if (!window) return FALSE;
    BOOL wasDisabled = !window->enabled;
    window->enabled = enable != FALSE;
    if (!window->enabled)
        if (Window *dialog = dialogOf(*window))
            if (dialog->focus == handle) dialog->focus = nullptr;
    return wasDisabled;
}

BOOL WINAPI IsWindowEnabled(HWND handle) {
    if (handle == desktopWindow()) return TRUE;
    Window *window = findWindow(handle);
    return window && window->enabled;
}

LRESULT WINAPI SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window *window = findWindow(handle);
    if (!window) return 0;
    if (isMouseMessage(message) && window->kind != WindowKind::Dialog)
        return controlMouseMessage(*window, message, wParam, lParam);
    switch (window->kind) {
    case WindowKind::ListBox: return listBoxMessage(*window, message, wParam, lParam);
    case WindowKind::RadioButton:
    case WindowKind::CheckBox:
        if (message == BM_GETCHECK) return window->check;
        if (message == BM_SETCHECK) {
            DWORD type = window->style & BS_TYPEMASK;
            WPARAM highest = (type == BS_3STATE || type == BS_AUTO3STATE) ? 2 : BST_CHECKED;
            window->check = static_cast<int>(wParam > highest ? highest : wParam);
            return 0;
        }
        return 0;
    case WindowKind::PushButton: return 0;
    case WindowKind::Dialog: return dialogMessage(*window, message, wParam, lParam);
    default: return 0;
    }
}

LRESULT WINAPI SendDlgItemMessageA(HWND dialog, int id, UINT message, WPARAM wParam, LPARAM lParam) {
    HWND control = GetDlgItem(dialog, id);
    return control ? SendMessageA(control, message, wParam, lParam) : 0;
}

HWND WINAPI GetDesktopWindow() { return desktopWindow(); }

BOOL WINAPI SetWindowTextA(HWND handle, LPCSTR text) {
    Window *window = findWindow(handle);
    if (!window) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    const char *shown = text ? text : "";
    if (window->kind == WindowKind::Dialog)
        return dialogMessage(*window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(shown)) ? TRUE : FALSE;
    if (window->kind == WindowKind::Edit)
        setFieldText(*window, shown);
    else
        window->text = shown;
    return TRUE;
}

int WINAPI GetWindowTextA(HWND handle, LPSTR buffer, int size) {
    Window *window = findWindow(handle);
    if (!window || !buffer || size <= 0) {
        if (!window) SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    const size_t copied = std::min(window->text.size(), static_cast<size_t>(size - 1));
    std::memcpy(buffer, window->text.data(), copied);
    buffer[copied] = '\0';
    return static_cast<int>(copied);
}

int WINAPI GetWindowTextLengthA(HWND handle) {
    Window *window = findWindow(handle);
    return window ? static_cast<int>(window->text.size()) : 0;
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND handle, int index, LONG_PTR value) {
    Window *window = findWindow(handle);
    if (!window || window->kind != WindowKind::Dialog || index != DWLP_MSGRESULT) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    LONG_PTR previous = window->messageResult;
    window->messageResult = value;
    return previous;
}

LONG_PTR WINAPI GetWindowLongPtrA(HWND handle, int index) {
    Window *window = findWindow(handle);
    if (!window || window->kind != WindowKind::Dialog || index != DWLP_MSGRESULT) {
        SetLastError(window ? ERROR_INVALID_PARAMETER : ERROR_INVALID_WINDOW_HANDLE);
        return 0;
    }
    return window->messageResult;
}

HCURSOR WINAPI LoadCursorA(HINSTANCE, LPCSTR name) {
    // Any cursor the program asks for; a terminal cannot show it anyway.
    return reinterpret_cast<HCURSOR>(reinterpret_cast<ULONG_PTR>(name) | 0x10000);
}

HCURSOR WINAPI SetCursor(HCURSOR cursor) {
    static HCURSOR current = nullptr;
    HCURSOR previous = current;
    current = cursor;
    return previous;
}

HMODULE WINAPI GetModuleHandleA(LPCSTR moduleName) {
    if (moduleName == nullptr) return programModule;
    SetLastError(126);  // ERROR_MOD_NOT_FOUND: the program is the only module
    return nullptr;
}

HWND WINAPI GetFocus() {
    const std::vector<HWND> &dialogs = openDialogs();
    if (dialogs.empty()) return nullptr;
    Window *dialog = findWindow(dialogs.back());
    return dialog ? dialog->focus : nullptr;
}

HWND WINAPI SetFocus(HWND handle) {
    HWND previous = GetFocus();
    Window *control = findWindow(handle);
    Window *dialog = control ? dialogOf(*control) : nullptr;
    if (!dialog || !canTakeFocus(*control)) return nullptr;
    dialog->focus = handle;
    return previous;
}

namespace corvant::ui {
void notifySelectionChange(Window &list) {
    if (!(list.style & LBS_NOTIFY)) return;
    if (Window *dialog = dialogOf(list))
        sendToDialog(*dialog, WM_COMMAND, MAKEWPARAM(list.id, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list.handle));
}
}  // namespace corvant::ui
