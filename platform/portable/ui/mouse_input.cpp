#include "platform/portable/ui/mouse_input.h"

#include "platform/portable/ui/dialog_manager.h"
#include "platform/portable/ui/edit_field.h"
#include "platform/portable/ui/layout.h"
#include "platform/portable/ui/list_box.h"

namespace corvant::ui {
namespace {

// Windows scrolls a list this many rows for each notch of the wheel.
constexpr int rowsPerNotch = 3;

HWND &captured() {
    static HWND window = nullptr;
    return window;
}

// The last press, for telling a double click.
struct Press {
    HWND window = nullptr;
    int column = -1, row = -1;
    DWORD time = 0;
    bool wasDouble = false;  // a third press starts anew
};
Press &lastPress() {
    static Press press;
    return press;
}

constexpr UINT doubleClickMilliseconds = 500;

Window *dialogOf(const Window &control) {
    Window *parent = findWindow(control.parent);
    return parent && parent->kind == WindowKind::Dialog ? parent : nullptr;
}

// The control drawn at a cell of the dialog's client area; labels and group
// boxes let clicks through to what lies below them, as on Windows.
Window *controlAt(const Window &dialog, int column, int row) {
    for (HWND child : dialog.children) {
        Window *control = findWindow(child);
        if (control && (control->style & WS_VISIBLE) && contains(mouseArea(*control), column, row)) return control;
    }
    return nullptr;
}

LPARAM cellParam(int column, int row) {
    return MAKELPARAM(static_cast<WORD>(static_cast<short>(column)), static_cast<WORD>(static_cast<short>(row)));
}

int columnOf(LPARAM lParam) { return static_cast<short>(LOWORD(lParam)); }
int rowOf(LPARAM lParam) { return static_cast<short>(HIWORD(lParam)); }

void takeFocus(Window &dialog, Window &control) {
    if (canTakeFocus(control)) dialog.focus = control.handle;
}

}  // namespace

bool isMouseMessage(UINT message) {
    return message == WM_LBUTTONDOWN || message == WM_LBUTTONUP || message == WM_LBUTTONDBLCLK ||
           message == WM_MOUSEWHEEL;
}

bool mouseMessageFor(const MouseEvent &event, int screenColumns, int screenRows, MSG &message) {
    Window *dialog = activeDialog();
    if (!dialog) return false;
    CellRect frame = dialogFrame(*dialog, screenColumns, screenRows);
    // The dialog's client cells.
    int column = event.column - frame.left - 1, row = event.row - frame.top - 1;
    message = MSG{};
    message.time = GetTickCount();
    message.pt = POINT{event.column, event.row};

    Window *target = nullptr;
    if (event.action == MouseAction::Release) target = findWindow(GetCapture());
    // A dialog opened since the press has ended the capture, as disabling its owner does on Windows.
    if (target && target->parent != dialog->handle) {
        ReleaseCapture();
        target = nullptr;
    }
    if (!target) {
        if (!contains(frame, event.column, event.row)) return false;
        target = controlAt(*dialog, column, row);
        if (!target) target = dialog;
    }
    message.hwnd = target->handle;
    switch (event.action) {
    case MouseAction::Press:
        message.message = WM_LBUTTONDOWN;
        message.wParam = MK_LBUTTON;
        break;
    case MouseAction::Release: message.message = WM_LBUTTONUP; break;
    case MouseAction::WheelUp:
    case MouseAction::WheelDown: {
        short delta = event.action == MouseAction::WheelUp ? WHEEL_DELTA : -WHEEL_DELTA;
        message.message = WM_MOUSEWHEEL;
        message.wParam = MAKEWPARAM(0, static_cast<WORD>(delta));
        message.lParam = cellParam(event.column, event.row);
        return true;
    }
    }
    if (target != dialog) {
        CellRect place = cellRect(*target);
        column -= place.left;
        row -= place.top;
    }
    message.lParam = cellParam(column, row);
    if (message.message == WM_LBUTTONDOWN) {
        Press &last = lastPress();
        bool isDouble = !last.wasDouble && last.window == message.hwnd && last.column == column && last.row == row &&
                        message.time - last.time <= GetDoubleClickTime();
        last = Press{message.hwnd, column, row, message.time, isDouble};
        if (isDouble) message.message = WM_LBUTTONDBLCLK;
    }
    return true;
}

LRESULT controlMouseMessage(Window &control, UINT message, WPARAM wParam, LPARAM lParam) {
    Window *dialog = dialogOf(control);
    if (!dialog || !control.enabled) return 0;
    switch (message) {
    case WM_LBUTTONDOWN:
        switch (control.kind) {
        case WindowKind::PushButton:
        case WindowKind::RadioButton:
        case WindowKind::CheckBox:
            takeFocus(*dialog, control);
            SetCapture(control.handle);
            break;
        case WindowKind::ListBox:
            // Its frame and scroll bars are no part of it that takes the focus.
            if (listBoxPress(control, columnOf(lParam), rowOf(lParam)) == ListPress::Entries) {
                takeFocus(*dialog, control);
                SetCapture(control.handle);
            }
            break;
        case WindowKind::Edit:
            takeFocus(*dialog, control);
            editFieldClick(control, columnOf(lParam));
            break;
        default: break;
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        switch (control.kind) {
        case WindowKind::ListBox: {
            // A double click on an entry tells the dialog at once; the release
            // that follows changes nothing (the dialog may have refilled the list).
            if (listBoxPress(control, columnOf(lParam), rowOf(lParam)) != ListPress::Entries) break;
            takeFocus(*dialog, control);
            const int index = control.topIndex + rowOf(lParam) - 1;
            if (index < static_cast<int>(control.items.size()) && (control.style & LBS_NOTIFY))
                sendToDialog(*dialog, WM_COMMAND, MAKEWPARAM(control.id, LBN_DBLCLK),
                             reinterpret_cast<LPARAM>(control.handle));
            break;
        }
        default:
            // Elsewhere the second press of a double click is a press.
            return controlMouseMessage(control, WM_LBUTTONDOWN, wParam, lParam);
        }
        return 0;
    case WM_LBUTTONUP: {
        // A button acts when the button that pressed it is released over it;
        // a list tells its dialog of the entry now highlighted.
        if (GetCapture() != control.handle) return 0;
        ReleaseCapture();
        if (control.kind == WindowKind::ListBox) {
            listBoxRelease(control, rowOf(lParam));
            if (!control.items.empty()) notifySelectionChange(control);
            return 0;
        }
        CellRect place = cellRect(control);
        if (contains(mouseArea(control), place.left + columnOf(lParam), place.top + rowOf(lParam)))
            clickControl(*dialog, control);
        return 0;
    }
    case WM_MOUSEWHEEL:
        if (control.kind == WindowKind::ListBox)
            listBoxScroll(control, -rowsPerNotch * GET_WHEEL_DELTA_WPARAM(wParam) / WHEEL_DELTA);
        return 0;
    default: return 0;
    }
}

void resetMouse() {
    captured() = nullptr;
    lastPress() = Press{};
}

}  // namespace corvant::ui

using namespace corvant::ui;

HWND WINAPI SetCapture(HWND window) {
    HWND previous = GetCapture();
    captured() = findWindow(window) ? window : nullptr;
    return previous;
}

BOOL WINAPI ReleaseCapture() {
    captured() = nullptr;
    return TRUE;
}

UINT WINAPI GetDoubleClickTime() { return doubleClickMilliseconds; }

HWND WINAPI GetCapture() { return findWindow(captured()) ? captured() : nullptr; }
